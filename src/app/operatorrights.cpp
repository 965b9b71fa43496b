#include "app/operatorrights.h"
#include "data/database.h"
#include "data/rights.h"

namespace qandor {

OperatorRights OperatorRights::load(Database &db, const QString &user)
{
    // Columns are named explicitly and read by position: the server folds
    // the Latin letters of unquoted names ("Marc数据导入") to lower case.
    const QStringList columns = allRightColumns();
    QSqlQuery q = db.exec(QStringLiteral("select ") + columns.join(QLatin1Char(',')) +
                              QStringLiteral(" from 用户管理 where 用户名=?"),
                          {user}, "OperatorRights::load");
    OperatorRights r;
    if (!q.next())
        return r;
    r.m_found = true;
    for (int i = 0; i < columns.size(); ++i)
        r.m_rights.insert(columns.at(i), toBool(q.value(i)));
    return r;
}

bool OperatorRights::has(const QString &right) const
{
    if (right.isEmpty() || !m_found)
        return true;
    return m_rights.value(right, false);
}

} // namespace qandor
