#include "catalogue/publisherlist.h"

namespace qandor {

QString PublisherList::searchCondition(const QString &text, const Dialect &dialect, QVariantList &binds)
{
    const QStringList keys = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString cond;
    for (const QString &k : keys) {
        cond += cond.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" or ");
        cond += QStringLiteral("所在地 like ? escape '\\' or 出版社名称 like ? escape '\\' or ISBN like ? escape '\\'");
        binds << dialect.likePattern(k, Dialect::LikeMode::Contains) << dialect.likePattern(k, Dialect::LikeMode::Contains)
              << dialect.likePattern(k, Dialect::LikeMode::EndsWith);
    }
    return cond;
}

std::optional<QList<Publisher>> PublisherList::load(const QString &searchText, const QString &orderColumn)
{
    static const QStringList orderable{QStringLiteral("ISBN"), QStringLiteral("出版社名称"), QStringLiteral("所在地")};
    const QString order = orderable.contains(orderColumn) ? orderColumn : QStringLiteral("ISBN");
    Database &db = *m_bast.database();
    QVariantList binds;
    const QString cond = searchCondition(searchText, db.dialect(), binds);
    try {
        QSqlQuery q = db.exec(QStringLiteral("select ID,ISBN,出版社名称,所在地 from 出版社") + cond + QStringLiteral(" order by ")
                                  + order + QStringLiteral(",ID"),
                              binds, "PublisherList::load");
        QList<Publisher> rows;
        while (q.next())
            rows << Publisher{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
        return rows;
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
}

std::optional<QList<Publisher>> PublisherList::search(const QString &text, const QString &orderColumn)
{
    if (text.trimmed().isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("请输入检索关键词!"), QStringLiteral("warn"));
        return std::nullopt;
    }
    return load(text.trimmed(), orderColumn);
}

std::optional<Publisher> PublisherList::save(const Publisher &p)
{
    if (p.name.trimmed().isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("出版社名称不能为空值!"), QStringLiteral("warn"));
        return std::nullopt;
    }
    Database &db = *m_bast.database();
    Publisher saved = p;
    try {
        if (p.id == 0) {
            saved.id = db.insertReturningId(QStringLiteral("insert into 出版社 (ISBN,出版社名称,所在地) values (?,?,?)"),
                                            {p.isbn, p.name, p.city}, QStringLiteral("ID"));
        } else if (db.execAffected(QStringLiteral("update 出版社 set ISBN=?,出版社名称=?,所在地=? where ID=?"),
                                   {p.isbn, p.name, p.city, p.id}, "PublisherList::save")
                   != 1) {
            m_bast.ShowMsg(QStringLiteral("当前出版社已不存在，可能已被其他操作员删除，修改未能保存！"), QStringLiteral("warn"));
            return std::nullopt;
        }
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
    return saved;
}

bool PublisherList::remove(const Publisher &p)
{
    if (!m_bast.AskMsg(QStringLiteral("是否确定要删除当前选中的出版社名为:[") + p.name + QStringLiteral("]的数据?"),
                       QStringLiteral("yes")))
        return false;
    try {
        m_bast.database()->exec(QStringLiteral("delete from 出版社 where ID=?"), {p.id}, "PublisherList::remove");
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    return true;
}

} // namespace qandor
