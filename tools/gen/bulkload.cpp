#include "gen/bulkload.h"

#include <QSqlDriver>
#include <algorithm>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace qandor::gen {

namespace {

// The native handle behind the Qt connection, checked by its type name so a
// driver of another kind is never mistaken for this one.
template<typename Handle>
Handle *nativeHandle(Database &db, std::initializer_list<const char *> typeNames)
{
    const QVariant v = db.connection().driver()->handle();
    const bool known = v.isValid()
        && std::any_of(typeNames.begin(), typeNames.end(), [&](const char *n) { return qstrcmp(v.typeName(), n) == 0; });
    if (!known)
        throw DbError(QStringLiteral("BulkLoad"), QString(), QStringLiteral("数据库驱动未提供连接句柄 (%1)").arg(QString::fromLatin1(v.typeName())));
    Handle *h = *static_cast<Handle *const *>(v.constData());
    if (!h)
        throw DbError(QStringLiteral("BulkLoad"), QString(), QStringLiteral("数据库连接未打开"));
    return h;
}

bool isWholeNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Char:
        return true;
    default:
        return false;
    }
}

QString insertSql(const QString &table, const QStringList &columns)
{
    QString marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks += i ? QStringLiteral(",?") : QStringLiteral("?");
    return QStringLiteral("insert into ") + table + QStringLiteral(" (") + columns.join(QLatin1Char(','))
        + QStringLiteral(") values (") + marks + QLatin1Char(')');
}

class SqliteLoad final : public BulkLoad {
public:
    SqliteLoad(Database &db, const QString &table, const QStringList &columns)
        : m_db(db), m_columns(int(columns.size())), m_sql(insertSql(table, columns))
    {
        m_handle = nativeHandle<sqlite3>(db, {"sqlite3*"});
        const QByteArray sql = m_sql.toUtf8();
        if (sqlite3_prepare_v2(m_handle, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~SqliteLoad() override { sqlite3_finalize(m_stmt); }

    void add(const QVariantList &row) override
    {
        Q_ASSERT(row.size() == m_columns);
        for (int i = 0; i < m_columns; ++i)
            bind(i + 1, m_db.toBind(row.at(i)));
        if (sqlite3_step(m_stmt) != SQLITE_DONE) {
            sqlite3_reset(m_stmt);
            fail();
        }
        sqlite3_reset(m_stmt);
        ++m_rows;
    }

    void finish() override {}

private:
    void bind(int i, const QVariant &v)
    {
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = v.typeId() == QMetaType::QString ? sqlite3_bind_text(m_stmt, i, "", 0, SQLITE_STATIC)
                                                  : sqlite3_bind_null(m_stmt, i);
        } else if (isWholeNumber(v)) {
            rc = sqlite3_bind_int64(m_stmt, i, v.toLongLong());
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool: rc = sqlite3_bind_int(m_stmt, i, v.toBool() ? 1 : 0); break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, i, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob64(m_stmt, i, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString s = v.toString();
                rc = sqlite3_bind_text16(m_stmt, i, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            fail();
    }

    [[noreturn]] void fail()
    {
        throw DbError(QStringLiteral("BulkLoad"), m_sql, QString::fromUtf8(sqlite3_errmsg(m_handle)));
    }

    Database &m_db;
    int m_columns;
    QString m_sql;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

// COPY text format: one line a row, columns separated by TAB, NULL as \N,
// backslash, TAB, CR and LF escaped. Rows are gathered into blocks; each
// block is one COPY statement, so several tables can be filled side by side
// on one connection (only one COPY may be open on it at a time).
class PostgresCopy final : public BulkLoad {
public:
    static constexpr qsizetype BlockBytes = 8 * 1024 * 1024;

    PostgresCopy(Database &db, const QString &table, const QStringList &columns)
        : m_db(db), m_columns(int(columns.size()))
    {
        m_handle = nativeHandle<PGconn>(db, {"PGconn*", "pg_conn*"});
        m_copySql = QStringLiteral("copy ") + table + QStringLiteral(" (") + columns.join(QLatin1Char(','))
            + QStringLiteral(") from stdin");
        m_block.reserve(BlockBytes + 64 * 1024);
    }

    void add(const QVariantList &row) override
    {
        Q_ASSERT(row.size() == m_columns);
        for (int i = 0; i < m_columns; ++i) {
            if (i)
                m_block += '\t';
            append(m_db.toBind(row.at(i)));
        }
        m_block += '\n';
        ++m_held;
        ++m_rows;
        if (m_block.size() >= BlockBytes)
            send();
    }

    void finish() override
    {
        if (m_held)
            send();
    }

private:
    void append(const QVariant &v)
    {
        if (v.isNull() && v.typeId() != QMetaType::QString) {
            m_block += "\\N";
            return;
        }
        if (isWholeNumber(v)) {
            m_block += QByteArray::number(v.toLongLong());
            return;
        }
        switch (v.typeId()) {
        case QMetaType::Bool: m_block += v.toBool() ? 't' : 'f'; return;
        case QMetaType::QDate: m_block += v.toDate().toString(Qt::ISODate).toLatin1(); return;
        case QMetaType::QDateTime:
            m_block += v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1();
            return;
        case QMetaType::QByteArray: {
            // bytea hex form; its backslash doubled for the COPY text format.
            m_block += "\\\\x";
            m_block += v.toByteArray().toHex();
            return;
        }
        default: break;
        }
        const QByteArray text = v.toString().toUtf8();
        for (const char c : text) {
            switch (c) {
            case '\\': m_block += "\\\\"; break;
            case '\t': m_block += "\\t"; break;
            case '\n': m_block += "\\n"; break;
            case '\r': m_block += "\\r"; break;
            default: m_block += c;
            }
        }
    }

    void send()
    {
        const QByteArray sql = m_copySql.toUtf8();
        PGresult *res = PQexec(m_handle, sql.constData());
        const bool started = PQresultStatus(res) == PGRES_COPY_IN;
        PQclear(res);
        if (!started)
            fail();
        const bool sent = PQputCopyData(m_handle, m_block.constData(), int(m_block.size())) == 1;
        if (PQputCopyEnd(m_handle, sent ? nullptr : "BulkLoad") != 1)
            fail();
        bool ok = sent;
        QString error;
        while (PGresult *r = PQgetResult(m_handle)) {
            if (PQresultStatus(r) != PGRES_COMMAND_OK) {
                ok = false;
                error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
            }
            PQclear(r);
        }
        if (!ok)
            throw DbError(QStringLiteral("BulkLoad"), m_copySql, error.isEmpty() ? lastError() : error);
        m_held = 0;
        m_block.clear();
    }

    QString lastError() const { return QString::fromUtf8(PQerrorMessage(m_handle)).trimmed(); }
    [[noreturn]] void fail() { throw DbError(QStringLiteral("BulkLoad"), m_copySql, lastError()); }

    Database &m_db;
    int m_columns;
    QString m_copySql;
    PGconn *m_handle = nullptr;
    QByteArray m_block;
    qint64 m_held = 0;
};

} // namespace

std::unique_ptr<BulkLoad> BulkLoad::open(Database &db, const QString &table, const QStringList &columns)
{
    if (db.isServer())
        return std::make_unique<PostgresCopy>(db, table, columns);
    return std::make_unique<SqliteLoad>(db, table, columns);
}

} // namespace qandor::gen
