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

namespace {
const QString Warn = QStringLiteral("warn");
} // namespace

DeskOutcome DeskBase::dbFailed(const DbError &e) const
{
    m_bast.ShowDbError(e);
    DeskOutcome o;
    o.message = e.userMessage();
    return o;
}

void OpenLoanDesk::reset()
{
    m_reader.reset();
    clearRows();
}

DeskOutcome OpenLoanDesk::callUpLoans(const QString &text, LoanLookup kind, const QString &sql, const char *where,
                                      const std::function<void(const QSqlQuery &, LoanReader &, bool)> &readRow,
                                      const std::function<void(LoanReader &)> &finish)
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
        QSqlQuery q = db().exec(sql, {DeskSql::Open, readerNum}, where);
        LoanReader r;
        int found = 0;
        while (q.next()) {
            const bool first = found++ == 0;
            if (first) {
                r.number = q.value(0).toString().trimmed();
                r.name = q.value(1).toString().trimmed();
                r.sex = q.value(2).toString().trimmed();
                r.type = q.value(3).toString().trimmed();
            }
            readRow(q, r, first);
        }
        q.finish();
        if (found == 0) {
            reset();
            return say(QStringLiteral("未检索到拥有此编号的读者的借阅信息，请检查读者编号输入是否正确！"), Warn,
                       DeskFocus::ReaderNum, true);
        }
        if (finish)
            finish(r);
        r.photo = db().scalar(QStringLiteral("select 照片 from 读者资料 where 编号=?"), {r.number}).toByteArray();
        m_reader = r;
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    return DeskOutcome::success();
}

bool OpenLoanDesk::readyToWrite(int ticked, const QString &noReader, const QString &noTick, const QString &ask,
                                DeskOutcome &stop) const
{
    if (!m_reader) {
        stop = say(noReader, Warn, DeskFocus::ReaderNum);
        return false;
    }
    if (ticked == 0) {
        stop = say(noTick, Warn);
        return false;
    }
    if (!m_bast.AskMsg(ask, QStringLiteral("ok"))) {
        stop = DeskOutcome{};
        return false;
    }
    return true;
}

DeskOutcome OpenLoanDesk::finishWrite(const QString &refusal, const QString &doneText)
{
    if (!refusal.isEmpty())
        return say(refusal, Warn, DeskFocus::ReaderNum);
    DeskOutcome o = done(doneText);
    o.focus = DeskFocus::ReaderNum;
    reset();
    return o;
}

DeskOutcome OpenLoanDesk::emptyList() const
{
    return say(QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！"), Warn);
}

} // namespace qandor
