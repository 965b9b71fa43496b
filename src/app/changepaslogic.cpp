#include "app/changepaslogic.h"
#include "app/hub.h"
#include "data/passwordhash.h"

namespace qandor {

ChangePasLogic::Outcome ChangePasLogic::change(const QString &oldPassword, const QString &newPassword, const QString &confirm)
{
    TBast &bast = m_hub.Bast1;
    const QString warn = QStringLiteral("warn");
    if (oldPassword.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("请输入原有密码！"), warn);
        return Outcome::OldEmpty;
    }
    if (oldPassword != m_hub.g.CurrentPassword) {
        bast.ShowMsg(QStringLiteral("原有密码输入不正确，请检查密码输入是否有误！"), QStringLiteral("error"));
        return Outcome::OldWrong;
    }
    if (newPassword.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("请输入新密码！"), warn);
        return Outcome::NewEmpty;
    }
    if (confirm.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("请输入确认密码！"), warn);
        return Outcome::ConfirmEmpty;
    }
    if (newPassword != confirm) {
        bast.ShowMsg(QStringLiteral("当前输入新密码与确认密码不一致，请检查输入是否有误！"), warn);
        return Outcome::Mismatch;
    }
    const QString failed = QStringLiteral("密码修改失败了！");
    try {
        const int n = m_hub.db()->execAffected(QStringLiteral("update 用户管理 set 密码=? where 用户名=?"),
                                               {PasswordHash::make(newPassword), m_hub.g.CurrentUser},
                                               "ChangePasLogic::change");
        // The operator's row may have been deleted at another desk: nothing was written.
        if (n != 1) {
            bast.ShowMsg(failed, QStringLiteral("error"));
            return Outcome::Failed;
        }
    } catch (const DbError &e) {
        bast.messageSink()->showError(failed, e.details());
        return Outcome::Failed;
    }
    m_hub.g.CurrentPassword = newPassword;
    bast.ShowMsg(QStringLiteral("密码修改成功！请牢记您的新密码！"), QStringLiteral("infor"));
    return Outcome::Changed;
}

} // namespace qandor
