#include "circulation/cardactions.h"

#include <QSqlQuery>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");
const QString Lost = QStringLiteral("挂失");
const QString Cancelled = QStringLiteral("注销");
} // namespace

void CardDeskBase::reset()
{
    m_reader.reset();
    m_opDate = QDate();
}

DeskOutcome CardDeskBase::noReader() const
{
    return say(QStringLiteral("请先输入读者编号或者读者姓名，调出读者信息！"), Warn, DeskFocus::ReaderNum);
}

DeskOutcome CardDeskBase::findReader(const QString &text, CardLookup kind)
{
    const DeskFocus box = kind == CardLookup::Number ? DeskFocus::ReaderNum : DeskFocus::ReaderName;
    const QString value = text.trimmed();
    if (value.isEmpty())
        return say(kind == CardLookup::Number ? QStringLiteral("请输入读者编号编号！") : QStringLiteral("请输入读者姓名！"), Warn, box);
    QList<CardReader> found;
    try {
        const QString head = QStringLiteral("select 状态,编号,姓名,性别,类型,照片,押金 from 读者资料 where ");
        QSqlQuery q = kind == CardLookup::Number
            ? db().exec(head + QStringLiteral("编号=?"), {value}, "CardDesk::findReader")
            : db().exec(head + QStringLiteral("姓名 like ? escape '\\' order by id"), {dialect().likePattern(value)},
                        "CardDesk::findReader");
        while (q.next()) {
            CardReader r;
            r.status = q.value(0).toString().trimmed();
            r.number = q.value(1).toString().trimmed();
            r.name = q.value(2).toString().trimmed();
            r.sex = q.value(3).toString().trimmed();
            r.type = q.value(4).toString().trimmed();
            r.photo = q.value(5).toByteArray();
            r.deposit = Money::fromVariant(q.value(6));
            found.append(r);
        }
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    if (found.isEmpty()) {
        reset();
        return say(kind == CardLookup::Number ? QStringLiteral("未检索到拥有此编号的读者信息，请检查读者编号输入是否正确！")
                                              : QStringLiteral("未检索到拥有此姓名的读者信息，请检查读者姓名输入是否正确！"),
                   Warn, box, true);
    }
    const QString refusal = refusalFor(found.first());
    if (!refusal.isEmpty()) {
        reset();
        return say(refusal, Warn, DeskFocus::ReaderNum, true);
    }
    if (found.size() > 1) // several readers of that name: nothing is shown
        return DeskOutcome::quiet(box);
    m_reader = found.first();
    readerShown();
    return DeskOutcome::success(box);
}

DeskOutcome CardDeskBase::changeCard(const CardChange &c)
{
    if (!m_bast.AskMsg(c.ask, QStringLiteral("ok")))
        return {};
    QString refusal; // shown after the rollback: no box waits on a locked row
    try {
        Transaction tx(db());
        if (db().execAffected(c.update, c.updateBinds, c.updateWhere) != 1) {
            refusal = c.refusal();
        } else {
            db().exec(c.log, c.logBinds, c.logWhere);
            tx.commit();
        }
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    if (!refusal.isEmpty()) {
        reset();
        return say(refusal, Warn, DeskFocus::ReaderNum);
    }
    DeskOutcome o = done(c.doneText);
    o.focus = DeskFocus::ReaderNum;
    reset();
    return o;
}

// --- loss and recovery ---

void CardLossDesk::reset()
{
    CardDeskBase::reset();
    m_op = Operation::None;
}

QString CardLossDesk::refusalFor(const CardReader &r) const
{
    if (r.status == DeskSql::CardNormal || r.status == Lost)
        return {};
    return QStringLiteral("当前编号为[") + r.number + QStringLiteral("]的读者的借书证处于[") + r.status
        + QStringLiteral("]状态，不能进行挂失或者解除挂失的操作！");
}

DeskOutcome CardLossDesk::applyStatusRule(Operation clicked)
{
    DeskOutcome o = DeskOutcome::success();
    const QString status = m_reader ? m_reader->status : QString();
    if (status == DeskSql::CardNormal) {
        if (clicked == Operation::Recovery)
            o = say(QStringLiteral("当前读者借书证处于[正常]状态，只能进行挂失操作！"), Warn);
        m_op = Operation::Loss;
    } else if (status == Lost) {
        if (clicked == Operation::Loss)
            o = say(QStringLiteral("当前读者借书证处于[挂失]状态，只能进行解除挂失操作！"), Warn);
        m_op = Operation::Recovery;
    } else {
        m_op = Operation::None;
    }
    return o;
}

DeskOutcome CardLossDesk::chooseOperation(Operation clicked)
{
    return applyStatusRule(clicked);
}

DeskOutcome CardLossDesk::apply()
{
    if (!m_reader)
        return noReader();
    if (m_op == Operation::None)
        return DeskOutcome{};
    const bool loss = m_op == Operation::Loss;
    const QString operation = loss ? Lost : QStringLiteral("解除挂失");
    const QString from = loss ? DeskSql::CardNormal : Lost;
    const QString to = loss ? Lost : DeskSql::CardNormal;
    const CardReader r = *m_reader;
    return changeCard({QStringLiteral("是否确定对编号为[") + r.number + QStringLiteral("]的读者进行借书证") + operation
                           + QStringLiteral("操作？"),
                       // From the status shown only: another desk may have changed the card meanwhile.
                       QStringLiteral("update 读者资料 set 状态=? where 编号=? and 状态=?"),
                       {to, r.number, from},
                       "CardLossDesk::status",
                       [&] {
                           const QString now = db().scalar(QStringLiteral("select 状态 from 读者资料 where 编号=?"), {r.number})
                                                   .toString()
                                                   .trimmed();
                           return QString(QStringLiteral("当前编号为[") + r.number + QStringLiteral("]的读者的借书证处于[") + now
                                          + QStringLiteral("]状态，不能进行") + operation + QStringLiteral("的操作！"));
                       },
                       QStringLiteral("insert into 读者挂失记录 (操作日期,操作方式,读者编号,读者姓名,读者性别,读者类型,操作员) values (?,?,?,?,?,?,?)"),
                       {operationDate(), operation, r.number, r.name, r.sex, r.type, operatorName()},
                       "CardLossDesk::log",
                       QStringLiteral("借书证") + operation + QStringLiteral("操作成功！")});
}

// --- cancellation ---

void CardCancelDesk::reset()
{
    CardDeskBase::reset();
    m_refund = Money();
    m_note.clear();
}

QString CardCancelDesk::refusalFor(const CardReader &r) const
{
    if (r.status != Cancelled)
        return {};
    return QStringLiteral("当前编号为[") + r.number + QStringLiteral("]的读者的借书证处于[") + r.status
        + QStringLiteral("]状态，不能再次进行注销的操作！");
}

DeskOutcome CardCancelDesk::apply()
{
    if (!m_reader)
        return noReader();
    const CardReader r = *m_reader;
    return changeCard({QStringLiteral("是否确定对编号为[") + r.number + QStringLiteral("]的读者进行借书证注销操作？"),
                       // A card is cancelled (and its deposit refunded) once only.
                       QStringLiteral("update 读者资料 set 状态=? where 编号=? and (状态 is null or 状态<>?)"),
                       {Cancelled, r.number, Cancelled},
                       "CardCancelDesk::status",
                       [&] {
                           return QString(QStringLiteral("当前编号为[") + r.number
                                          + QStringLiteral("]的读者的借书证处于[注销]状态，不能再次进行注销的操作！"));
                       },
                       QStringLiteral("insert into 读者注销记录 (注销日期,读者编号,读者姓名,读者性别,读者类型,退还押金,备注,操作员) "
                                      "values (?,?,?,?,?,?,?,?)"),
                       {operationDate(), r.number, r.name, r.sex, r.type, QVariant::fromValue(m_refund), m_note.trimmed(),
                        operatorName()},
                       "CardCancelDesk::log",
                       QStringLiteral("借书证注销操作成功！")});
}

} // namespace qandor
