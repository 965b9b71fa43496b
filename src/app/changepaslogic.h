#pragma once

#include <QString>

namespace qandor {

class Hub;

// The rules of "修改当前登录用户的密码": checks in order, then one bound
// update of the logged-in operator's row.
class ChangePasLogic {
public:
    enum class Outcome { OldEmpty, OldWrong, NewEmpty, ConfirmEmpty, Mismatch, Changed, Failed };

    explicit ChangePasLogic(Hub &hub) : m_hub(hub) {}

    Outcome change(const QString &oldPassword, const QString &newPassword, const QString &confirm);
    // The screen closes after a change, whether it was written or not.
    static bool closesScreen(Outcome o) { return o == Outcome::Changed || o == Outcome::Failed; }

private:
    Hub &m_hub;
};

} // namespace qandor
