#include "app/housekeeping.h"
#include "app/hub.h"
#include "app/hubservices.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <vector>

namespace qandor {

namespace {

const QString T = QStringLiteral("True");
const QString F = QStringLiteral("False");

struct IdText {
    QVariant id;
    QString text;
};

std::vector<IdText> readIdText(Database &db, const QString &sql)
{
    std::vector<IdText> rows;
    QSqlQuery q = db.exec(sql, {}, "UpgradeDatabase");
    while (q.next())
        rows.push_back({q.value(0), q.value(1).toString()});
    return rows;
}

// Writes convert(text) into `updateSql` (value, id) for each row; with
// onlyChanged, rows whose value equals their source text are left alone.
void convertRows(Database &db, const std::vector<IdText> &rows, const QString &updateSql,
                 const std::function<QString(const QString &)> &convert, bool onlyChanged, const ProgressFn &progress)
{
    if (rows.empty())
        return;
    QSqlQuery update = db.prepare(updateSql, "UpgradeDatabase");
    const int total = int(rows.size());
    // The progress window need not repaint for every one of 200,000 rows.
    const int step = std::max(1, total / 200);
    for (int i = 0; i < total; ++i) {
        const QString value = convert(rows[size_t(i)].text);
        if (!onlyChanged || value != rows[size_t(i)].text)
            db.execPrepared(update, {value, rows[size_t(i)].id}, "UpgradeDatabase");
        if (progress && ((i + 1) % step == 0 || i + 1 == total))
            progress(i + 1, total, UpgradeCaption);
    }
}

QString withoutDashes(const QString &s)
{
    QString t = s;
    t.remove(QLatin1Char('-'));
    return t;
}

} // namespace

void UpgradeDatabase(TBast &bast, TIniIo &ini, const ProgressFn &progress)
{
    Database &db = *bast.database();
    const bool isbnConverted = ini.ReadBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN"));
    Transaction tx(db);

    // 1-2
    bast.CreateTableIfMissing(QStringLiteral("ZTR_FLAG"), QStringLiteral("id*int identity(1,1)|mark*nvarchar(50) NULL|name*nvarchar(225) NULL|"));
    if (!db.exec(QStringLiteral("select id from ZTR_FLAG") + db.dialect().limit(1), {}, "UpgradeDatabase").next())
        db.exec(QStringLiteral("insert into ZTR_FLAG (mark,name) select 分类号,分类名 from 书籍类别 where 父类=0"), {}, "UpgradeDatabase");
    // 3-5
    bast.AddMissingColumns(QStringLiteral("图书资料"), QStringLiteral("批次*nvarchar(50) NULL"));
    bast.AddMissingColumns(QStringLiteral("图书资料"), QStringLiteral("ISBN*nvarchar(50) NULL"));
    convertRows(db, readIdText(db, QStringLiteral("select id,标准ISBN from 图书资料 where ISBN is NULL order by id")),
                QStringLiteral("update 图书资料 set ISBN=? where id=?"), IsbnTo13, false, progress);
    // 6-7
    bast.AddMissingColumns(QStringLiteral("期刊资料"), QStringLiteral("ISSN*nvarchar(50) NULL"));
    convertRows(db, readIdText(db, QStringLiteral("select id,标准ISBN from 期刊资料 where ISSN is NULL order by id")),
                QStringLiteral("update 期刊资料 set ISSN=? where id=?"), withoutDashes, false, progress);
    // 8-12
    bast.CreateTableIfMissing(QStringLiteral("Magazine"),
                              QStringLiteral("id*int identity(1,1)|期刊名称*nvarchar(225) NULL|ISSN*nvarchar(50) NULL|标准ISSN*nvarchar(50) NULL|"
                                             "刊期类别*nvarchar(50) NULL|分类号*nvarchar(50) NULL|分类名*nvarchar(225) NULL|"
                                             "主编信息*nvarchar(100) NULL|定价*money default 0|出版社*nvarchar(50) NULL|"
                                             "出版地*nvarchar(50) NULL|开本*nvarchar(50) NULL|语种*nvarchar(50) NULL|同步*bit default ")
                                  + F + QStringLiteral("|封面*Image|"));
    bast.CreateTableIfMissing(QStringLiteral("Book"),
                              QStringLiteral("id*int identity(1,1)|图书名称*nvarchar(225) NULL|ISBN*nvarchar(50) NULL|标准ISBN*nvarchar(50) NULL|"
                                             "分类号*nvarchar(50) NULL|分类名*nvarchar(225) NULL|作者信息*nvarchar(255) NULL|"
                                             "定价*money default 0|出版社*nvarchar(50) NULL|出版地*nvarchar(50) NULL|"
                                             "出版年*nvarchar(50) NULL|页码*nvarchar(50) NULL|开本*nvarchar(50) NULL|"
                                             "语种*nvarchar(50) NULL|配送物品*nvarchar(50) NULL|所属丛书*nvarchar(255) NULL|"
                                             "内容简介*text NULL|同步*bit default ")
                                  + F + QStringLiteral("|封面*Image|"));
    bast.AddMissingColumns(QStringLiteral("用户管理"), QStringLiteral("期刊Marc数据导入*bit default ") + T);
    bast.CreateTableIfMissing(QStringLiteral("placard"), QStringLiteral("id*int identity(1,1)|公告内容*text NULL|公告时间*datetime NULL"));
    bast.CreateTableIfMissing(QStringLiteral("预定记录"),
                              QStringLiteral("id*int identity(1,1)|读者编号*nvarchar(50) NULL|读者姓名*nvarchar(50) NULL|"
                                             "书籍编号*nvarchar(50) NULL|书籍名称*nvarchar(50) NULL|类型*nvarchar(50) NULL|"
                                             "预定日期*datetime NULL|状态*nvarchar(50) NULL"));
    // 13: the one-time conversion of every ISBN
    if (!isbnConverted)
        convertRows(db, readIdText(db, QStringLiteral("select id,标准ISBN from 图书资料 order by id")),
                    QStringLiteral("update 图书资料 set ISBN=? where id=?"), IsbnTo13, true, progress);
    // 14-17
    bast.AddMissingColumns(QStringLiteral("读者类型"), QStringLiteral("包租*bit default ") + F + QStringLiteral("|包租金*money default 0|包租量*int default 0"));
    bast.CreateTableIfMissing(QStringLiteral("包租充值"),
                              QStringLiteral("id*int identity(1,1)|状态*nvarchar(20) NULL|读者编号*nvarchar(50) NULL|姓名*nvarchar(20) NULL|"
                                             "性别*nvarchar(10) NULL|读者类型*nvarchar(20) NULL|充值日期*datetime NULL|"
                                             "充值金额*money default 0|包租量*int default 0|可用量*int default 0|"
                                             "已用量*int default 0|生效日期*datetime NULL|失效日期*datetime NULL|"
                                             "备注*nvarchar(255) NULL|操作员*nvarchar(20) NULL"));
    bast.AddMissingColumns(QStringLiteral("读者资料"),
                           QStringLiteral("当前包租量*int default 0|当前可用量*int default 0|当前已用量*int default 0|包租*bit default ") + F);
    bast.AddMissingColumns(QStringLiteral("用户管理"), QStringLiteral("包租充值*bit default ") + T + QStringLiteral("|读者包租充值查询*bit default ") + T);
    // The look-up indexes of the desk and the lists, built once for an
    // older database.
    Schema::createMissingIndexes(db);
    tx.commit();

    // Remembered only once the conversion is in the database.
    if (!isbnConverted)
        ini.WriteBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN"), true);
}

int ExpireReaders(Database &db, const QDate &today)
{
    const QString expired = QStringLiteral("过期");
    Transaction tx(db);
    // Readers already expired are left alone: the result is the same, and
    // a start no longer rewrites every expired card of the library.
    const int n = db.execAffected(QStringLiteral("update 读者资料 set 状态=? where ((有效期限制=? and 截止日期<=?) or (包租=? and 当前可用量<=0))"
                                                 " and (状态 is null or 状态<>?)"),
                                  {expired, QStringLiteral("有"), today, true, expired}, "ExpireReaders");
    db.exec(db.dialect().joinedUpdate(QStringLiteral("包租充值"), QStringLiteral("状态=?"), QStringLiteral("读者资料"),
                                      QStringLiteral("(包租充值.读者编号=读者资料.编号) and (读者资料.包租=?) and (读者资料.状态=?) "
                                                     "and (包租充值.状态=?)")),
            {QStringLiteral("失效"), true, expired, QStringLiteral("有效")}, "ExpireReaders");
    tx.commit();
    return n;
}

int ExpireReservations(Database &db, const QDate &serverDate)
{
    struct Row {
        QVariant id;
        QString kind, status, itemNum;
    };
    const QDate cutoff = serverDate.addDays(-3);
    Transaction tx(db);
    std::vector<Row> rows;
    {
        // Reservations expired at an earlier start need nothing more.
        QSqlQuery q = db.exec(QStringLiteral("select id,类型,状态,书籍编号 from 预定记录 where 预定日期<? and (状态 is null or 状态<>?) order by id"),
                              {cutoff, QStringLiteral("失效")}, "ExpireReservations");
        while (q.next())
            rows.push_back({q.value(0), q.value(1).toString().trimmed(), q.value(2).toString().trimmed(), q.value(3).toString()});
    }
    const QString valid = QStringLiteral("有效");
    const QVariantList shelfBinds{QStringLiteral("在馆"), QStringLiteral("预定")};
    for (const Row &r : rows) {
        if (r.kind == QStringLiteral("图书") && r.status == valid)
            db.exec(QStringLiteral("update 图书资料 set 状态=? where 图书编号=? and 状态=?"), {shelfBinds[0], r.itemNum, shelfBinds[1]},
                    "ExpireReservations");
        else if (r.kind == QStringLiteral("期刊") && r.status == valid)
            db.exec(QStringLiteral("update 期刊资料 set 状态=? where 期刊编号=? and 状态=?"), {shelfBinds[0], r.itemNum, shelfBinds[1]},
                    "ExpireReservations");
        db.exec(QStringLiteral("update 预定记录 set 状态=? where id=?"), {QStringLiteral("失效"), r.id}, "ExpireReservations");
    }
    tx.commit();
    return int(rows.size());
}

void ArmOverdueWarnings(Hub &hub)
{
    hub.g.WarnBookOverdue = hub.sysParams.AutoBookOutTimeWarn;
    hub.g.WarnMagazineOverdue = hub.sysParams.AutoMagazineOutTimeWarn;
}

QString exitBackupFile(const QString &backupPath, const QDate &day, bool server)
{
    // ISO date whatever the locale: a short date with "/" would not be a file name.
    return QDir(backupPath).filePath(day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("数据库备份文件.")
                                     + (server ? QStringLiteral("SQLBAK") : QStringLiteral("BAK")));
}

namespace {

bool replaceFile(const QString &from, const QString &to)
{
    if (QFile::exists(to) && !QFile::remove(to))
        return false;
    return QFile::rename(from, to);
}

BackupResult backupFile(Hub &hub, const QDate &today)
{
    const QString failed = QStringLiteral("备份失败！");
    Database *db = hub.db();
    const QString folder = hub.g.BackupPath.trimmed();
    if (!db || folder.isEmpty() || !QDir().mkpath(folder)) {
        hub.Bast1.ShowMsg(failed, QStringLiteral("error"));
        return BackupResult::Failed;
    }
    const QString target = exitBackupFile(folder, today, false);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    try {
        // A consistent copy of the live database, whatever the desk was doing.
        db->exec(QStringLiteral("VACUUM INTO ?"), {part}, "BackupOnExit");
    } catch (const DbError &e) {
        QFile::remove(part);
        hub.Bast1.messageSink()->showError(
            QStringLiteral("数据备份失败!原因可能是犹豫数据数据库文件被第三方软件独占打开或者数据库备份路径设置有误!"), e.details());
        return BackupResult::Failed;
    }
    if (!replaceFile(part, target)) {
        QFile::remove(part);
        hub.Bast1.ShowMsg(failed, QStringLiteral("error"));
        return BackupResult::Failed;
    }
    return BackupResult::Done;
}

BackupResult backupServer(Hub &hub, const QDate &today)
{
    const QString folder = hub.g.BackupPath.trimmed();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return BackupResult::Failed;
    const ServerParams p = Hub::serverParamsFromIni(hub.IniIo);
    const QString target = exitBackupFile(folder, today, true);
    const QString part = target + QStringLiteral(".part");
    QStringList args{QStringLiteral("-Fc"), QStringLiteral("-f"), part};
    if (!p.host.isEmpty())
        args << QStringLiteral("-h") << p.host;
    if (p.port > 0)
        args << QStringLiteral("-p") << QString::number(p.port);
    if (!p.user.isEmpty())
        args << QStringLiteral("-U") << p.user;
    args << QStringLiteral("-w") << QStringLiteral("-d") << p.database;
    QProcess proc;
    // The password goes through the environment, never the command line.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!p.password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), p.password);
    else
        env.remove(QStringLiteral("PGPASSWORD"));
    proc.setProcessEnvironment(env);
    proc.start(QStringLiteral("pg_dump"), args);
    const bool ok = proc.waitForStarted() && proc.waitForFinished(-1) && proc.exitStatus() == QProcess::NormalExit
        && proc.exitCode() == 0 && replaceFile(part, target);
    if (!ok) {
        QFile::remove(part);
        return BackupResult::Failed;
    }
    return BackupResult::Done;
}

} // namespace

BackupResult BackupOnExit(Hub &hub, const QDate &today)
{
    if (!hub.IniIo.IniFileExists() || !hub.IniIo.ReadBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT")))
        return BackupResult::Skipped;
    if (Hub::selectsFile(hub.g.DbKind))
        return backupFile(hub, today);
    if (hub.g.DbKind.trimmed() == QLatin1String("MSSQL") && hub.g.NetRole.trimmed() == QLatin1String("SVER"))
        return backupServer(hub, today); // errors stay silent on the server
    return BackupResult::Skipped;
}

} // namespace qandor
