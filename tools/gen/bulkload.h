#pragma once

#include "data/database.h"

#include <QStringList>
#include <QVariantList>
#include <memory>

namespace qandor::gen {

// Appends rows to one table as fast as the database takes them, inside the
// caller's transaction. It talks to the open connection's own handle:
// SQLite through one prepared single-row insert stepped per row, PostgreSQL
// through COPY ... FROM STDIN fed in large blocks. Values are the ones
// Database binds (text, numbers, dates, Money, bool, NULL), converted the
// same way, so the rows read back exactly as bound inserts would.
class BulkLoad {
public:
    virtual ~BulkLoad() = default;

    static std::unique_ptr<BulkLoad> open(Database &db, const QString &table, const QStringList &columns);

    // Throws DbError when the database refuses a row (on PostgreSQL at the
    // next block sent, at the latest in finish()).
    virtual void add(const QVariantList &row) = 0;
    // Sends what is still held; the rows are then visible to queries on the
    // same connection.
    virtual void finish() = 0;

    qint64 rows() const { return m_rows; }

protected:
    qint64 m_rows = 0;
};

} // namespace qandor::gen
