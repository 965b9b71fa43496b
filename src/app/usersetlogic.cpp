#include "app/usersetlogic.h"
#include "app/hub.h"
#include "data/passwordhash.h"
#include "data/rights.h"
#include "data/schema.h"

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");
const QString SaveFailedText =
    QStringLiteral("数据保存失败！可能由于数据库文件是否被第三方软件独占打开或者数据库文件已经损坏！");
} // namespace

QStringList UserSetLogic::userNames() const
{
    QStringList out;
    QSqlQuery q = m_hub.db()->exec(QStringLiteral("select 用户名 from 用户管理 order by ID"), {}, "UserSetLogic::userNames");
    while (q.next())
        out << q.value(0).toString();
    return out;
}

UserRecord UserSetLogic::load(const QString &name) const
{
    const QStringList columns = allRightColumns();
    QSqlQuery q = m_hub.db()->exec(QStringLiteral("select 用户名,") + columns.join(QLatin1Char(',')) +
                                       QStringLiteral(" from 用户管理 where 用户名=?"),
                                   {name}, "UserSetLogic::load");
    UserRecord r;
    if (!q.next())
        return r;
    r.name = q.value(0).toString();
    for (int i = 0; i < columns.size(); ++i)
        r.rights.insert(columns.at(i), toBool(q.value(i + 1)));
    return r;
}

UserRecord UserSetLogic::newRecord()
{
    UserRecord r;
    for (const QString &c : allRightColumns())
        r.rights.insert(c, true);
    return r;
}

UserSetLogic::Outcome UserSetLogic::save(const UserRecord &record, const QString &confirm, const QString &originalName)
{
    TBast &bast = m_hub.Bast1;
    const bool isNew = originalName.isEmpty();
    if (record.name.trimmed().isEmpty()) {
        bast.ShowMsg(QStringLiteral("用户名不能为空！"), Warn);
        return Outcome::NameEmpty;
    }
    if (isNew) {
        if (record.password.trimmed().isEmpty()) {
            bast.ShowMsg(QStringLiteral("密码不能为空！"), Warn);
            return Outcome::PasswordEmpty;
        }
        if (confirm.trimmed().isEmpty()) {
            bast.ShowMsg(QStringLiteral("请输入确认密码！"), Warn);
            return Outcome::ConfirmEmpty;
        }
        if (confirm.trimmed() != record.password.trimmed()) {
            bast.ShowMsg(QStringLiteral("密码与密码确认值不一致，请检查输入的密码！"), Warn);
            return Outcome::Mismatch;
        }
        try {
            if (bast.ValueExists(QStringLiteral("用户管理"), QStringLiteral("用户名"), record.name)) {
                bast.ShowMsg(QStringLiteral("当前输入的用户名已存在，请为用户设置其他用户名！"), Warn);
                return Outcome::NameTaken;
            }
        } catch (const DbError &e) {
            bast.messageSink()->showError(SaveFailedText, e.details());
            return Outcome::Failed;
        }
    }

    const QStringList columns = allRightColumns();
    QVariantList values;
    try {
        Database &db = *m_hub.db();
        if (isNew) {
            QString cols = QStringLiteral("用户名,密码");
            QString marks = QStringLiteral("?,?");
            values << record.name << PasswordHash::make(record.password);
            for (const QString &c : columns) {
                cols += QLatin1Char(',') + c;
                marks += QStringLiteral(",?");
                values << record.rights.value(c, false);
            }
            db.exec(QStringLiteral("insert into 用户管理 (") + cols + QStringLiteral(") values (") + marks + QLatin1Char(')'),
                    values, "UserSetLogic::save");
        } else {
            QString sets = QStringLiteral("用户名=?");
            values << record.name;
            for (const QString &c : columns) {
                sets += QLatin1Char(',') + c + QStringLiteral("=?");
                values << record.rights.value(c, false);
            }
            values << originalName;
            // The unique index on 用户名 refuses a rename onto another operator.
            const int n = db.execAffected(QStringLiteral("update 用户管理 set ") + sets + QStringLiteral(" where 用户名=?"),
                                          values, "UserSetLogic::save");
            if (n != 1) {
                bast.ShowMsg(QStringLiteral("该用户已被删除，数据未保存！"), QStringLiteral("error"));
                return Outcome::Failed;
            }
            // The operator renamed themselves: later screens must find their row.
            if (originalName == m_hub.g.CurrentUser)
                m_hub.g.CurrentUser = record.name;
        }
    } catch (const DbError &e) {
        bast.messageSink()->showError(SaveFailedText, e.details());
        return Outcome::Failed;
    }
    return Outcome::Saved;
}

bool UserSetLogic::checkNotEmptyForEdit(bool listEmpty) const
{
    if (listEmpty) {
        m_hub.Bast1.ShowMsg(QStringLiteral("当前数据为空，没有可以修改的对象！"), QStringLiteral("ok"));
        return false;
    }
    return true;
}

bool UserSetLogic::remove(const QString &name, bool listEmpty)
{
    TBast &bast = m_hub.Bast1;
    if (listEmpty || name.isEmpty()) {
        bast.ShowMsg(QStringLiteral("当前数据为空，没有可以删除的对象！"), QStringLiteral("ok"));
        return false;
    }
    // Without these two nobody could log in to repair the accounts.
    if (name == Schema::BuiltInUser) {
        bast.ShowMsg(QStringLiteral("系统内置用户“超级用户”不能删除！"), Warn);
        return false;
    }
    if (name == m_hub.g.CurrentUser) {
        bast.ShowMsg(QStringLiteral("不能删除当前登录的用户！"), Warn);
        return false;
    }
    if (!bast.AskMsg(QStringLiteral("是否确定要删除当前选中的用户信息？"), QStringLiteral("yes")))
        return false;
    try {
        m_hub.db()->execAffected(QStringLiteral("delete from 用户管理 where 用户名=?"), {name}, "UserSetLogic::remove");
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return false;
    }
    return true;
}

} // namespace qandor
