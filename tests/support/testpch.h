#pragma once
// Shared by every test executable. Qt Test stays out: its headers read
// per-folder macros (QT_TESTCASE_BUILDDIR), which would make this
// precompiled header invalid for every test outside one folder.
#include <QtCore/QtCore>
#include <QtSql/QtSql>
#include <QtWidgets/QtWidgets>
#include <memory>
#include <optional>
