#include "circulation/lendingdesk.h"
#include "circulation/loancharges.h"

#include <QSqlQuery>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");

QString cardRefusal(const QString &number, const QString &status)
{
    return QStringLiteral("当前编号为[") + number + QStringLiteral("]的读者的借书证处于[") + status.trimmed()
        + QStringLiteral("]状态，不能借书！");
}

QString quotaRefusal(int left)
{
    return QStringLiteral("当前读者为包租模式，当前可借余量为：") + QString::number(left)
        + QStringLiteral("本！无法继续添加其他图书！");
}

QString allowanceRefusal(int allowance)
{
    return QStringLiteral("当前读者目前只能借阅") + QString::number(allowance) + QStringLiteral("本图书！");
}
} // namespace

void LendingDesk::reset()
{
    m_reader.reset();
    m_pending.clear();
}

DeskOutcome LendingDesk::loadReader(const QString &text)
{
    const QString number = text.trimmed();
    if (number.isEmpty()) {
        if (m_reader) // the box gets the shown number back
            return DeskOutcome::quiet(DeskFocus::ReaderNum);
        return say(QStringLiteral("请输入读者编号！"), Warn, DeskFocus::ReaderNum);
    }
    try {
        QSqlQuery q = db().exec(
            QStringLiteral("select 状态,编号,姓名,性别,类型,图书可借数量,图书可借天数,照片,读者资料.包租 as 包租,"
                           "当前包租量,当前可用量,读者类型.包租 as 类型包租 from 读者资料,读者类型 "
                           "where 读者资料.类型=读者类型.类型名称 and 编号=?"),
            {number}, "LendingDesk::loadReader");
        if (!q.next()) {
            reset();
            return say(QStringLiteral("读者首次持一卡通借书，请在添加读者界面下开卡保存读者信息！"), Warn,
                       DeskFocus::ReaderNum, true);
        }
        const QString status = q.value(0).toString().trimmed();
        if (status != DeskSql::CardNormal) {
            reset();
            return say(cardRefusal(number, status), Warn, DeskFocus::ReaderNum, true);
        }
        LendReader r;
        r.number = number;
        r.name = q.value(2).toString().trimmed();
        r.sex = q.value(3).toString().trimmed();
        r.type = q.value(4).toString().trimmed();
        r.bookLimit = q.value(5).toInt();
        r.loanDays = q.value(6).toInt();
        r.photo = q.value(7).toByteArray();
        r.prepaidReader = toBool(q.value(8));
        r.quotaBought = q.value(9).toInt();
        r.quotaLeft = q.value(10).toInt();
        r.rentalType = toBool(q.value(11));
        q.finish();
        r.openLoans = DeskSql::bookLoanCount(db(), number);
        m_reader = r;

        QStringList reserved;
        QSqlQuery res = db().exec(QStringLiteral("select 书籍编号 from 预定记录 where 读者编号=? and 状态=? and 类型=? order by id"),
                                  {number, QStringLiteral("有效"), QStringLiteral("图书")}, "LendingDesk::reservations");
        while (res.next())
            reserved << res.value(0).toString();
        res.finish();
        for (const QString &book : reserved)
            addBookBySearch(book, BookSearch::Number);
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    return DeskOutcome::success(DeskFocus::BookNum);
}

BookSearchOutcome LendingDesk::addBookBySearch(const QString &text, BookSearch kind)
{
    BookSearchOutcome out;
    auto stop = [&out](const DeskOutcome &o) {
        static_cast<DeskOutcome &>(out) = o;
        return out;
    };
    const DeskFocus box = kind == BookSearch::Number ? DeskFocus::BookNum
        : kind == BookSearch::Isbn                   ? DeskFocus::BookIsbn
                                                     : DeskFocus::BookName;
    if (!m_reader)
        return stop(say(QStringLiteral("请输入读者信息！"), Warn, DeskFocus::ReaderNum));
    if (m_reader->allowance() <= m_pending.size())
        return stop(say(allowanceRefusal(m_reader->allowance()), Warn));
    if (m_reader->rentalType && m_reader->quotaLeft <= m_pending.size())
        return stop(say(quotaRefusal(m_reader->quotaLeft), Warn));
    const QString value = text.trimmed();
    if (value.isEmpty()) {
        static const QString empty[] = {QStringLiteral("请输入图书编号！"), QStringLiteral("请输入图书标准ISBN！"),
                                        QStringLiteral("请输入图书名称！")};
        return stop(say(empty[int(kind) - 1], Warn, box));
    }

    out.searched = true;
    QString sql = QStringLiteral("select id,状态,图书编号,图书名称,标准ISBN,分类名 from 图书资料 where ");
    QVariantList binds;
    switch (kind) {
    case BookSearch::Number:
        sql += QStringLiteral("图书编号=?");
        binds << value;
        break;
    case BookSearch::Isbn:
        sql += QStringLiteral("(标准ISBN=? or ISBN=?)");
        binds << value << value;
        break;
    case BookSearch::Title:
        sql += QStringLiteral("图书名称 like ? escape '\\'");
        binds << dialect().likePattern(value);
        break;
    }
    try {
        QSqlQuery q = db().exec(sql + QStringLiteral(" order by id"), binds, "LendingDesk::addBookBySearch");
        while (q.next()) {
            BookCandidate c;
            c.id = q.value(0).toLongLong();
            c.status = q.value(1).toString().trimmed();
            c.number = q.value(2).toString().trimmed();
            c.title = q.value(3).toString().trimmed();
            c.isbn = q.value(4).toString().trimmed();
            c.className = q.value(5).toString().trimmed();
            out.candidates.append(c);
        }
    } catch (const DbError &e) {
        return stop(dbFailed(e));
    }
    if (out.candidates.isEmpty()) {
        static const QString none[] = {
            QStringLiteral("未检索到拥有此编号的图书信息，请检查图书编号输入是否正确！"),
            QStringLiteral("未检索到拥有此标准ISBN的图书信息，请检查标准ISBN输入是否正确！"),
            QStringLiteral("未检索到拥有此图书名称的图书信息,请检查图书名称输入是否正确！")};
        return stop(say(none[int(kind) - 1], Warn, box, true));
    }
    if (out.candidates.size() == 1) {
        const BookCandidate only = out.candidates.first();
        out.candidates.clear();
        return stop(addBookToList(only));
    }
    out.ok = true;
    out.needsChoice = true;
    return out;
}

DeskOutcome LendingDesk::addBookToList(const BookCandidate &book)
{
    if (book.status.trimmed() == DeskSql::Lent)
        return say(QStringLiteral("本书已借出！"), Warn);
    const QString number = book.number.trimmed();
    for (const PendingBook &p : std::as_const(m_pending))
        if (p.number == number)
            return say(QStringLiteral("本书已添加到借阅列表中！"), Warn);
    PendingBook p;
    p.number = number;
    p.title = book.title.trimmed();
    p.isbn = book.isbn.trimmed();
    p.className = book.className.trimmed();
    p.lendDate = today();
    p.dueDate = loanDueDate(p.lendDate, m_reader ? m_reader->loanDays : 0);
    m_pending.append(p);
    return DeskOutcome::success(DeskFocus::BookNum);
}

DeskOutcome LendingDesk::removePending(int row)
{
    if (m_pending.isEmpty())
        return say(QStringLiteral("当前图书借阅列表为空，没有可以删除的对象！"), Warn);
    if (row < 0 || row >= m_pending.size())
        return say(QStringLiteral("请在图书借阅列表中选中要删除的对象！"), Warn);
    m_pending.removeAt(row);
    return DeskOutcome::success();
}

DeskOutcome LendingDesk::clearPending()
{
    if (m_pending.isEmpty())
        return say(QStringLiteral("当前图书借阅列表已经为空！"), Warn);
    m_pending.clear();
    return DeskOutcome::success();
}

QList<DeskSql::OpenLoanBrief> LendingDesk::unreturnedBooks(DeskOutcome *outcome)
{
    QList<DeskSql::OpenLoanBrief> loans;
    DeskOutcome o;
    if (m_reader) {
        try {
            loans = DeskSql::openBookLoans(db(), m_reader->number);
            o.ok = !loans.isEmpty();
            if (loans.isEmpty())
                o = say(QStringLiteral("当前读者没有未还的图书信息！"), QStringLiteral("infor"));
        } catch (const DbError &e) {
            o = dbFailed(e);
        }
    }
    if (outcome)
        *outcome = o;
    return loans;
}

LendOutcome LendingDesk::refuse(const QString &text, DeskFocus focus)
{
    LendOutcome out;
    static_cast<DeskOutcome &>(out) = say(text, Warn, focus);
    return out;
}

LendOutcome LendingDesk::lendBooks()
{
    if (!m_reader)
        return refuse(QStringLiteral("请输入读者编号，调出读者信息！"), DeskFocus::ReaderNum);
    if (m_pending.isEmpty())
        return refuse(QStringLiteral("请输入图书检索条件，添加所要借出的图书信息！"), DeskFocus::BookNum);
    if (!m_bast.AskMsg(QStringLiteral("是否确定将图书借阅列表中列举的图书借出？"), QStringLiteral("ok")))
        return {};

    const LendReader r = *m_reader;
    const int n = int(m_pending.size());
    const QString T = dialect().trueValue();
    const QString unknownReader = QStringLiteral("读者首次持一卡通借书，请在添加读者界面下开卡保存读者信息！");

    // A refusal found inside the transaction is shown only after the
    // rollback, so no message box ever waits while rows are locked.
    struct Refusal {
        QString text;
        DeskFocus focus = DeskFocus::None;
        QString book;
    };
    auto lendAll = [&]() -> Refusal {
        // Claim the reader row first: it is the lock that keeps two desks
        // from both spending the same allowance, and it checks the card again.
        const int claimed = db().execAffected(
            QStringLiteral("update 读者资料 set 借阅次数=coalesce(借阅次数,0)+?,"
                           "当前可用量=case when 包租=") + T + QStringLiteral(" then 当前可用量-? else 当前可用量 end,"
                           "当前已用量=case when 包租=") + T + QStringLiteral(" then 当前已用量+? else 当前已用量 end "
                           "where 编号=? and 状态=?"),
            {n, n, n, r.number, DeskSql::CardNormal}, "LendingDesk::claimReader");
        if (claimed != 1) {
            const QVariant status = db().scalar(QStringLiteral("select 状态 from 读者资料 where 编号=?"), {r.number});
            if (!status.isValid())
                return {unknownReader, DeskFocus::ReaderNum};
            return {cardRefusal(r.number, status.toString()), DeskFocus::ReaderNum};
        }

        // The terms as they are now, on the locked row.
        QSqlQuery t = db().exec(QStringLiteral("select 读者资料.包租,当前可用量,图书可借数量,读者类型.包租 from 读者资料,读者类型 "
                                               "where 读者资料.类型=读者类型.类型名称 and 编号=?"),
                                {r.number}, "LendingDesk::terms");
        if (!t.next())
            return {unknownReader, DeskFocus::ReaderNum};
        const bool prepaidReader = toBool(t.value(0));
        const int quotaLeftBefore = t.value(1).toInt() + (prepaidReader ? n : 0);
        const int limit = t.value(2).toInt();
        const bool rentalType = toBool(t.value(3));
        t.finish();
        const int allowance = limit - DeskSql::bookLoanCount(db(), r.number);
        if (allowance < n)
            return {allowanceRefusal(allowance)};
        if (rentalType && quotaLeftBefore < n)
            return {quotaRefusal(quotaLeftBefore)};

        for (const PendingBook &b : std::as_const(m_pending)) {
            // The copy is claimed only while no other desk has it out.
            const int got = db().execAffected(QStringLiteral("update 图书资料 set 状态=?,借出次数=coalesce(借出次数,0)+1 "
                                                             "where 图书编号=? and (状态 is null or 状态<>?)"),
                                              {DeskSql::Lent, b.number, DeskSql::Lent}, "LendingDesk::claimBook");
            if (got != 1 || !DeskSql::bookHolder(db(), b.number).isEmpty()) {
                const bool exists = db().scalar(QStringLiteral("select id from 图书资料 where 图书编号=?"), {b.number}).isValid();
                const QString text = exists
                    ? QString(QStringLiteral("编号为[") + b.number + QStringLiteral("]的图书《") + b.title
                              + QStringLiteral("》已被借出，本次借阅操作没有执行，请将其从借阅列表中删除后再借出！"))
                    : QString(QStringLiteral("编号为[") + b.number
                              + QStringLiteral("]的图书已不存在，本次借阅操作没有执行，请将其从借阅列表中删除后再借出！"));
                return {text, DeskFocus::None, b.number};
            }
            db().exec(QStringLiteral("insert into 图书借阅信息 (状态,读者类型,读者编号,姓名,性别,图书编号,图书名称,标准ISBN,分类名,"
                                     "借出日期,应还日期,操作员) values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                      {DeskSql::Open, r.type, r.number, r.name, r.sex, b.number, b.title, b.isbn, b.className, b.lendDate,
                       b.dueDate, operatorName()},
                      "LendingDesk::insertLoan");
        }

        if (prepaidReader)
            db().exec(QStringLiteral("update 包租充值 set 可用量=可用量-?,已用量=已用量+? where 读者编号=? and 状态=?"),
                      {n, n, r.number, QStringLiteral("有效")}, "LendingDesk::useQuota");
        db().exec(QStringLiteral("update 读者资料 set 状态=? where 编号=? and 包租=") + T + QStringLiteral(" and 当前可用量<=0"),
                  {QStringLiteral("过期"), r.number}, "LendingDesk::quotaUsedUp");
        // Like the start-up sweep: every expired prepaid reader's top-ups lapse.
        db().exec(QStringLiteral("update 包租充值 set 状态=? where 状态=? and 读者编号 in "
                                 "(select 编号 from 读者资料 where 包租=") + T + QStringLiteral(" and 状态=?)"),
                  {QStringLiteral("失效"), QStringLiteral("有效"), QStringLiteral("过期")}, "LendingDesk::voidTopUps");
        db().exec(QStringLiteral("update 预定记录 set 状态=? where 读者编号=? and 状态=? and 类型=?"),
                  {QStringLiteral("生效"), r.number, QStringLiteral("有效"), QStringLiteral("图书")},
                  "LendingDesk::fulfilReservations");
        return {};
    };

    Refusal refusal;
    try {
        Transaction tx(db());
        refusal = lendAll();
        if (refusal.text.isEmpty())
            tx.commit();
    } catch (const DbError &e) {
        LendOutcome out;
        static_cast<DeskOutcome &>(out) = dbFailed(e);
        return out;
    }
    if (!refusal.text.isEmpty()) {
        LendOutcome out = refuse(refusal.text, refusal.focus);
        out.refusedBook = refusal.book;
        return out;
    }
    LendOutcome out;
    static_cast<DeskOutcome &>(out) = done(QStringLiteral("图书借出操作成功！"));
    out.lent = n;
    out.focus = DeskFocus::ReaderNum;
    reset();
    return out;
}

} // namespace qandor
