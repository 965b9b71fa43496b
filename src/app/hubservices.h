#pragma once

#include "app/sysparams.h"
#include "catalogue/catalogueservices.h"
#include "data/database.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class QLabel;
class QTableView;
class QTreeWidget;
class QWidget;

namespace qandor {

// Small services every screen reaches through the hub. They take what they
// need (the database, a widget) so tests call them without a hub or a screen.
// Database errors propagate to the caller.

// The SysParameter row, or the defaults when the table has none.
void LoadSysParameter(Database &db, SysParams &params);

// Open loans ("未还") of a reader.
int BookLoanCount(Database &db, const QString &readerNum);
int MagazineLoanCount(Database &db, const QString &readerNum);

// Who holds a copy: true and the reader number when an open loan exists.
bool BookHolder(Database &db, const QString &bookNum, QString &readerNum);
bool MagazineHolder(Database &db, const QString &magazineNum, QString &readerNum);

// The stored photo (JPEG bytes) of a reader; nothing when the reader does
// not exist. Showing it is the caller's business.
std::optional<QByteArray> LoadReaderPhoto(Database &db, const QString &readerNum);

// The 包租 flag of a reader type; false when there is no such type.
bool IsRentalType(Database &db, const QString &typeName);

// The date moved forward by that many calendar months, plus one day.
QDate MonthsLater(int months, const QDate &date);

// "'" replaced by the full-width "’" (texts taken from web pages).
QString EscapeQuotes(const QString &text);

// "yyyy年MM月dd日 hh时mm分".
QString nowText(const QDateTime &now);
void ShowNow(QLabel *label);

// Font colour of a status cell: by the position of the text in the
// comma-separated word list (green, blue, red, maroon), black when absent.
QColor ColorByStatus(const QString &text, const QString &wordList);

// The look every list grid shares.
inline const QColor OddRowColor{238, 251, 244};
void StyleGrid(QTableView *grid);

// Label at the left, controls from the right edge leftwards, 10 pixels apart.
void ArrangeToolPanel(QWidget *panel, QWidget *label, const QList<QWidget *> &controls);

// "第 n 条记录(共 m 条)": current n and total m; a missing or unreadable
// number counts as 1.
void ParseRecordPosition(const QString &text, int &total, int &current);

// The card reader: there is no device; always the fixed number.
bool ReadCard(QString &cardNumber);

// The server's date and time, or the local date when the database has no
// clock of its own or asking fails.
QDateTime ServerDate(Database &db);

} // namespace qandor
