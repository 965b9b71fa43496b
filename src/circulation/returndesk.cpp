#include "circulation/returndesk.h"

#include <QSqlQuery>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");
} // namespace

void ReturnDesk::reset()
{
    m_reader.reset();
    m_rows.clear();
}

DeskOutcome ReturnDesk::loadOpenLoans(const QString &text, LoanLookup kind)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty()) {
        if (kind == LoanLookup::Book)
            return say(QStringLiteral("请输入图书编号！"), Warn, DeskFocus::BookNum);
        if (m_reader)
            return DeskOutcome::quiet(DeskFocus::ReaderNum);
        return say(QStringLiteral("请输入读者编号！"), Warn, DeskFocus::ReaderNum);
    }
    try {
        QString readerNum = typed;
        if (kind == LoanLookup::Book) {
            readerNum = DeskSql::bookHolder(db(), typed);
            if (readerNum.isEmpty()) {
                reset();
                return say(QStringLiteral("未检索到拥有此编号的图书的借出信息，请检查图书编号输入是否正确！"), Warn,
                           DeskFocus::BookNum, true);
            }
        }
        QSqlQuery q = db().exec(
            QStringLiteral("select 读者编号,姓名,性别,读者类型,图书每日租金,图书超期罚金,图书编号,图书名称,分类名,借出日期,"
                           "应还日期,图书借阅信息.id as id from 图书借阅信息,读者类型 "
                           "where 图书借阅信息.读者类型=读者类型.类型名称 and 状态=? and 读者编号=? order by 图书借阅信息.id"),
            {DeskSql::Open, readerNum}, "ReturnDesk::loadOpenLoans");
        QList<ReturnRow> rows;
        LoanReader r;
        const QDate day = today();
        while (q.next()) {
            const Money rent = Money::fromVariant(q.value(4));
            const Money fine = Money::fromVariant(q.value(5));
            if (rows.isEmpty()) {
                r.number = q.value(0).toString().trimmed();
                r.name = q.value(1).toString().trimmed();
                r.sex = q.value(2).toString().trimmed();
                r.type = q.value(3).toString().trimmed();
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
        }
        q.finish();
        if (rows.isEmpty()) {
            reset();
            return say(QStringLiteral("未检索到拥有此编号的读者的借阅信息，请检查读者编号输入是否正确！"), Warn,
                       DeskFocus::ReaderNum, true);
        }
        r.photo = db().scalar(QStringLiteral("select 照片 from 读者资料 where 编号=?"), {r.number}).toByteArray();
        m_reader = r;
        m_rows = rows;
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    return DeskOutcome::success();
}

void ReturnDesk::setTicked(int row, bool ticked)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].ticked = ticked;
}

DeskOutcome ReturnDesk::tickAll()
{
    if (m_rows.isEmpty())
        return say(QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！"), Warn);
    for (ReturnRow &r : m_rows)
        r.ticked = true;
    return DeskOutcome::success();
}

DeskOutcome ReturnDesk::untickAll()
{
    if (m_rows.isEmpty())
        return say(QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！"), Warn);
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
    auto stop = [&out](const DeskOutcome &o) {
        static_cast<DeskOutcome &>(out) = o;
        return out;
    };
    if (!m_reader)
        return stop(say(QStringLiteral("请先输入需要归还图书的读者编号或者输入需要被归还的图书编号调出读者信息及其借阅信息，"
                                       "然后再进行归还操作！"),
                        Warn, DeskFocus::ReaderNum));
    const int n = tickedCount();
    if (n == 0)
        return stop(say(QStringLiteral("请先在图书借阅列表中给需要进行归还操作的图书打钩！"), Warn));
    if (!m_bast.AskMsg(QStringLiteral("是否确定归还图书借阅列表中已经打钩选中的") + QString::number(n) + QStringLiteral("本图书？"),
                       QStringLiteral("ok")))
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
        return stop(dbFailed(e));
    }
    if (!refusal.isEmpty()) {
        const QString book = out.refusedBook;
        stop(say(refusal, Warn, DeskFocus::ReaderNum));
        out.refusedBook = book;
        return out;
    }
    stop(done(QStringLiteral("图书归还操作成功！")));
    out.returned = n;
    out.focus = DeskFocus::ReaderNum;
    reset();
    return out;
}

} // namespace qandor
