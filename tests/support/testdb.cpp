#include "support/testdb.h"
#include "data/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>

namespace qandor::test {

namespace {
QAtomicInt g_counter;
}

bool TestDb::wantsServer()
{
    return qEnvironmentVariable("QANDOR_TEST_BACKEND") == QLatin1String("postgres");
}

bool TestDb::serverConfigured()
{
    return !qEnvironmentVariable("QANDOR_TEST_PGDATABASE").isEmpty();
}

ServerParams TestDb::serverParams()
{
    ServerParams p;
    p.host = qEnvironmentVariable("QANDOR_TEST_PGHOST");
    p.port = qEnvironmentVariableIntValue("QANDOR_TEST_PGPORT");
    p.user = qEnvironmentVariable("QANDOR_TEST_PGUSER");
    p.database = qEnvironmentVariable("QANDOR_TEST_PGDATABASE");
    return p;
}

TestDb::TestDb() : m_bast(nullptr, &sink)
{
    m_server = wantsServer();
    if (m_server) {
        if (!serverConfigured()) {
            m_error = QStringLiteral("未配置测试用 PostgreSQL（QANDOR_TEST_PGDATABASE）");
            m_skip = qEnvironmentVariable("QANDOR_REQUIRE_PG") != QLatin1String("1");
            return;
        }
        auto db = Database::openServer(serverParams(), &m_error);
        if (!db)
            return;
        m_schema = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(g_counter.fetchAndAddRelaxed(1));
        try {
            db->exec(QStringLiteral("drop schema if exists ") + m_schema + QStringLiteral(" cascade"));
            db->exec(QStringLiteral("create schema ") + m_schema);
            db->exec(QStringLiteral("set search_path to ") + m_schema);
        } catch (const DbError &e) {
            m_error = QString::fromUtf8(e.what());
            return;
        }
        m_db = std::move(db);
    } else {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("无法建立临时目录");
            return;
        }
        m_file = m_dir.filePath(QStringLiteral("db.dat"));
        m_db = Database::openFile(m_file, &m_error);
    }
    m_bast.setDatabase(m_db.get());
}

TestDb::~TestDb()
{
    m_bast.setDatabase(nullptr);
    if (m_db && m_server && !m_schema.isEmpty()) {
        try {
            if (m_db->inTransaction())
                m_db->rollback();
            m_db->exec(QStringLiteral("drop schema if exists ") + m_schema + QStringLiteral(" cascade"));
        } catch (const DbError &) {
        }
    }
    m_db.reset();
}

void TestDb::createDelivered()
{
    Schema::createDelivered(m_bast);
}

std::unique_ptr<Database> TestDb::openSecondConnection()
{
    QString err;
    if (m_server) {
        auto db = Database::openServer(serverParams(), &err);
        if (db)
            db->exec(QStringLiteral("set search_path to ") + m_schema);
        return db;
    }
    return Database::openFile(m_file, &err);
}

} // namespace qandor::test
