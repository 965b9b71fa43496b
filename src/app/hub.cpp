#include "app/hub.h"
#include "data/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace qandor {

Hub::Hub(MessageSink *sink) : Bast1(nullptr, sink) {}

Hub::~Hub()
{
    Bast1.setDatabase(nullptr);
}

QString Hub::resolveAppPath(const QString &executableDir)
{
    QString home = qEnvironmentVariable("QANDOR_HOME").trimmed();
    QString p = home.isEmpty() ? executableDir : home;
    p = QDir::fromNativeSeparators(QDir(p).absolutePath());
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}

QString Hub::backupPathFrom(const QString &configured, const QString &appPath)
{
    const QString t = configured.trimmed();
    if (t.isEmpty() || configured == QLatin1String("NULL"))
        return appPath + QStringLiteral("backup");
    return configured;
}

ServerParams Hub::serverParamsFromIni(const TIniIo &ini)
{
    ServerParams p;
    const bool integrated = ini.ReadBool(QStringLiteral("DF"), QStringLiteral("ISNT"));
    QString server = ini.ReadString(QStringLiteral("DF"), QStringLiteral("SERVER")).trimmed();
    if (server == QLatin1String("NULL") || server == QLatin1String("(local)") || server == QLatin1String("."))
        server.clear();
    // "host", "host,port" (the old server notation) or "host:port".
    int sep = server.lastIndexOf(QLatin1Char(','));
    if (sep < 0 && server.count(QLatin1Char(':')) == 1)
        sep = server.indexOf(QLatin1Char(':'));
    if (sep > 0) {
        bool ok = false;
        const int port = server.mid(sep + 1).trimmed().toInt(&ok);
        if (ok && port > 0) {
            p.port = port;
            server = server.left(sep).trimmed();
        }
    }
    p.host = server;
    if (!integrated) {
        const QString uid = ini.ReadString(QStringLiteral("DF"), QStringLiteral("UID")).trimmed();
        const QString pwd = ini.ReadString(QStringLiteral("DF"), QStringLiteral("PWD"));
        p.user = uid == QLatin1String("NULL") ? QString() : uid;
        p.password = pwd == QLatin1String("NULL") ? QString() : pwd;
    }
    return p;
}

void Hub::adoptDatabase(std::unique_ptr<Database> db)
{
    m_db = std::move(db);
    m_borrowed = nullptr;
    Bast1.setDatabase(m_db.get());
    setMarks();
}

void Hub::useDatabase(Database *db)
{
    m_db.reset();
    m_borrowed = db;
    Bast1.setDatabase(db);
    setMarks();
}

void Hub::setMarks()
{
    const Dialect &d = Bast1.dialect();
    g.StrMark = d.strMark();
    g.DateMark = d.dateMark();
    g.TrueValue = d.trueValue();
    g.FalseValue = d.falseValue();
}

std::unique_ptr<Database> Hub::openDatabase()
{
    std::unique_ptr<Database> db;
    if (selectsFile(g.DbKind)) {
        g.DbFile = g.AppPath + QStringLiteral("database/db.dat");
        QDir().mkpath(QFileInfo(g.DbFile).absolutePath());
        db = Database::openFile(g.DbFile, &m_connectError);
    } else {
        db = Database::openServer(serverParamsFromIni(IniIo), &m_connectError);
    }
    if (!db)
        return nullptr;
    // A new file, or an empty server database: lay the delivered schema.
    try {
        if (Schema::isEmpty(*db)) {
            TBast bast(db.get());
            Schema::createDelivered(bast);
        }
    } catch (const DbError &e) {
        m_connectError = e.driverText();
        return nullptr;
    }
    return db;
}

StartOutcome Hub::start(const QString &appPath)
{
    g.AppPath = appPath;
    IniIo.setIniFilePath(appPath + QStringLiteral("database/set.ini"));
    if (IniIo.ReadBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN"))) {
        // Reset at once, so a wizard closed with its close box does not return.
        IniIo.WriteBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN"), false);
        Bast1.ShowMsg(QStringLiteral("您是第一次运行本系统，或者以前的配制信息丢失，或者要重新配制系统！"), QStringLiteral("infor"));
        return StartOutcome::FirstRun;
    }
    g.DbKind = IniIo.ReadString(QStringLiteral("DF"), QStringLiteral("DATAOBJECT"));
    g.TreeFile = appPath + QStringLiteral("database/BFA.dat");
    g.NetRole = IniIo.ReadString(QStringLiteral("DF"), QStringLiteral("PORT"));
    // The dialect is known before the connection opens.
    const Dialect d(selectsFile(g.DbKind) ? DbKind::SqliteFile : DbKind::PostgresServer);
    g.StrMark = d.strMark();
    g.DateMark = d.dateMark();
    g.TrueValue = d.trueValue();
    g.FalseValue = d.falseValue();

    auto db = openDatabase();
    if (!db) {
        Bast1.messageSink()->showError(QStringLiteral("数据库连接失败!"), m_connectError);
        return StartOutcome::ConnectFailed;
    }
    adoptDatabase(std::move(db));
    g.BackupPath = backupPathFrom(IniIo.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPPATH")), appPath);
    return StartOutcome::Ready;
}

} // namespace qandor
