#include "data/database.h"
#include "data/money.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

namespace qandor {

namespace {
QAtomicInt g_connectionCounter;

QString newConnectionName()
{
    return QStringLiteral("qandor-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError &e)
{
    QString t = e.databaseText().trimmed();
    const QString d = e.driverText().trimmed();
    if (t.isEmpty())
        return d;
    if (!d.isEmpty() && !t.contains(d))
        t += QStringLiteral(" (") + d + QLatin1Char(')');
    return t;
}
} // namespace

DbError::DbError(QString where, QString sql, QString driverText)
    : std::runtime_error(QString(where + QStringLiteral(": ") + driverText + QStringLiteral(" [") + sql + QLatin1Char(']')).toStdString())
    , m_where(std::move(where)), m_sql(std::move(sql)), m_driverText(std::move(driverText))
{
}

QString DbError::userMessage() const
{
    return QStringLiteral("数据库操作失败：") + m_driverText;
}

QString DbError::details() const
{
    return QStringLiteral("位置：") + m_where + QStringLiteral("\nSQL：") + m_sql + QStringLiteral("\n错误：") + m_driverText;
}

Database::Database(const QString &name, DbKind kind) : m_name(name), m_dialect(kind) {}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            if (m_txDepth > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
}

std::unique_ptr<Database> Database::openFile(const QString &path, QString *error)
{
    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open()) {
            if (error)
                *error = errorText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return nullptr;
        }
    }
    std::unique_ptr<Database> d(new Database(name, DbKind::SqliteFile));
    try {
        // WAL lets a backup or a second reader run beside the desk; NORMAL
        // sync is still safe against a crash of the program in WAL mode.
        d->exec(QStringLiteral("pragma journal_mode=wal"));
        d->exec(QStringLiteral("pragma synchronous=normal"));
        d->exec(QStringLiteral("pragma foreign_keys=off"));
        // A file that is not a database fails here rather than later.
        d->exec(QStringLiteral("select count(*) from sqlite_master"));
    } catch (const DbError &e) {
        if (error)
            *error = e.driverText();
        return nullptr;
    }
    return d;
}

std::unique_ptr<Database> Database::openServer(const ServerParams &p, QString *error)
{
    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(p.database);
        if (!p.host.isEmpty())
            db.setHostName(p.host);
        if (p.port > 0)
            db.setPort(p.port);
        if (!p.user.isEmpty())
            db.setUserName(p.user);
        if (!p.password.isEmpty())
            db.setPassword(p.password);
        QString opts = QStringLiteral("connect_timeout=10");
        if (!p.options.isEmpty())
            opts += QLatin1Char(';') + p.options;
        db.setConnectOptions(opts);
        if (!db.open()) {
            if (error)
                *error = errorText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return nullptr;
        }
    }
    std::unique_ptr<Database> d(new Database(name, DbKind::PostgresServer));
    try {
        d->exec(QStringLiteral("set client_min_messages to warning"));
        d->exec(QStringLiteral("set datestyle to iso, ymd"));
    } catch (const DbError &e) {
        if (error)
            *error = e.driverText();
        return nullptr;
    }
    return d;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

QVariant Database::toBind(const QVariant &value) const
{
    if (!value.isValid())
        return value;
    const int type = value.typeId();
    if (type == qMetaTypeId<Money>())
        return value.value<Money>().toDbValue(isServer());
    if (type == QMetaType::QString)
        // A text field left empty is an empty text, not NULL; NULL is bound as QVariant().
        return value.toString().isNull() ? QVariant(QStringLiteral("")) : value;
    if (value.isNull())
        return value;
    switch (type) {
    case QMetaType::QDate:
        if (!isServer())
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        return value;
    case QMetaType::QDateTime:
        if (!isServer()) {
            const QDateTime dt = value.toDateTime();
            if (dt.time() == QTime(0, 0))
                return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
            return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        }
        return value;
    case QMetaType::Bool:
        if (!isServer())
            return value.toBool() ? 1 : 0;
        return value;
    default:
        return value;
    }
}

void Database::bindAll(QSqlQuery &q, const QVariantList &binds) const
{
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, toBind(binds.at(i)));
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds, const char *where)
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    const QString w = where ? QString::fromUtf8(where) : QStringLiteral("Database::exec");
    if (binds.isEmpty()) {
        if (!q.exec(sql))
            throw DbError(w, sql, errorText(q.lastError()));
        return q;
    }
    if (!q.prepare(sql))
        throw DbError(w, sql, errorText(q.lastError()));
    bindAll(q, binds);
    if (!q.exec())
        throw DbError(w, sql, errorText(q.lastError()));
    return q;
}

int Database::execAffected(const QString &sql, const QVariantList &binds, const char *where)
{
    QSqlQuery q = exec(sql, binds, where);
    return q.numRowsAffected();
}

QVariant Database::scalar(const QString &sql, const QVariantList &binds, const char *where)
{
    QSqlQuery q = exec(sql, binds, where);
    if (q.next())
        return q.value(0);
    return {};
}

qint64 Database::insertReturningId(const QString &insertSql, const QVariantList &binds, const QString &idColumn)
{
    if (isServer()) {
        QSqlQuery q = exec(insertSql + QStringLiteral(" returning ") + idColumn, binds, "Database::insertReturningId");
        if (!q.next())
            throw DbError(QStringLiteral("Database::insertReturningId"), insertSql, QStringLiteral("没有返回新记录的编号"));
        return q.value(0).toLongLong();
    }
    QSqlQuery q = exec(insertSql, binds, "Database::insertReturningId");
    return q.lastInsertId().toLongLong();
}

QSqlQuery Database::prepare(const QString &sql, const char *where)
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(where ? QString::fromUtf8(where) : QStringLiteral("Database::prepare"), sql, errorText(q.lastError()));
    return q;
}

void Database::execPrepared(QSqlQuery &q, const QVariantList &binds, const char *where)
{
    bindAll(q, binds);
    if (!q.exec())
        throw DbError(where ? QString::fromUtf8(where) : QStringLiteral("Database::execPrepared"), q.lastQuery(), errorText(q.lastError()));
}

QStringList Database::tables() const
{
    if (isServer()) {
        // Only the tables visible on the search path (the first schema
        // holding the name), as an unqualified name would find them.
        QSqlQuery q(connection());
        if (!q.exec(QStringLiteral(
                "select c.relname from pg_class c join pg_namespace n on n.oid=c.relnamespace "
                "where c.relkind in ('r','p','v') and n.nspname = any (current_schemas(false)) order by 1")))
            throw DbError(QStringLiteral("Database::tables"), q.lastQuery(), errorText(q.lastError()));
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    return connection().tables(QSql::Tables);
}

QStringList Database::columns(const QString &table) const
{
    QSqlQuery q(connection());
    const QString sql = QStringLiteral("select * from ") + table.trimmed() + QStringLiteral(" where 1=0");
    if (!q.exec(sql))
        throw DbError(QStringLiteral("Database::columns"), sql, errorText(q.lastError()));
    const QSqlRecord r = q.record();
    QStringList out;
    for (int i = 0; i < r.count(); ++i)
        out << r.fieldName(i);
    return out;
}

bool Database::hasTable(const QString &table) const
{
    const QString t = table.trimmed();
    const QStringList all = tables();
    for (const QString &n : all)
        if (n.compare(t, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QSet<QString> Database::indexNames()
{
    QSet<QString> names;
    QSqlQuery q = exec(m_dialect.indexNamesQuery(), {}, "Database::indexNames");
    while (q.next())
        names.insert(q.value(0).toString().toLower());
    return names;
}

void Database::begin()
{
    if (m_txDepth++ > 0)
        return;
    m_rollbackOnly = false;
    QSqlDatabase db = connection();
    if (!db.transaction()) {
        m_txDepth = 0;
        throw DbError(QStringLiteral("Database::begin"), QStringLiteral("begin"), errorText(db.lastError()));
    }
}

void Database::commit()
{
    if (m_txDepth <= 0)
        return;
    if (--m_txDepth > 0)
        return;
    QSqlDatabase db = connection();
    if (m_rollbackOnly) {
        db.rollback();
        m_rollbackOnly = false;
        throw DbError(QStringLiteral("Database::commit"), QStringLiteral("commit"), QStringLiteral("内层操作失败，整个事务已撤销"));
    }
    if (!db.commit()) {
        const QString err = errorText(db.lastError());
        db.rollback();
        throw DbError(QStringLiteral("Database::commit"), QStringLiteral("commit"), err);
    }
}

void Database::rollback()
{
    if (m_txDepth <= 0)
        return;
    if (--m_txDepth > 0) {
        // An inner failure dooms the whole transaction.
        m_rollbackOnly = true;
        return;
    }
    m_rollbackOnly = false;
    connection().rollback();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

QDate toDate(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate();
    case QMetaType::QDateTime: return v.toDateTime().date();
    default: break;
    }
    const QString s = v.toString().trimmed();
    return QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
}

QDateTime toDateTime(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().startOfDay();
    case QMetaType::QDateTime: return v.toDateTime();
    default: break;
    }
    const QString s = v.toString().trimmed();
    if (s.size() <= 10)
        return QDate::fromString(s, QStringLiteral("yyyy-MM-dd")).startOfDay();
    QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODate);
    return dt;
}

bool toBool(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("1") || s == QLatin1String("true") || s == QLatin1String("t") || s == QLatin1String("-1");
    }
    return v.toBool();
}

} // namespace qandor
