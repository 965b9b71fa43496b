#pragma once

#include "data/tbast.h"

namespace qandor {

// The delivered empty database: every table and column the program uses,
// the built-in operator 超级用户 with every right, one SysParameter row
// with the defaults, and the indexes the desk and the lists rely on.
namespace Schema {

struct TableDef {
    const char *name;
    const char *columns; // column spec "name*type|..." (first column = primary key)
};

// Every table of the delivered database, in creation order.
const QList<TableDef> &tables();
// True when the database holds no table of the program (a new, empty file or server database).
bool isEmpty(Database &db);
// Lays the delivered schema and its first rows into an empty database,
// in one transaction. Throws DbError.
void createDelivered(TBast &bast);
// Unique and look-up indexes; safe to run again.
void createIndexes(Database &db);
// Creates those an older database lacks; a unique index over values that
// already repeat is made as a plain one. Returns how many were made.
int createMissingIndexes(Database &db);
// Drops those indexes again: a bulk load into empty tables builds them once
// afterwards instead of maintaining them row by row.
void dropIndexes(Database &db);

// The reader card texts of a new parameter row.
inline const QString DefaultCardTitle = QStringLiteral("借书证");
QString defaultCardBackInfor();

// The built-in operator and its default password.
inline const QString BuiltInUser = QStringLiteral("超级用户");
inline const QString DefaultPassword = QStringLiteral("52617");

} // namespace Schema
} // namespace qandor
