#include "circulation/deskcommon.h"

#include <QSqlQuery>

namespace qandor {

namespace DeskSql {

int bookLoanCount(Database &db, const QString &readerNum)
{
    return db.scalar(QStringLiteral("select count(id) from 图书借阅信息 where 状态=? and 读者编号=?"),
                     {Open, readerNum.trimmed()}, "DeskSql::bookLoanCount")
        .toInt();
}

QString bookHolder(Database &db, const QString &bookNum)
{
    const QString num = bookNum.trimmed();
    if (num.isEmpty())
        return {};
    return db.scalar(QStringLiteral("select 读者编号 from 图书借阅信息 where 状态=? and 图书编号=?"), {Open, num},
                     "DeskSql::bookHolder")
        .toString()
        .trimmed();
}

QString openBookLoansSql()
{
    return QStringLiteral("select id,图书编号,图书名称,分类名,借出日期,应还日期 from 图书借阅信息 where 状态='未还' and 读者编号=?");
}

QList<OpenLoanBrief> openBookLoans(Database &db, const QString &readerNum)
{
    QList<OpenLoanBrief> out;
    QSqlQuery q = db.exec(openBookLoansSql() + QStringLiteral(" order by id"), {readerNum.trimmed()}, "DeskSql::openBookLoans");
    while (q.next()) {
        OpenLoanBrief b;
        b.id = q.value(0).toLongLong();
        b.bookNum = q.value(1).toString().trimmed();
        b.title = q.value(2).toString().trimmed();
        b.className = q.value(3).toString().trimmed();
        b.lent = toDate(q.value(4));
        b.due = toDate(q.value(5));
        out.append(b);
    }
    return out;
}

} // namespace DeskSql

DeskOutcome DeskBase::say(const QString &text, const QString &kind, DeskFocus focus, bool select) const
{
    m_bast.ShowMsg(text, kind);
    DeskOutcome o;
    o.message = text;
    o.focus = focus;
    o.selectInput = select;
    return o;
}

DeskOutcome DeskBase::done(const QString &text) const
{
    DeskOutcome o = say(text, QStringLiteral("infor"));
    o.ok = true;
    return o;
}

DeskOutcome DeskBase::dbFailed(const DbError &e) const
{
    m_bast.ShowDbError(e);
    DeskOutcome o;
    o.message = e.userMessage();
    return o;
}

} // namespace qandor
