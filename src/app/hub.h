#pragma once

#include "data/database.h"
#include "data/tbast.h"
#include "data/tiniio.h"
#include "app/sysparams.h"

#include <functional>

#include <QString>
#include <memory>

namespace qandor {

// The values every screen reads from the hub for the whole run.
struct HubGlobals {
    QString AppPath;      // program folder, ending with "/"
    QString DbKind;       // DF/DATAOBJECT as read (untrimmed)
    QString TreeFile;     // AppPath + "database/BFA.dat"
    QString DbFile;       // AppPath + "database/db.dat" (stand-alone only)
    QString NetRole;      // DF/PORT as read
    QString StrMark, DateMark, TrueValue, FalseValue;
    QString BackupPath;   // empty until the connection is open
    QString CurrentUser;
    QString CurrentPassword;
    bool WarnBookOverdue = false;
    bool WarnMagazineOverdue = false;
};

// The outcome of the program start before the login screen is shown.
enum class StartOutcome {
    Ready,          // connected; show the login screen
    FirstRun,       // DF/ISFIRSTRUN was set: run the network setup instead
    ConnectFailed,  // "数据库连接失败!" was shown
};

// The hub: owns the one connection, the data access component Bast1 and
// the configuration reader, and runs the program start. Screens receive
// it (or what they need of it) from the main window.
class Hub {
public:
    explicit Hub(MessageSink *sink = nullptr);
    ~Hub();

    // The program folder: $QANDOR_HOME when set, else the executable's folder.
    static QString resolveAppPath(const QString &executableDir);

    // Reads database/set.ini under appPath and opens the database it names.
    // Throws IniError when set.ini is missing.
    StartOutcome start(const QString &appPath);

    // Connection settings of the server kind, from the DF section.
    static ServerParams serverParamsFromIni(const TIniIo &ini);
    static bool selectsFile(const QString &dataObject) { return dataObject.trimmed() == QLatin1String("ACCESS"); }
    static QString backupPathFrom(const QString &configured, const QString &appPath);

    HubGlobals g;
    SysParams sysParams;
    TBast Bast1;
    // The exit backup, run when the operator confirms leaving the program
    // (errors are the backup's own business; the program ends anyway).
    std::function<void()> exitBackup;
    void runExitBackup() { if (exitBackup) exitBackup(); }
    TIniIo IniIo;
    Database *db() const { return m_db ? m_db.get() : m_borrowed; }
    QString lastConnectError() const { return m_connectError; }

    // For tests and tools: adopt an already open database, or use one
    // that stays owned by the caller (it must outlive the hub's use of it).
    void adoptDatabase(std::unique_ptr<Database> db);
    void useDatabase(Database *db);

private:
    std::unique_ptr<Database> openDatabase();

    void setMarks();

    std::unique_ptr<Database> m_db;
    Database *m_borrowed = nullptr;
    QString m_connectError;
};

} // namespace qandor
