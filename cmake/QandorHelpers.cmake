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

# qandor_test(<name> SOURCES ... LIBS ... [DATABASE])
# A Qt Test executable. A DATABASE test is registered twice, once per
# backend: <name>_sqlite and <name>_postgres (the fixture reads
# QANDOR_TEST_BACKEND).
function(qandor_test name)
  cmake_parse_arguments(ARG "DATABASE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
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
