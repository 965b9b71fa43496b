#pragma once

#include "data/tbast.h"

#include <QString>
#include <QVariant>
#include <functional>

namespace qandor::ReaderRows {

// Loans not yet returned (books and magazines) whose `column` equals value.
int openLoans(Database &db, const QString &column, const QVariant &value, const char *where);

// Deletes exactly one row in one transaction, after `allowed` (run inside
// it, showing its own refusal) agreed. When the delete touches no row the
// operator sees `goneMessage`; database errors are shown. True when deleted.
bool removeOne(TBast &bast, const QString &deleteSql, const QVariantList &values, const char *where,
               const QString &goneMessage, const std::function<bool(Database &)> &allowed);

} // namespace qandor::ReaderRows
