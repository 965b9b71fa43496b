#pragma once

#include "data/database.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace qandor {

// The record a catalogue editor works on: column name -> value. Texts are
// QString, dates QDate (null: no date), 定价 a Money, 种次号 an int and
// 图片 the JPEG bytes (empty: no picture).
using EditorRecord = QMap<QString, QVariant>;

namespace EditorRecords {

bool isDateColumn(const QString &column);
bool isMoneyColumn(const QString &column);
bool isIntColumn(const QString &column);
inline bool isPictureColumn(const QString &column) { return column == QStringLiteral("图片"); }

// The value of an empty field of that column.
QVariant emptyValue(const QString &column);
// A value read from the database, in the record's representation.
QVariant fromDb(const QString &column, const QVariant &value);
// The value to bind when writing the column (empty dates and pictures are NULL).
QVariant toDb(const QString &column, const QVariant &value);

// The columns of the current row of q (names matched without regard to case).
EditorRecord readRow(const QSqlQuery &q, const QStringList &columns);

QString text(const EditorRecord &r, const QString &column);

// The number `step` places after `number` when it is all digits, keeping
// its width ("00012" + 2 = "00014"); false for an empty or non-numeric text.
bool stepNumber(const QString &number, int step, QString &out);

} // namespace EditorRecords
} // namespace qandor
