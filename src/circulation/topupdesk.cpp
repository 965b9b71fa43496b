#include "circulation/topupdesk.h"

#include <QSqlQuery>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");
} // namespace

void TopUpDesk::reset()
{
    m_reader.reset();
    m_active = QDate();
    m_lose = QDate();
    m_amount = Money();
    m_memo.clear();
}

void TopUpDesk::setActiveDate(const QDate &day)
{
    m_active = day;
    if (m_reader && day.isValid())
        m_lose = validUntil(day, m_reader->months);
}

DeskOutcome TopUpDesk::loadPrepaidReader(const QString &text)
{
    const QString number = text.trimmed();
    if (number.isEmpty()) {
        if (m_reader)
            return DeskOutcome::quiet(DeskFocus::ReaderNum);
        return say(QStringLiteral("请输入读者编号！"), Warn, DeskFocus::ReaderNum);
    }
    try {
        QSqlQuery q = db().exec(QStringLiteral("select 状态,编号,姓名,性别,类型,有效期限,照片,读者类型.包租 as 包租,包租金,包租量 "
                                               "from 读者资料,读者类型 where 读者资料.类型=读者类型.类型名称 and 编号=?"),
                                {number}, "TopUpDesk::loadPrepaidReader");
        if (!q.next()) {
            reset();
            return say(QStringLiteral("未检索到拥有此编号的读者信息，请检查读者编号输入是否正确！"), Warn, DeskFocus::ReaderNum, true);
        }
        if (!toBool(q.value(7))) {
            reset();
            return say(QStringLiteral("当前编号为[") + number + QStringLiteral("]的读者不属于包租模式类型，无法充值！"), Warn,
                       DeskFocus::ReaderNum, true);
        }
        const QString status = q.value(0).toString().trimmed();
        if (status == DeskSql::CardNormal) {
            reset();
            return say(QStringLiteral("当前编号为[") + number + QStringLiteral("]的读者的借书证处于[") + status
                           + QStringLiteral("]状态，无需充值！"),
                       Warn, DeskFocus::ReaderNum, true);
        }
        PrepaidReader r;
        r.number = number;
        r.status = status;
        r.name = q.value(2).toString().trimmed();
        r.sex = q.value(3).toString().trimmed();
        r.type = q.value(4).toString().trimmed();
        r.months = q.value(5).toInt();
        r.photo = q.value(6).toByteArray();
        r.price = Money::fromVariant(q.value(8));
        r.quota = q.value(9).toInt();
        m_reader = r;
        m_memo.clear();
        setActiveDate(today());
        m_amount = r.price;
    } catch (const DbError &e) {
        return dbFailed(e);
    }
    return DeskOutcome::success(DeskFocus::Amount);
}

TopUpOutcome TopUpDesk::topUp()
{
    TopUpOutcome out;
    auto stop = [&out](const DeskOutcome &o) {
        static_cast<DeskOutcome &>(out) = o;
        return out;
    };
    // Without a reader there is nothing to top up: no empty record is written.
    if (!m_reader)
        return stop(say(QStringLiteral("请先输入读者编号，调出读者信息！"), Warn, DeskFocus::ReaderNum));
    if (!m_active.isValid() || !m_lose.isValid())
        return stop(say(QStringLiteral("请输入正确的生效日期和失效日期！"), Warn));

    const PrepaidReader r = *m_reader;
    QString refusal; // shown after the rollback: no box waits on a locked row
    try {
        Transaction tx(db());
        // Only a card that still needs a top-up gets one: two desks selling
        // the same reader a quota at once must not both take the money.
        const int claimed = db().execAffected(
            QStringLiteral("update 读者资料 set 截止日期=?,当前包租量=?,当前可用量=?,当前已用量=0,包租=")
                + dialect().trueValue() + QStringLiteral(",状态=? where 编号=? and 状态<>?"),
            {m_lose, r.quota, r.quota, DeskSql::CardNormal, r.number, DeskSql::CardNormal}, "TopUpDesk::reader");
        if (claimed != 1) {
            const QVariant status = db().scalar(QStringLiteral("select 状态 from 读者资料 where 编号=?"), {r.number});
            refusal = !status.isValid() ? QStringLiteral("未检索到拥有此编号的读者信息，请检查读者编号输入是否正确！")
                                        : QString(QStringLiteral("当前编号为[") + r.number + QStringLiteral("]的读者的借书证处于[")
                                                  + status.toString().trimmed() + QStringLiteral("]状态，无需充值！"));
        } else {
            out.recordId = db().insertReturningId(
            QStringLiteral("insert into 包租充值 (状态,读者编号,姓名,性别,读者类型,充值日期,充值金额,包租量,可用量,已用量,生效日期,失效日期,"
                           "备注,操作员) values (?,?,?,?,?,?,?,?,?,0,?,?,?,?)"),
            {QStringLiteral("有效"), r.number, r.name, r.sex, r.type, today(), QVariant::fromValue(m_amount), r.quota, r.quota,
             m_active, m_lose, m_memo, operatorName()});
            tx.commit();
        }
    } catch (const DbError &e) {
        m_bast.messageSink()->showError(QStringLiteral("充值操作失败！"), e.details());
        out.message = QStringLiteral("充值操作失败！");
        return out;
    }
    if (!refusal.isEmpty())
        return stop(say(refusal, Warn, DeskFocus::ReaderNum));
    out.ok = true;
    out.message = QStringLiteral("充值成功！是否继续进行充值操作？");
    out.continueTopUp = m_bast.AskMsg(out.message, QStringLiteral("yes"));
    out.focus = DeskFocus::ReaderNum;
    reset();
    return out;
}

} // namespace qandor
