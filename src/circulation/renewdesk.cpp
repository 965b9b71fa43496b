#include "circulation/renewdesk.h"

#include <QSqlQuery>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");

QString onceADay(const QString &bookNum)
{
    return QStringLiteral("编号为[") + bookNum + QStringLiteral("]的图书今日已经被进行过一次续借操作！");
}
} // namespace

bool RenewDesk::renewedToday(const QString &bookNum) const
{
    return db().scalar(QStringLiteral("select id from 图书续借记录 where 图书编号=? and 续借日期=?"), {bookNum, today()},
                       "RenewDesk::renewedToday")
        .isValid();
}

DeskOutcome RenewDesk::loadOpenLoans(const QString &text, LoanLookup kind)
{
    const QString typed = text.trimmed();
    QList<RenewRow> rows;
    const DeskOutcome o = callUpLoans(
        text, kind,
        QStringLiteral("select 读者编号,姓名,性别,读者类型,图书可借数量,图书可借天数,图书编号,图书名称,标准ISBN,分类名,"
                       "借出日期,应还日期,图书借阅信息.id as id from 图书借阅信息,读者类型 "
                       "where 图书借阅信息.读者类型=读者类型.类型名称 and 状态=? and 读者编号=? order by 图书借阅信息.id"),
        "RenewDesk::loadOpenLoans",
        [&](const QSqlQuery &q, LoanReader &r, bool first) {
            if (first) {
                r.bookLimit = q.value(4).toInt();
                r.loanDays = q.value(5).toInt();
            }
            RenewRow row;
            row.loanDays = q.value(5).toInt();
            row.bookNum = q.value(6).toString().trimmed();
            row.title = q.value(7).toString().trimmed();
            row.isbn = q.value(8).toString().trimmed();
            row.className = q.value(9).toString().trimmed();
            row.lent = toDate(q.value(10));
            row.due = toDate(q.value(11));
            row.id = q.value(12).toLongLong();
            rows.append(row);
        },
        [&](LoanReader &r) {
            for (RenewRow &row : rows) {
                row.renewedToday = renewedToday(row.bookNum);
                row.ticked = kind == LoanLookup::Book && row.bookNum == typed && !row.renewedToday;
            }
            r.allowance = r.bookLimit - DeskSql::bookLoanCount(db(), r.number);
        });
    if (o.ok)
        m_rows = rows;
    return o;
}

DeskOutcome RenewDesk::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_rows.size())
        return {};
    RenewRow &r = m_rows[row];
    if (ticked && r.renewedToday) {
        r.ticked = false;
        return say(onceADay(r.bookNum), Warn);
    }
    r.ticked = ticked;
    return DeskOutcome::success();
}

DeskOutcome RenewDesk::tickAll()
{
    if (m_rows.isEmpty())
        return emptyList();
    for (RenewRow &r : m_rows)
        r.ticked = !r.renewedToday;
    return DeskOutcome::success();
}

DeskOutcome RenewDesk::untickAll()
{
    if (m_rows.isEmpty())
        return emptyList();
    for (RenewRow &r : m_rows)
        r.ticked = false;
    return DeskOutcome::success();
}

int RenewDesk::tickedCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const RenewRow &r) { return r.ticked; }));
}

RenewOutcome RenewDesk::renewBooks()
{
    RenewOutcome out;
    const int n = tickedCount();
    if (!readyToWrite(n,
                      QStringLiteral("请先输入需要续借图书的读者编号或者输入需要被续借的图书编号调出读者信息及其借阅信息，"
                                     "然后再进行续借操作！"),
                      QStringLiteral("请先在图书借阅列表中给需要进行续借操作的图书打钩！"),
                      QStringLiteral("是否确定续借图书借阅列表中已经打钩选中的") + QString::number(n) + QStringLiteral("本图书？"), out))
        return out;

    const QDate day = today();
    const LoanReader reader = *m_reader;
    // A refusal is shown after the rollback: no box waits on locked rows.
    QString refusal;
    try {
        Transaction tx(db());
        for (const RenewRow &r : std::as_const(m_rows)) {
            if (!r.ticked)
                continue;
            const QDate newDue = loanDueDate(day, r.loanDays);
            // The loan row is the lock: a second desk renewing the same book
            // waits here and then finds today's renewal record.
            const int moved = db().execAffected(QStringLiteral("update 图书借阅信息 set 应还日期=? where id=? and 状态=?"),
                                                {newDue, r.id, DeskSql::Open}, "RenewDesk::moveDue");
            if (moved != 1)
                refusal = QStringLiteral("编号为[") + r.bookNum + QStringLiteral("]的图书已经归还，本次续借操作没有执行，请重新调出读者的借阅信息！");
            else if (renewedToday(r.bookNum))
                refusal = onceADay(r.bookNum);
            if (!refusal.isEmpty()) {
                out.refusedBook = r.bookNum;
                break;
            }
            db().exec(QStringLiteral("update 读者资料 set 借阅次数=coalesce(借阅次数,0)+1 where 编号=?"), {reader.number},
                      "RenewDesk::countLoan");
            db().exec(QStringLiteral("insert into 图书续借记录 (续借日期,读者编号,读者类型,读者姓名,读者性别,图书编号,图书名称,标准ISBN,"
                                     "分类名,借阅日期,续借前应还日期,续借后应还日期,操作员) values (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                      {day, reader.number, reader.type, reader.name, reader.sex, r.bookNum, r.title, r.isbn, r.className,
                       r.lent, r.due, newDue, operatorName()},
                      "RenewDesk::record");
        }
        if (refusal.isEmpty())
            tx.commit();
    } catch (const DbError &e) {
        static_cast<DeskOutcome &>(out) = dbFailed(e);
        return out;
    }
    static_cast<DeskOutcome &>(out) = finishWrite(refusal, QStringLiteral("图书续借操作成功！"));
    if (out.ok)
        out.renewed = n;
    return out;
}

} // namespace qandor
