#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace qandor {

class Hub;

// One operator as the user settings screen edits it: a copy of the row,
// handed back to save().
struct UserRecord {
    QString name;
    QString password;            // as typed; stored only for a new operator
    QHash<QString, bool> rights; // right column -> granted
};

// The rules of "用户设置": checks in order, messages through the hub's
// Bast1, and bound statements on 用户管理.
class UserSetLogic {
public:
    enum class Outcome { Saved, NameEmpty, PasswordEmpty, ConfirmEmpty, Mismatch, NameTaken, Failed };

    explicit UserSetLogic(Hub &hub) : m_hub(hub) {}

    // Operator names in the order they were created. Throws DbError.
    QStringList userNames() const;
    // The operator's row; an empty name when it no longer exists. Throws DbError.
    UserRecord load(const QString &name) const;
    // A new operator: every right ticked.
    static UserRecord newRecord();

    // "保存数据". originalName is empty for a new operator, else the name the
    // edited row had. An edit never changes the password.
    Outcome save(const UserRecord &record, const QString &confirm, const QString &originalName);
    // "修改选中" / "删除选中" on an empty list: the message, false.
    bool checkNotEmptyForEdit(bool listEmpty) const;
    // "删除选中": refusals, the question, the delete. True when deleted.
    bool remove(const QString &name, bool listEmpty);

private:
    Hub &m_hub;
};

} // namespace qandor
