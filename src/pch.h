// Precompiled header shared by the libraries: the heavy Qt headers every
// translation unit pulls in anyway.
#pragma once
#include <QtCore/QtCore>
#include <QtSql/QtSql>
#ifdef QT_WIDGETS_LIB
#include <QtWidgets/QtWidgets>
#endif
#include <memory>
#include <optional>
#include <stdexcept>
