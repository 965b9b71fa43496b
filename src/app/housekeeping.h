#pragma once

#include "data/tbast.h"
#include "data/tiniio.h"

#include <QDate>
#include <functional>

namespace qandor {

class Hub;

// Progress of a long step: done of total rows; the return value asks to
// stop (false = keep going). Steps that must finish ignore the request.
using ProgressFn = std::function<bool(int done, int total, const QString &caption)>;

inline const QString UpgradeCaption = QStringLiteral("正在升级数据库，请稍后......");

// Brings an older database up to the current schema and converts the ISBN
// and ISSN columns; safe to run on every start. All of it is one
// transaction; the one-time ISBN conversion is remembered in set.ini
// (UPDATE/ISBN) after the commit. Throws DbError.
void UpgradeDatabase(TBast &bast, TIniIo &ini, const ProgressFn &progress = {});

// Expires reader cards whose term ended on or before `today` and prepaid
// readers with nothing left, then the open top-ups of expired prepaid
// readers. Returns the number of readers set to "过期".
int ExpireReaders(Database &db, const QDate &today);

// Reservations made before serverDate - 3 days become "失效"; a still
// reserved copy goes back on the shelf. Returns the number of reservations.
int ExpireReservations(Database &db, const QDate &serverDate);

// The overdue lists open after login when the parameters ask for them.
void ArmOverdueWarnings(Hub &hub);

// The file a backup made on `day` goes to.
QString exitBackupFile(const QString &backupPath, const QDate &day, bool server);

enum class BackupResult { Skipped, Done, Failed };

// The backup when the program ends (SYSPARAMETER/BACKUPONEXIT = 1): a
// consistent copy of the stand-alone file, or a dump of the server database
// when this machine is the server. Failures of the file copy are reported
// to the operator; a failed server dump is silent.
BackupResult BackupOnExit(Hub &hub, const QDate &today = QDate::currentDate());

} // namespace qandor
