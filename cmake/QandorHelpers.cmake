# Helpers shared by the subsystem libraries and the tests.

# qandor_library(<name> SOURCES ... LIBS ...)
# One static library per subsystem folder; its headers are included as
# "<folder>/<file>.h" from the src root.
function(qandor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src/pch.h)
endfunction()

# qandor_folder_library(<name> LIBS ... [EXCLUDE file ...])
# The library of one subsystem folder: every .cpp/.h in the folder (picked
# up automatically, so adding a file needs no edit here).
function(qandor_folder_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  if(srcs)
    file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    qandor_library(${name} SOURCES ${srcs} ${hdrs} LIBS ${ARG_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# qandor_test(<name> SOURCES ... LIBS ... [DATABASE])
# A Qt Test executable. A DATABASE test is registered twice, once per
# backend: <name>_sqlite and <name>_postgres (the fixture reads
# QANDOR_TEST_BACKEND).
function(qandor_test name)
  cmake_parse_arguments(ARG "DATABASE" "" "SOURCES;LIBS" ${ARGN})
  # Sources are named relative to the folder file that lists them.
  set(srcs)
  foreach(src ${ARG_SOURCES})
    if(IS_ABSOLUTE "${src}")
      list(APPEND srcs "${src}")
    else()
      list(APPEND srcs "${CMAKE_CURRENT_LIST_DIR}/${src}")
    endif()
  endforeach()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE qandor_testsupport ${ARG_LIBS} Qt6::Test)
  target_precompile_headers(${name} REUSE_FROM qandor_testsupport)
  set(env "QT_QPA_PLATFORM=offscreen" "ASAN_OPTIONS=detect_leaks=0" "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  if(ARG_DATABASE)
    add_test(NAME ${name}_sqlite COMMAND ${name})
    set_tests_properties(${name}_sqlite PROPERTIES ENVIRONMENT "${env};QANDOR_TEST_BACKEND=sqlite")
    add_test(NAME ${name}_postgres COMMAND ${name})
    set_tests_properties(${name}_postgres PROPERTIES ENVIRONMENT "${env};QANDOR_TEST_BACKEND=postgres")
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()
