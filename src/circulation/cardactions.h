#pragma once

#include "circulation/deskcommon.h"
#include "data/money.h"

#include <QByteArray>
#include <optional>

namespace qandor {

// The reader shown on the card screens.
struct CardReader {
    QString number, name, sex, type, status;
    Money deposit; // 押金 paid when the card was issued
    QByteArray photo;
};

enum class CardLookup { Number = 1, Name = 2 };

// What the card screens share: finding the reader and the operation date.
class CardDeskBase : public DeskBase {
public:
    using DeskBase::DeskBase;

    // FindCardReader. A name that matches several readers shows nothing.
    DeskOutcome findReader(const QString &text, CardLookup kind);
    const std::optional<CardReader> &reader() const { return m_reader; }

    // Control_date: an invalid or empty date means today.
    void setOperationDate(const QDate &day) { m_opDate = day; }
    QDate operationDate() const { return m_opDate.isValid() ? m_opDate : today(); }

    // The screen's change of the card, after the operator's yes.
    virtual DeskOutcome apply() = 0;

    virtual void reset();

protected:
    // The status test of each screen; a refusal text or empty.
    virtual QString refusalFor(const CardReader &r) const = 0;
    virtual void readerShown() {}
    DeskOutcome noReader() const;

    // One card change in one transaction: the conditional status update (it
    // must touch exactly the shown reader's row), then the log row. When the
    // update touches nothing, `refusal` says why after the rollback.
    struct CardChange {
        QString ask;
        QString update;
        QVariantList updateBinds;
        const char *updateWhere;
        std::function<QString()> refusal;
        QString log;
        QVariantList logBinds;
        const char *logWhere;
        QString doneText;
    };
    DeskOutcome changeCard(const CardChange &c);

    std::optional<CardReader> m_reader;
    QDate m_opDate;
};

// Card loss and recovery (TfrmLostOrUnLost).
class CardLossDesk : public CardDeskBase {
public:
    using CardDeskBase::CardDeskBase;

    enum class Operation { None, Loss, Recovery };
    Operation operation() const { return m_op; }
    // A click on LostCheck / UnLostCheck: the card's status decides which
    // one stays selected, with a warning when the click was the wrong one.
    DeskOutcome chooseOperation(Operation clicked);

    // ApplyLossChange: status and log row in one transaction, and only from
    // the status the reader was shown with.
    DeskOutcome apply() override;

    void reset() override;

protected:
    QString refusalFor(const CardReader &r) const override;
    void readerShown() override { applyStatusRule(Operation::None); }

private:
    DeskOutcome applyStatusRule(Operation clicked);
    Operation m_op = Operation::None;
};

// Card cancellation with the deposit refund (TfrmLogOut).
class CardCancelDesk : public CardDeskBase {
public:
    using CardDeskBase::CardDeskBase;

    // BackForegift: the deposit the reader paid, filled when the reader is shown.
    Money refund() const { return m_refund; }
    void setNote(const QString &note) { m_note = note; }
    QString note() const { return m_note; }

    // CancelCard: status and log row in one transaction.
    DeskOutcome apply() override;

    void reset() override;

protected:
    QString refusalFor(const CardReader &r) const override;
    void readerShown() override { m_refund = m_reader->deposit; }

private:
    Money m_refund;
    QString m_note;
};

} // namespace qandor
