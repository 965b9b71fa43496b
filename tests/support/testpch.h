#pragma once
#include <QtCore/QtCore>
#include <QtSql/QtSql>
#include <QtWidgets/QtWidgets>
#include <QtTest/QtTest>
#include <memory>
#include <optional>
