#pragma once

#include <QByteArray>
#include <QString>

namespace qandor {

// The Chinese code page of the files the program shares with the world
// outside the database (set.ini, the class-tree cache, MARC files).
// Encoding uses GB18030, which writes every GBK character exactly as GBK
// does and can still write the rare character GBK lacks instead of losing it.
QString fromGbk(const QByteArray &bytes);
QByteArray toGbk(const QString &text);

} // namespace qandor
