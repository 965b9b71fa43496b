#pragma once
// Shared by every test executable (all of them are made in one directory,
// so they are compiled with the same definitions as this header).
#include <QtCore/QtCore>
#include <QtSql/QtSql>
#include <QtWidgets/QtWidgets>
#include <memory>
#include <optional>
