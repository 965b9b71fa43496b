#include "app/loginlogic.h"
#include "app/hub.h"
#include "app/hubservices.h"
#include "data/passwordhash.h"
#include "data/schema.h"

namespace qandor {

bool LoginLogic::defaultPasswordActive()
{
    QSqlQuery q = m_hub.db()->exec(QStringLiteral("select 密码 from 用户管理 where 用户名=?"), {Schema::BuiltInUser},
                                   "LoginLogic::defaultPasswordActive");
    return q.next() && PasswordHash::verify(Schema::DefaultPassword, q.value(0).toString());
}

LoginLogic::Startup LoginLogic::runStartup(const QDate &today, const ProgressFn &progress)
{
    Database &db = *m_hub.db();
    Startup s;
    UpgradeDatabase(m_hub.Bast1, m_hub.IniIo, progress);
    LoadSysParameter(db, m_hub.sysParams);
    s.defaultPassword = defaultPasswordActive();
    ExpireReaders(db, today);
    m_hub.Bast1.FillDistinctList(s.userNames, QStringLiteral("用户管理"), QStringLiteral("用户名"));
    ExpireReservations(db, ServerDate(db).date());
    ArmOverdueWarnings(m_hub);
    return s;
}

LoginLogic::Outcome LoginLogic::login(const QString &userName, const QString &password)
{
    TBast &bast = m_hub.Bast1;
    if (userName.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("请输入或者从列表中选择用户名！"), QStringLiteral("warn"));
        return Outcome::NoUserName;
    }
    if (password.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("请输入密码！"), QStringLiteral("warn"));
        return Outcome::NoPassword;
    }
    Database &db = *m_hub.db();
    QSqlQuery q = db.exec(QStringLiteral("select 用户名,密码 from 用户管理 where 用户名=?"), {userName}, "LoginLogic::login");
    if (!q.next()) {
        bast.ShowMsg(QStringLiteral("当前输入的用户名不存在，请检查输入是否正确！"), QStringLiteral("error"));
        return Outcome::UnknownUser;
    }
    const QString name = q.value(0).toString();
    const QString stored = q.value(1).toString();
    q.finish();
    if (!PasswordHash::verify(password, stored)) {
        bast.ShowMsg(QStringLiteral("当前输入的密码有误，请检查输入是否正确！"), QStringLiteral("error"));
        return Outcome::WrongPassword;
    }
    if (!PasswordHash::isHash(stored)) {
        // A password still kept as plain text (older or hand-edited database):
        // replace it by its digest, unless another desk changed it meanwhile.
        db.execAffected(QStringLiteral("update 用户管理 set 密码=? where 用户名=? and 密码=?"),
                        {PasswordHash::make(password), name, stored}, "LoginLogic::login");
    }
    m_hub.g.CurrentUser = name;
    // The digest is in the row; what the operator typed is what the password
    // change screen compares with.
    m_hub.g.CurrentPassword = password;
    return Outcome::LoggedIn;
}

bool LoginLogic::confirmExit()
{
    const bool ok = m_hub.Bast1.AskMsg(QStringLiteral("确定要退出系统么?"), QStringLiteral("ok"));
    if (ok) {
        try {
            m_hub.runExitBackup();
        } catch (const std::exception &) {
            // The program ends anyway; the backup reports its own failures.
        }
    }
    return ok;
}

} // namespace qandor
