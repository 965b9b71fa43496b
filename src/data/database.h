#pragma once

#include "data/dialect.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <memory>
#include <stdexcept>

namespace qandor {

// A database error with what the operator needs to read and what a
// developer needs to find it: where it happened, the statement and the
// database's own text.
class DbError : public std::runtime_error {
public:
    DbError(QString where, QString sql, QString driverText);
    const QString &where() const { return m_where; }
    const QString &sql() const { return m_sql; }
    const QString &driverText() const { return m_driverText; }
    // Short text for a message box, in the operator's language.
    QString userMessage() const;
    // Everything, for the box's details.
    QString details() const;

private:
    QString m_where, m_sql, m_driverText;
};

// Where the server database lives (the DF section of set.ini).
struct ServerParams {
    QString host;        // empty: the local socket
    int port = 0;        // 0: the server's default
    QString user;        // empty: the operating system user
    QString password;    // used as written, never trimmed
    QString database = QStringLiteral("dbdat");
    QString options;     // extra connect options for the driver
};

// One connection to one database, with its dialect. Values always travel
// as bound parameters ('?' placeholders); errors are thrown as DbError.
class Database {
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens (creating when missing) the stand-alone database file.
    static std::unique_ptr<Database> openFile(const QString &path, QString *error);
    static std::unique_ptr<Database> openServer(const ServerParams &params, QString *error);

    const Dialect &dialect() const { return m_dialect; }
    DbKind kind() const { return m_dialect.kind(); }
    bool isServer() const { return m_dialect.isServer(); }
    QSqlDatabase connection() const;
    QString connectionName() const { return m_name; }

    // Runs a statement; returns the active query positioned before the first row.
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {}, const char *where = nullptr);
    // Runs a statement and returns the number of rows it changed.
    int execAffected(const QString &sql, const QVariantList &binds = {}, const char *where = nullptr);
    // First column of the first row, or an invalid QVariant when no row.
    QVariant scalar(const QString &sql, const QVariantList &binds = {}, const char *where = nullptr);
    // Inserts one row and returns the new identity value of column idColumn.
    qint64 insertReturningId(const QString &insertSql, const QVariantList &binds,
                             const QString &idColumn = QStringLiteral("id"));
    // Prepares a statement for repeated execution (see execPrepared).
    QSqlQuery prepare(const QString &sql, const char *where = nullptr);
    void execPrepared(QSqlQuery &query, const QVariantList &binds, const char *where = nullptr);

    // Table and column names as the database reports them.
    QStringList tables() const;
    QStringList columns(const QString &table) const;
    bool hasTable(const QString &table) const;
    // Names of the indexes of the database, in lower case.
    QSet<QString> indexNames();

    // A value ready for binding: dates as ISO text on the file, money as
    // the column representation, booleans as the kind's own.
    QVariant toBind(const QVariant &value) const;

    // Transactions nest: only the outermost begin/commit reach the database.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_txDepth > 0; }

private:
    Database(const QString &name, DbKind kind);
    void bindAll(QSqlQuery &q, const QVariantList &binds) const;

    QString m_name;
    Dialect m_dialect;
    int m_txDepth = 0;
    bool m_rollbackOnly = false;
};

// Rolls back unless commit() is called: every desk action that writes
// several rows holds one of these.
class Transaction {
public:
    explicit Transaction(Database &db) : m_db(db) { m_db.begin(); }
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Database &m_db;
    bool m_done = false;
};

// Reading helpers that accept what either kind returns.
QDate toDate(const QVariant &v);
QDateTime toDateTime(const QVariant &v);
bool toBool(const QVariant &v);

} // namespace qandor
