#include "app/hub.h"
#include "data/gbk.h"
#include "data/schema.h"
#include "support/recordingsink.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestHub : public QObject {
    Q_OBJECT
private slots:
    void init();
    void appPathFromEnvironment();
    void missingIniRaises();
    void firstRunShowsMessageAndResets();
    void fileKindCreatesDeliveredDatabase();
    void dataObjectSelection_data();
    void dataObjectSelection();
    void serverParams_data();
    void serverParams();
    void backupPath_data();
    void backupPath();
    void failedConnection();
    void serverKindLaysSchemaIntoEmptyDatabase();

private:
    QString writeIni(const QString &text);
    QTemporaryDir m_dir;
    QString m_app;
};

void TestHub::init()
{
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path() + QStringLiteral("/database"));
    m_app = m_dir.path() + QLatin1Char('/');
}

QString TestHub::writeIni(const QString &text)
{
    const QString path = m_app + QStringLiteral("database/set.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(toGbk(text));
    return path;
}

void TestHub::appPathFromEnvironment()
{
    qputenv("QANDOR_HOME", m_dir.path().toUtf8());
    QCOMPARE(Hub::resolveAppPath(QStringLiteral("/somewhere/else")), m_app);
    qunsetenv("QANDOR_HOME");
    QCOMPARE(Hub::resolveAppPath(QStringLiteral("/opt/qandor")), QStringLiteral("/opt/qandor/"));
}

void TestHub::missingIniRaises()
{
    RecordingSink sink;
    Hub hub(&sink);
    try {
        hub.start(m_app);
        QFAIL("no error");
    } catch (const IniError &e) {
        QCOMPARE(e.message(), QStringLiteral("INI文件不存在,请先指定要访问的INI文件"));
    }
}

void TestHub::firstRunShowsMessageAndResets()
{
    const QString path = writeIni(QStringLiteral("[DF]\r\nISFIRSTRUN=1\r\nDATAOBJECT=ACCESS\r\n"));
    RecordingSink sink;
    Hub hub(&sink);
    QCOMPARE(hub.start(m_app), StartOutcome::FirstRun);
    QCOMPARE(sink.texts(), QStringList{QStringLiteral("您是第一次运行本系统，或者以前的配制信息丢失，或者要重新配制系统！")});
    QVERIFY(!TIniIo(path).ReadBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN")));
    QVERIFY(!hub.db());
    QVERIFY(!QFile::exists(m_app + QStringLiteral("database/db.dat")));
}

void TestHub::fileKindCreatesDeliveredDatabase()
{
    writeIni(QStringLiteral("[DF]\r\nISFIRSTRUN=0\r\nDATAOBJECT= ACCESS \r\nPORT=SINGLE\r\n"));
    {
        RecordingSink sink;
        Hub hub(&sink);
        QCOMPARE(hub.start(m_app), StartOutcome::Ready);
        QVERIFY(sink.entries.isEmpty());
        QVERIFY(hub.db());
        QCOMPARE(hub.db()->kind(), DbKind::SqliteFile);
        QCOMPARE(hub.g.DbFile, m_app + QStringLiteral("database/db.dat"));
        QCOMPARE(hub.g.TreeFile, m_app + QStringLiteral("database/BFA.dat"));
        QCOMPARE(hub.g.NetRole, QStringLiteral("SINGLE"));
        QCOMPARE(hub.g.StrMark, QStringLiteral("'"));
        QCOMPARE(hub.g.TrueValue, QStringLiteral("1"));
        QCOMPARE(hub.db()->scalar(QStringLiteral("select 用户名 from 用户管理")).toString(), QStringLiteral("超级用户"));
        hub.db()->exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QStringLiteral("保留")});
    }
    // The second start opens the same file and keeps its rows.
    RecordingSink sink;
    Hub hub(&sink);
    QCOMPARE(hub.start(m_app), StartOutcome::Ready);
    QCOMPARE(hub.db()->scalar(QStringLiteral("select 位置 from 存放位置")).toString(), QStringLiteral("保留"));
    QCOMPARE(hub.db()->scalar(QStringLiteral("select count(*) from 用户管理")).toInt(), 1);
}

void TestHub::dataObjectSelection_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("file");
    QTest::newRow("exact") << QStringLiteral("ACCESS") << true;
    QTest::newRow("blanks") << QStringLiteral(" ACCESS ") << true;
    QTest::newRow("lower case") << QStringLiteral("access") << false;
    QTest::newRow("server") << QStringLiteral("MSSQL") << false;
    QTest::newRow("missing key") << QStringLiteral("NULL") << false;
}

void TestHub::dataObjectSelection()
{
    QFETCH(QString, value);
    QFETCH(bool, file);
    QCOMPARE(Hub::selectsFile(value), file);
}

void TestHub::serverParams_data()
{
    QTest::addColumn<QString>("df");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("login") << QStringLiteral("SERVER= db1 \r\nUID= sa \r\nPWD=pa ss \r\nISNT=0") << QStringLiteral("db1") << 0
                           << QStringLiteral("sa") << QStringLiteral("pa ss ");
    QTest::newRow("comma port") << QStringLiteral("SERVER=10.0.0.5,5433\r\nUID=lib\r\nPWD=x") << QStringLiteral("10.0.0.5") << 5433
                                << QStringLiteral("lib") << QStringLiteral("x");
    QTest::newRow("colon port") << QStringLiteral("SERVER=db.local:6000\r\nUID=lib\r\nPWD=") << QStringLiteral("db.local") << 6000
                                << QStringLiteral("lib") << QString();
    QTest::newRow("integrated") << QStringLiteral("SERVER=db1\r\nUID=sa\r\nPWD=secret\r\nISNT=1") << QStringLiteral("db1") << 0 << QString()
                                << QString();
    QTest::newRow("local socket") << QStringLiteral("SERVER=(local)\r\nISNT=1") << QString() << 0 << QString() << QString();
}

void TestHub::serverParams()
{
    QFETCH(QString, df);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, user);
    QFETCH(QString, password);
    TIniIo ini(writeIni(QStringLiteral("[DF]\r\n") + df + QStringLiteral("\r\n")));
    const ServerParams p = Hub::serverParamsFromIni(ini);
    QCOMPARE(p.host, host);
    QCOMPARE(p.port, port);
    QCOMPARE(p.user, user);
    QCOMPARE(p.password, password);
    QCOMPARE(p.database, QStringLiteral("dbdat"));
}

void TestHub::backupPath_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << QString() << QStringLiteral("backup");
    QTest::newRow("empty") << QStringLiteral("BACKUPPATH=") << QStringLiteral("backup");
    QTest::newRow("blanks") << QStringLiteral("BACKUPPATH=   ") << QStringLiteral("backup");
    QTest::newRow("NULL") << QStringLiteral("BACKUPPATH=NULL") << QStringLiteral("backup");
    QTest::newRow("folder kept as written") << QStringLiteral("BACKUPPATH=/nonexistent/备份") << QStringLiteral("=/nonexistent/备份");
}

void TestHub::backupPath()
{
    QFETCH(QString, ini);
    QFETCH(QString, expected);
    writeIni(QStringLiteral("[DF]\r\nDATAOBJECT=ACCESS\r\n[SYSPARAMETER]\r\n") + ini + QStringLiteral("\r\n"));
    RecordingSink sink;
    Hub hub(&sink);
    QCOMPARE(hub.start(m_app), StartOutcome::Ready);
    if (expected.startsWith(QLatin1Char('=')))
        QCOMPARE(hub.g.BackupPath, expected.mid(1));
    else
        QCOMPARE(hub.g.BackupPath, m_app + expected);
}

void TestHub::failedConnection()
{
    // Port 1 on loopback refuses at once.
    writeIni(QStringLiteral("[DF]\r\nDATAOBJECT=MSSQL\r\nSERVER=127.0.0.1,1\r\nUID=nobody\r\nPWD=x\r\nISNT=0\r\n[SYSPARAMETER]\r\nBACKUPPATH=/tmp\r\n"));
    RecordingSink sink;
    Hub hub(&sink);
    QCOMPARE(hub.start(m_app), StartOutcome::ConnectFailed);
    QCOMPARE(sink.texts(), QStringList{QStringLiteral("数据库连接失败!")});
    QCOMPARE(sink.lastKind(), QStringLiteral("error"));
    QVERIFY(!sink.lastDetails.isEmpty());
    QVERIFY(hub.g.BackupPath.isEmpty());
    QVERIFY(!hub.db());
}

void TestHub::serverKindLaysSchemaIntoEmptyDatabase()
{
    if (!TestDb::serverConfigured())
        QSKIP("未配置测试用 PostgreSQL");
    const ServerParams test = TestDb::serverParams();
    // The hub always uses the database dbdat; the test cluster has one for this test.
    {
        ServerParams p = test;
        p.database = QStringLiteral("dbdat");
        QString err;
        auto db = Database::openServer(p, &err);
        QVERIFY2(db, qPrintable(err));
        db->exec(QStringLiteral("drop schema if exists public cascade"));
        db->exec(QStringLiteral("create schema public"));
    }
    writeIni(QStringLiteral("[DF]\r\nDATAOBJECT=MSSQL\r\nPORT=CLIENT\r\nSERVER=") + test.host
             + (test.port > 0 ? QStringLiteral(",") + QString::number(test.port) : QString()) + QStringLiteral("\r\nUID=") + test.user
             + QStringLiteral("\r\nPWD=\r\nISNT=0\r\n"));
    RecordingSink sink;
    Hub hub(&sink);
    QCOMPARE(hub.start(m_app), StartOutcome::Ready);
    QVERIFY2(sink.entries.isEmpty(), qPrintable(sink.lastDetails));
    QCOMPARE(hub.db()->kind(), DbKind::PostgresServer);
    QCOMPARE(hub.g.TrueValue, QStringLiteral("true"));
    QCOMPARE(hub.db()->scalar(QStringLiteral("select count(*) from 用户管理")).toInt(), 1);
}

QTEST_MAIN(TestHub)
#include "tst_hub.moc"
