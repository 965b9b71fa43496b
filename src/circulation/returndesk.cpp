#include "circulation/returndesk.h"

#include <QSqlQuery>

namespace qandor {

DeskOutcome ReturnDesk::loadOpenLoans(const QString &text, LoanLookup kind)
{
    const QString typed = text.trimmed();
    const QDate day = today();
    QList<ReturnRow> rows;
    const DeskOutcome o = callUpLoans(
        text, kind,
        QStringLiteral("select 读者编号,姓名,性别,读者类型,图书每日租金,图书超期罚金,图书编号,图书名称,分类名,借出日期,"
                       "应还日期,图书借阅信息.id as id from 图书借阅信息,读者类型 "
                       "where 图书借阅信息.读者类型=读者类型.类型名称 and 状态=? and 读者编号=? order by 图书借阅信息.id"),
        "ReturnDesk::loadOpenLoans", [&](const QSqlQuery &q, LoanReader &r, bool first) {
            const Money rent = Money::fromVariant(q.value(4));
            const Money fine = Money::fromVariant(q.value(5));
            if (first) {
                r.rentRate = rent;
                r.fineRate = fine;
            }
            ReturnRow row;
            row.id = q.value(11).toLongLong();
            row.bookNum = q.value(6).toString().trimmed();
            row.title = q.value(7).toString().trimmed();
            row.className = q.value(8).toString().trimmed();
            row.lent = toDate(q.value(9));
            row.due = toDate(q.value(10));
            // Each loan is charged at the rates of the type it was lent under.
            row.charges = computeLoanCharges(day, row.lent, row.due, rent, fine);
            row.ticked = kind == LoanLookup::Book && row.bookNum == typed;
            rows.append(row);
        });
    if (o.ok)
        m_rows = rows;
    return o;
}

void ReturnDesk::setTicked(int row, bool ticked)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].ticked = ticked;
}

DeskOutcome ReturnDesk::tickAll()
{
    if (m_rows.isEmpty())
        return emptyList();
    for (ReturnRow &r : m_rows)
        r.ticked = true;
    return DeskOutcome::success();
}

DeskOutcome ReturnDesk::untickAll()
{
    if (m_rows.isEmpty())
        return emptyList();
    for (ReturnRow &r : m_rows)
        r.ticked = false;
    return DeskOutcome::success();
}

int ReturnDesk::tickedCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const ReturnRow &r) { return r.ticked; }));
}

ReturnTotals ReturnDesk::totals() const
{
    ReturnTotals t;
    for (const ReturnRow &r : m_rows) {
        if (r.ticked) {
            t.rent += r.charges.rent;
            t.fine += r.charges.fine;
        }
    }
    return t;
}

ReturnOutcome ReturnDesk::returnBooks()
{
    ReturnOutcome out;
    const int n = tickedCount();
    if (!readyToWrite(n,
                      QStringLiteral("请先输入需要归还图书的读者编号或者输入需要被归还的图书编号调出读者信息及其借阅信息，"
                                     "然后再进行归还操作！"),
                      QStringLiteral("请先在图书借阅列表中给需要进行归还操作的图书打钩！"),
                      QStringLiteral("是否确定归还图书借阅列表中已经打钩选中的") + QString::number(n) + QStringLiteral("本图书？"), out))
        return out;

    const QDate day = today();
    // A refusal is shown after the rollback: no box waits on locked rows.
    QString refusal;
    try {
        Transaction tx(db());
        for (const ReturnRow &r : std::as_const(m_rows)) {
            if (!r.ticked)
                continue;
            // Only a loan still open is closed: a return made meanwhile at
            // another desk must not be charged twice.
            const int closed = db().execAffected(
                QStringLiteral("update 图书借阅信息 set 状态=?,实还日期=?,借阅天数=?,借阅租金=?,超期天数=?,超期罚金=?,操作员=? "
                               "where id=? and 状态=?"),
                {DeskSql::Returned, day, r.charges.shownDays, QVariant::fromValue(r.charges.rent), r.charges.overdueDays,
                 QVariant::fromValue(r.charges.fine), operatorName(), r.id, DeskSql::Open},
                "ReturnDesk::closeLoan");
            if (closed != 1) {
                refusal = QStringLiteral("编号为[") + r.bookNum + QStringLiteral("]的图书已经归还，本次归还操作没有执行，请重新调出读者的借阅信息！");
                out.refusedBook = r.bookNum;
                break;
            }
            db().exec(QStringLiteral("update 图书资料 set 状态=? where 图书编号=?"), {DeskSql::OnShelf, r.bookNum},
                      "ReturnDesk::shelveBook");
        }
        if (refusal.isEmpty())
            tx.commit();
    } catch (const DbError &e) {
        static_cast<DeskOutcome &>(out) = dbFailed(e);
        return out;
    }
    static_cast<DeskOutcome &>(out) = finishWrite(refusal, QStringLiteral("图书归还操作成功！"));
    if (out.ok)
        out.returned = n;
    return out;
}

} // namespace qandor
