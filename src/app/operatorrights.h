#pragma once

#include <QHash>
#include <QString>

namespace qandor {

class Database;

// The rights of one operator, read from their row of 用户管理 when the
// main window is shown. When the row has gone (deleted at another desk)
// nothing is taken away: every command keeps its normal state.
class OperatorRights {
public:
    // Reads the operator's row. Throws DbError.
    static OperatorRights load(Database &db, const QString &user);
    // Every right granted (no row to read from).
    static OperatorRights everything() { return OperatorRights(); }
    // No right at all (the row could not be read).
    static OperatorRights nothing()
    {
        OperatorRights r;
        r.m_found = true;
        return r;
    }

    bool rowFound() const { return m_found; }
    // True when the right is granted, or when `right` is empty (no right needed).
    bool has(const QString &right) const;

private:
    bool m_found = false;
    QHash<QString, bool> m_rights;
};

} // namespace qandor
