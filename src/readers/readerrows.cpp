#include "readers/readerrows.h"

namespace qandor::ReaderRows {

int openLoans(Database &db, const QString &column, const QVariant &value, const char *where)
{
    return db.scalar(QStringLiteral("select count(*) from 图书借阅信息 where ") + column + QStringLiteral("=? and 状态='未还'"),
                     {value}, where)
               .toInt()
        + db.scalar(QStringLiteral("select count(*) from 期刊借阅信息 where ") + column + QStringLiteral("=? and 状态='未还'"),
                    {value}, where)
              .toInt();
}

bool removeOne(TBast &bast, const QString &deleteSql, const QVariantList &values, const char *where,
               const QString &goneMessage, const std::function<bool(Database &)> &allowed)
{
    Database &db = *bast.database();
    try {
        Transaction tx(db);
        if (!allowed(db))
            return false;
        if (db.execAffected(deleteSql, values, where) != 1) {
            bast.ShowMsg(goneMessage, QStringLiteral("warn"));
            return false;
        }
        tx.commit();
        return true;
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return false;
    }
}

} // namespace qandor::ReaderRows
