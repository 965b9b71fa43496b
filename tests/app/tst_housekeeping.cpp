#include "app/housekeeping.h"
#include "app/hub.h"
#include "data/gbk.h"
#include "data/schema.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

QString writeIni(const QString &path, const QString &text)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(toGbk(text));
    return path;
}

// An older database: the core tables as an early release had them, without
// anything the start-up upgrade adds.
void createOlderDatabase(TBast &b)
{
    b.CreateTableIfMissing(QStringLiteral("书籍类别"), QStringLiteral("ID*int identity(1,1)|父类*int default 0|分类号*nvarchar(50) NULL|分类名*nvarchar(255) NULL"));
    b.CreateTableIfMissing(QStringLiteral("图书资料"),
                           QStringLiteral("ID*int identity(1,1)|状态*nvarchar(10) NULL|图书编号*nvarchar(50) NULL|图书名称*nvarchar(255) NULL|"
                                          "标准ISBN*nvarchar(50) NULL|分类号*nvarchar(50) NULL|种次号*int default 0|索书号*nvarchar(100) NULL"));
    b.CreateTableIfMissing(QStringLiteral("期刊资料"),
                           QStringLiteral("ID*int identity(1,1)|状态*nvarchar(10) NULL|期刊编号*nvarchar(50) NULL|标准ISBN*nvarchar(50) NULL"));
    b.CreateTableIfMissing(QStringLiteral("用户管理"),
                           QStringLiteral("ID*int identity(1,1)|用户名*nvarchar(50) NULL|密码*nvarchar(255) NULL|用户设置*bit default True"));
    b.CreateTableIfMissing(QStringLiteral("读者类型"), QStringLiteral("ID*int identity(1,1)|类型名称*nvarchar(50) NULL"));
    b.CreateTableIfMissing(QStringLiteral("读者资料"),
                           QStringLiteral("ID*int identity(1,1)|状态*nvarchar(10) NULL|编号*nvarchar(50) NULL|有效期限制*nvarchar(10) NULL|"
                                          "截止日期*datetime NULL"));
    Database &db = *b.database();
    const QString cls = QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (?,?,?)");
    db.exec(cls, {0, QStringLiteral("A"), QStringLiteral("马克思主义")});
    db.exec(cls, {0, QStringLiteral("I"), QStringLiteral("文学")});
    db.exec(cls, {2, QStringLiteral("I2"), QStringLiteral("中国文学")});
    const QString book = QStringLiteral("insert into 图书资料 (图书编号,标准ISBN) values (?,?)");
    db.exec(book, {QStringLiteral("00001"), QStringLiteral("7-111-07127-1")});
    db.exec(book, {QStringLiteral("00002"), QStringLiteral("978-7-5063-2512-0")});
    db.exec(book, {QStringLiteral("00003"), QStringLiteral("ISBN?")});
    db.exec(QStringLiteral("insert into 期刊资料 (期刊编号,标准ISBN) values (?,?)"), {QStringLiteral("M1"), QStringLiteral("1002-1234")});
    db.exec(QStringLiteral("insert into 用户管理 (用户名,密码,用户设置) values (?,?,?)"), {QStringLiteral("超级用户"), QStringLiteral("52617"), true});
    db.exec(QStringLiteral("insert into 读者资料 (编号,状态) values (?,?)"), {QStringLiteral("0001"), QStringLiteral("正常")});
}

// Tables with their columns and row counts.
QStringList snapshot(Database &db)
{
    QStringList out;
    QStringList tables = db.tables();
    for (QString &t : tables)
        t = t.toLower();
    tables.sort();
    for (const QString &t : tables) {
        if (t.startsWith(QLatin1String("sqlite_")))
            continue; // the file's own bookkeeping
        QStringList cols = db.columns(t);
        for (QString &c : cols)
            c = c.toLower();
        cols.sort();
        out << t + QLatin1Char(':') + cols.join(QLatin1Char(',')) + QLatin1Char('#')
                   + db.scalar(QStringLiteral("select count(*) from ") + t).toString();
    }
    return out;
}

QString value(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toString();
}

} // namespace

class TestHousekeeping : public QObject {
    Q_OBJECT
private slots:
    void upgradeOlderDatabaseTwice();
    void upgradeLeavesDeliveredDatabaseAlone();
    void upgradeAddsMissingIndexes();
    void isbnConversionRunsOnce();
    void expireReaders();
    void expireReservations();
    void armWarnings();
    void exitBackupOfFile();
    void exitBackupFailure();
    void exitBackupOfServer();

private:
    QTemporaryDir m_dir;
};

void TestHousekeeping::upgradeOlderDatabaseTwice()
{
    QANDOR_TESTDB(t);
    createOlderDatabase(t.bast());
    TIniIo ini(writeIni(m_dir.filePath(QStringLiteral("older.ini")), QStringLiteral("[DF]\r\nDATAOBJECT=ACCESS\r\n")));
    QList<int> steps;
    UpgradeDatabase(t.bast(), ini, [&steps](int done, int total, const QString &caption) {
        if (caption == UpgradeCaption && done == total)
            steps << total;
        return false;
    });
    Database &db = t.db();
    const QStringList first = snapshot(db);

    // Every table and column the upgrade is responsible for is there.
    for (const char *table : {"ZTR_FLAG", "Magazine", "Book", "placard", "预定记录", "包租充值"})
        QVERIFY2(db.hasTable(QString::fromUtf8(table)), table);
    const auto has = [&db](const QString &table, const QString &col) {
        for (const QString &c : db.columns(table))
            if (c.compare(col, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (const auto &[table, col] : QList<std::pair<QString, QString>>{
             {QStringLiteral("图书资料"), QStringLiteral("批次")}, {QStringLiteral("图书资料"), QStringLiteral("ISBN")},
             {QStringLiteral("期刊资料"), QStringLiteral("ISSN")}, {QStringLiteral("用户管理"), QStringLiteral("期刊Marc数据导入")},
             {QStringLiteral("读者类型"), QStringLiteral("包租金")}, {QStringLiteral("读者资料"), QStringLiteral("当前可用量")},
             {QStringLiteral("读者资料"), QStringLiteral("包租")}, {QStringLiteral("用户管理"), QStringLiteral("读者包租充值查询")}})
        QVERIFY2(has(table, col), qPrintable(table + QLatin1Char('.') + col));

    QCOMPARE(value(db, QStringLiteral("select count(*) from ZTR_FLAG")), QStringLiteral("2"));
    QCOMPARE(value(db, QStringLiteral("select name from ZTR_FLAG where mark=?"), {QStringLiteral("I")}), QStringLiteral("文学"));
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00001")}), QStringLiteral("9787111071273"));
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00002")}), QStringLiteral("9787506325127"));
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00003")}), QStringLiteral("ISBN?"));
    QCOMPARE(value(db, QStringLiteral("select ISSN from 期刊资料")), QStringLiteral("10021234"));
    // New rights are granted to existing operators; new reader columns start at their defaults.
    QVERIFY(toBool(db.scalar(QStringLiteral("select 期刊Marc数据导入 from 用户管理"))));
    QVERIFY(toBool(db.scalar(QStringLiteral("select 包租充值 from 用户管理"))));
    QVERIFY(!toBool(db.scalar(QStringLiteral("select 包租 from 读者资料"))));
    QCOMPARE(value(db, QStringLiteral("select 当前可用量 from 读者资料")), QStringLiteral("0"));
    QVERIFY(ini.ReadBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN")));
    QVERIFY(!steps.isEmpty());

    UpgradeDatabase(t.bast(), ini);
    QCOMPARE(snapshot(db), first);

    // Later changes to the classes are not copied while ZTR_FLAG has rows.
    db.exec(QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (?,?,?)"), {0, QStringLiteral("T"), QStringLiteral("工业技术")});
    UpgradeDatabase(t.bast(), ini);
    QCOMPARE(value(db, QStringLiteral("select count(*) from ZTR_FLAG")), QStringLiteral("2"));
}

void TestHousekeeping::upgradeLeavesDeliveredDatabaseAlone()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    TIniIo ini(writeIni(m_dir.filePath(QStringLiteral("delivered.ini")), QStringLiteral("[UPDATE]\r\nISBN=1\r\n")));
    const QStringList before = snapshot(t.db());
    UpgradeDatabase(t.bast(), ini);
    UpgradeDatabase(t.bast(), ini);
    QCOMPARE(snapshot(t.db()), before);
}

// An older database gets the look-up indexes once; a unique number that
// already repeats there gets a plain index instead of a refused start.
void TestHousekeeping::upgradeAddsMissingIndexes()
{
    QANDOR_TESTDB(t);
    createOlderDatabase(t.bast());
    Database &db = t.db();
    db.exec(QStringLiteral("insert into 读者资料 (编号,状态) values (?,?)"), {QStringLiteral("0001"), QStringLiteral("正常")});
    TIniIo ini(writeIni(m_dir.filePath(QStringLiteral("indexes.ini")), QStringLiteral("[DF]\r\nDATAOBJECT=ACCESS\r\n")));
    UpgradeDatabase(t.bast(), ini);

    const QSet<QString> names = db.indexNames();
    for (const char *ix : {"ux_图书资料_图书编号", "ix_图书资料_图书名称", "ix_图书资料_isbn", "ux_读者资料_编号", "ix_预定记录_读者"})
        QVERIFY2(names.contains(QString::fromUtf8(ix)), ix);
    // 读者资料 of that release has no 类型 column: no index over it yet.
    QVERIFY(!names.contains(QStringLiteral("ix_读者资料_类型")));

    // The book number index is unique; the reader number one could not be.
    bool refused = false;
    try {
        db.exec(QStringLiteral("insert into 图书资料 (图书编号) values (?)"), {QStringLiteral("00001")});
    } catch (const DbError &) {
        refused = true;
    }
    QVERIFY(refused);
    db.exec(QStringLiteral("insert into 读者资料 (编号,状态) values (?,?)"), {QStringLiteral("0001"), QStringLiteral("正常")});
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 读者资料 where 编号=?"), {QStringLiteral("0001")}).toInt(), 3);

    // Nothing left to build at the next start.
    QCOMPARE(Schema::createMissingIndexes(db), 0);
}

void TestHousekeeping::isbnConversionRunsOnce()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Database &db = t.db();
    const QString sql = QStringLiteral("insert into 图书资料 (图书编号,标准ISBN,ISBN) values (?,?,?)");
    db.exec(sql, {QStringLiteral("00001"), QStringLiteral("7-111-07127-1"), QStringLiteral("stale")});
    db.exec(sql, {QStringLiteral("00002"), QStringLiteral("9787111071273"), QStringLiteral("kept")});
    TIniIo ini(writeIni(m_dir.filePath(QStringLiteral("once.ini")), QStringLiteral("[UPDATE]\r\nISBN=0\r\n")));
    int lastDone = 0, lastTotal = 0;
    UpgradeDatabase(t.bast(), ini, [&](int done, int total, const QString &) {
        lastDone = done;
        lastTotal = total;
        return false;
    });
    QCOMPARE(lastTotal, 2);
    QCOMPARE(lastDone, 2);
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00001")}), QStringLiteral("9787111071273"));
    // Already 13 digits with the right check digit: the row is not rewritten.
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00002")}), QStringLiteral("kept"));
    QVERIFY(ini.ReadBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN")));

    db.exec(QStringLiteral("update 图书资料 set ISBN=? where 图书编号=?"), {QStringLiteral("stale"), QStringLiteral("00001")});
    UpgradeDatabase(t.bast(), ini);
    QCOMPARE(value(db, QStringLiteral("select ISBN from 图书资料 where 图书编号=?"), {QStringLiteral("00001")}), QStringLiteral("stale"));
}

void TestHousekeeping::expireReaders()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Database &db = t.db();
    const QDate today(2009, 5, 1);
    struct Reader {
        const char *num;
        const char *status;
        const char *limited;
        QDate until;
        bool prepaid;
        int left;
        const char *expected;
    };
    const Reader readers[] = {
        {"R1", "正常", "有", today, false, 0, "过期"},            // ends today
        {"R2", "正常", "有", today.addDays(1), false, 0, "正常"}, // ends tomorrow
        {"R3", "挂失", "有", today.addDays(-30), false, 0, "过期"},
        {"R4", "正常", "无", today.addDays(-30), false, 0, "正常"},
        {"R5", "正常", "无", QDate(), true, 0, "过期"},   // prepaid, nothing left
        {"R6", "正常", "无", QDate(), true, 3, "正常"},   // prepaid, quota left
        {"R7", "正常", "无", QDate(), true, -1, "过期"},
    };
    for (const Reader &r : readers)
        db.exec(QStringLiteral("insert into 读者资料 (编号,状态,有效期限制,截止日期,包租,当前可用量) values (?,?,?,?,?,?)"),
                {QString::fromUtf8(r.num), QString::fromUtf8(r.status), QString::fromUtf8(r.limited),
                 r.until.isValid() ? QVariant(r.until) : QVariant(), r.prepaid, r.left});
    const QString topUp = QStringLiteral("insert into 包租充值 (读者编号,状态,备注) values (?,?,?)");
    db.exec(topUp, {QStringLiteral("R5"), QStringLiteral("有效"), QStringLiteral("a")});
    db.exec(topUp, {QStringLiteral("R5"), QStringLiteral("有效"), QStringLiteral("b")});
    db.exec(topUp, {QStringLiteral("R6"), QStringLiteral("有效"), QStringLiteral("c")});
    db.exec(topUp, {QStringLiteral("R1"), QStringLiteral("有效"), QStringLiteral("d")}); // expired but not prepaid

    QCOMPARE(ExpireReaders(db, today), 4);
    for (const Reader &r : readers)
        QCOMPARE(value(db, QStringLiteral("select 状态 from 读者资料 where 编号=?"), {QString::fromUtf8(r.num)}), QString::fromUtf8(r.expected));
    const QString topUpStatus = QStringLiteral("select 状态 from 包租充值 where 备注=?");
    QCOMPARE(value(db, topUpStatus, {QStringLiteral("a")}), QStringLiteral("失效"));
    QCOMPARE(value(db, topUpStatus, {QStringLiteral("b")}), QStringLiteral("失效"));
    QCOMPARE(value(db, topUpStatus, {QStringLiteral("c")}), QStringLiteral("有效"));
    QCOMPARE(value(db, topUpStatus, {QStringLiteral("d")}), QStringLiteral("有效"));

    // A second desk starting the same day changes nothing further.
    const QStringList before = snapshot(db);
    ExpireReaders(db, today);
    QCOMPARE(snapshot(db), before);
}

void TestHousekeeping::expireReservations()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Database &db = t.db();
    const QDate server(2009, 5, 10);
    const QString book = QStringLiteral("insert into 图书资料 (图书编号,状态) values (?,?)");
    db.exec(book, {QStringLiteral("00012"), QStringLiteral("预定")});
    db.exec(book, {QStringLiteral("00013"), QStringLiteral("预定")});
    db.exec(book, {QStringLiteral("00014"), QStringLiteral("借出")});
    db.exec(book, {QStringLiteral("00015"), QStringLiteral("预定")});
    db.exec(QStringLiteral("insert into 期刊资料 (期刊编号,状态) values (?,?)"), {QStringLiteral("M01"), QStringLiteral("预定")});
    const QString res = QStringLiteral("insert into 预定记录 (书籍编号,类型,预定日期,状态,读者姓名) values (?,?,?,?,?)");
    db.exec(res, {QStringLiteral("00012"), QStringLiteral("图书"), server.addDays(-4), QStringLiteral("有效"), QStringLiteral("four")});
    db.exec(res, {QStringLiteral("00013"), QStringLiteral("图书"), server.addDays(-3), QStringLiteral("有效"), QStringLiteral("three")});
    db.exec(res, {QStringLiteral("00014"), QStringLiteral("图书"), server.addDays(-9), QStringLiteral("有效"), QStringLiteral("lent")});
    db.exec(res, {QStringLiteral("00015"), QStringLiteral("图书"), server.addDays(-9), QStringLiteral("生效"), QStringLiteral("fulfilled")});
    db.exec(res, {QStringLiteral("M01"), QStringLiteral("期刊"), server.addDays(-5), QStringLiteral("有效"), QStringLiteral("magazine")});

    QCOMPARE(ExpireReservations(db, server), 4);
    const QString bookStatus = QStringLiteral("select 状态 from 图书资料 where 图书编号=?");
    const QString resStatus = QStringLiteral("select 状态 from 预定记录 where 读者姓名=?");
    QCOMPARE(value(db, bookStatus, {QStringLiteral("00012")}), QStringLiteral("在馆"));
    QCOMPARE(value(db, resStatus, {QStringLiteral("four")}), QStringLiteral("失效"));
    QCOMPARE(value(db, bookStatus, {QStringLiteral("00013")}), QStringLiteral("预定"));
    QCOMPARE(value(db, resStatus, {QStringLiteral("three")}), QStringLiteral("有效"));
    QCOMPARE(value(db, bookStatus, {QStringLiteral("00014")}), QStringLiteral("借出")); // only a reserved copy goes back
    QCOMPARE(value(db, resStatus, {QStringLiteral("lent")}), QStringLiteral("失效"));
    QCOMPARE(value(db, bookStatus, {QStringLiteral("00015")}), QStringLiteral("预定")); // fulfilled reservation: copy untouched
    QCOMPARE(value(db, resStatus, {QStringLiteral("fulfilled")}), QStringLiteral("失效"));
    QCOMPARE(value(db, QStringLiteral("select 状态 from 期刊资料")), QStringLiteral("在馆"));
    QCOMPARE(value(db, resStatus, {QStringLiteral("magazine")}), QStringLiteral("失效"));

    const QStringList before = snapshot(db);
    ExpireReservations(db, server);
    QCOMPARE(snapshot(db), before);
}

void TestHousekeeping::armWarnings()
{
    Hub hub;
    hub.sysParams.AutoBookOutTimeWarn = true;
    hub.sysParams.AutoMagazineOutTimeWarn = false;
    ArmOverdueWarnings(hub);
    QVERIFY(hub.g.WarnBookOverdue);
    QVERIFY(!hub.g.WarnMagazineOverdue);
}

void TestHousekeeping::exitBackupOfFile()
{
    QANDOR_TESTDB(t);
    if (t.server())
        QSKIP("the file backup belongs to the stand-alone database");
    t.createDelivered();
    Hub hub(&t.sink);
    hub.useDatabase(&t.db());
    hub.g.DbKind = QStringLiteral(" ACCESS ");
    const QString folder = m_dir.filePath(QStringLiteral("备份/新建"));
    hub.g.BackupPath = folder;
    const QString iniPath = writeIni(m_dir.filePath(QStringLiteral("backup.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=0\r\n"));
    hub.IniIo.setIniFilePath(iniPath);
    const QDate day(2009, 5, 1);
    const QString file = folder + QStringLiteral("/2009-05-01数据库备份文件.BAK");

    QCOMPARE(BackupOnExit(hub, day), BackupResult::Skipped);
    QVERIFY(!QFile::exists(file));

    hub.IniIo.WriteBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT"), true);
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QStringLiteral("一楼")});
    QCOMPARE(BackupOnExit(hub, day), BackupResult::Done);
    QCOMPARE(exitBackupFile(folder, day, false), file);
    const auto count = [&file](const QString &place) {
        QString err;
        auto copy = Database::openFile(file, &err);
        if (!copy)
            return -1;
        return copy->scalar(QStringLiteral("select count(*) from 存放位置 where 位置=?"), {place}).toInt();
    };
    QCOMPARE(count(QStringLiteral("一楼")), 1);

    // The same day again: the file is replaced by the newer state.
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QStringLiteral("二楼")});
    QCOMPARE(BackupOnExit(hub, day), BackupResult::Done);
    QCOMPARE(count(QStringLiteral("二楼")), 1);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestHousekeeping::exitBackupFailure()
{
    QANDOR_TESTDB(t);
    if (t.server())
        QSKIP("the file backup belongs to the stand-alone database");
    Hub hub(&t.sink);
    hub.useDatabase(&t.db());
    hub.g.DbKind = QStringLiteral("ACCESS");
    // The backup folder names an existing file: it cannot be made a folder.
    const QString blocker = writeIni(m_dir.filePath(QStringLiteral("blocker")), QStringLiteral("x"));
    hub.g.BackupPath = blocker + QStringLiteral("/sub");
    hub.IniIo.setIniFilePath(writeIni(m_dir.filePath(QStringLiteral("fail.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=1\r\n")));
    QCOMPARE(BackupOnExit(hub, QDate(2009, 5, 1)), BackupResult::Failed);
    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("备份失败！")});
    QCOMPARE(t.sink.lastKind(), QStringLiteral("error"));
}

void TestHousekeeping::exitBackupOfServer()
{
    if (!TestDb::serverConfigured() || !TestDb::wantsServer())
        QSKIP("needs the test PostgreSQL cluster");
    const ServerParams p = TestDb::serverParams();
    const QString folder = m_dir.filePath(QStringLiteral("server"));
    const QDate day(2009, 5, 1);
    const QString file = folder + QStringLiteral("/2009-05-01数据库备份文件.SQLBAK");
    for (const char *role : {"CLIENT", "SINGLE", " SVER "}) {
        Hub hub;
        hub.g.DbKind = QStringLiteral(" MSSQL");
        hub.g.NetRole = QString::fromUtf8(role);
        hub.g.BackupPath = folder;
        hub.IniIo.setIniFilePath(writeIni(m_dir.filePath(QStringLiteral("server.ini")),
                                          QStringLiteral("[DF]\r\nSERVER=") + p.host
                                              + (p.port > 0 ? QStringLiteral(",") + QString::number(p.port) : QString())
                                              + QStringLiteral("\r\nUID=") + p.user
                                              + QStringLiteral("\r\nPWD=\r\nISNT=0\r\n[SYSPARAMETER]\r\nBACKUPONEXIT=1\r\n")));
        const bool server = QString::fromUtf8(role).trimmed() == QLatin1String("SVER");
        QCOMPARE(BackupOnExit(hub, day), server ? BackupResult::Done : BackupResult::Skipped);
        QCOMPARE(QFile::exists(file), server);
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("PGDMP"));
}

QTEST_MAIN(TestHousekeeping)
#include "tst_housekeeping.moc"
