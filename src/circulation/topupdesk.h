#pragma once

#include "circulation/deskcommon.h"
#include "circulation/loancharges.h"
#include "data/money.h"

#include <QByteArray>
#include <optional>

namespace qandor {

// The prepaid reader shown at the top-up desk, with the terms of the type.
struct PrepaidReader {
    QString number, name, sex, status, type;
    Money price;    // 包租金 (FixRent)
    int quota = 0;  // 包租量 (FixedNum)
    int months = 0; // 有效期限 (FixedTime)
    QByteArray photo;
};

struct TopUpOutcome : DeskOutcome {
    qint64 recordId = 0;
    bool continueTopUp = false; // the operator answered Yes to "继续进行充值"
};

// The rules of the prepaid top-up screen (TfrmActiveFixedRent).
class TopUpDesk : public DeskBase {
public:
    using DeskBase::DeskBase;

    // LoadPrepaidReader: fills the dates and the amount from the type.
    DeskOutcome loadPrepaidReader(const QString &text);
    const std::optional<PrepaidReader> &reader() const { return m_reader; }

    QDate activeDate() const { return m_active; }
    QDate loseDate() const { return m_lose; }
    Money amount() const { return m_amount; }
    QString memo() const { return m_memo; }
    // Leaving ActiveDate moves LoseDate by the type's months.
    void setActiveDate(const QDate &day);
    void setLoseDate(const QDate &day) { m_lose = day; }
    void setAmount(Money amount) { m_amount = amount; }
    void setMemo(const QString &memo) { m_memo = memo; }

    // Writes the top-up record and gives the reader the quota, in one
    // transaction, only while the card is still not "正常".
    TopUpOutcome topUp();

    void reset();

private:
    std::optional<PrepaidReader> m_reader;
    QDate m_active, m_lose;
    Money m_amount;
    QString m_memo;
};

} // namespace qandor
