#pragma once

#include "data/database.h"

#include <QByteArray>
#include <QString>

class QTreeWidget;

namespace qandor {

// Catalogue services the hub offers every screen. They live below the
// program layer so the catalogue editors can use them; the hub's service
// header includes this one.

// The serial (种次号) and call number (索书号) of a new copy: copies of one
// title, class and ISBN share the call number; a new title gets the next
// serial of its class.
void MakeCallNumber(Database &db, const QString &classCode, const QString &title, int &serial, QString &callNumber,
                    const QString &isbn);

// A 10- or 13-digit ISBN as 13 digits with its check digit recomputed;
// the text unchanged when a kept character is not a digit.
QString IsbnTo13(const QString &text);

// True when the text (hyphens and blanks ignored) is a 10-digit ISBN whose
// last character (0-9 or X) checks, or a 13-digit one whose last digit checks.
bool IsbnChecks(const QString &text);

// Class tree node texts are "code-name".
QString treeCodeOf(const QString &nodeText);
bool splitTreeText(const QString &nodeText, QString &code, QString &name);
QString GetTreeCode(const QTreeWidget *tree);
void GetTreeCodeAndName(const QTreeWidget *tree, QString &code, QString &name);

// The class tree cache (BFA.dat): node texts depth first, one TAB per level
// below the top, CRLF line ends, in the Chinese code page.
QByteArray classTreeBytes(const QTreeWidget *tree);
void classTreeFromBytes(QTreeWidget *tree, const QByteArray &bytes);
bool SaveClassTree(const QTreeWidget *tree, const QString &treeFile);
bool LoadClassTree(QTreeWidget *tree, const QString &treeFile);

} // namespace qandor
