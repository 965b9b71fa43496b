#pragma once

#include "app/housekeeping.h"

#include <QDate>
#include <QStringList>

namespace qandor {

class Hub;

// The rules of the login screen: the start-up sequence it runs when shown,
// the checks of "登录" in order and the question of "退出".
class LoginLogic {
public:
    explicit LoginLogic(Hub &hub) : m_hub(hub) {}

    struct Startup {
        bool defaultPassword = false; // show the hint and fill 超级用户/52617 in
        QStringList userNames;
    };
    // Upgrade, parameters, hint, reader sweep, user list, reservation sweep,
    // overdue warnings, in this order. Throws DbError (and IniError).
    Startup runStartup(const QDate &today = QDate::currentDate(), const ProgressFn &progress = {});

    // True while the built-in operator's password is still the default.
    bool defaultPasswordActive();

    enum class Outcome { LoggedIn, NoUserName, NoPassword, UnknownUser, WrongPassword };
    // The checks of "登录" with their messages; a good login records the
    // operator on the hub (and stores a digest for a plain-text password).
    Outcome login(const QString &userName, const QString &password);

    // "确定要退出系统么?"; on OK the exit backup runs. The program ends
    // whichever the answer; the return value tells the answer.
    bool confirmExit();

private:
    Hub &m_hub;
};

} // namespace qandor
