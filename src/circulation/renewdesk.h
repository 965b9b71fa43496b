#pragma once

#include "circulation/returndesk.h"

namespace qandor {

// One row of the renewal list.
struct RenewRow {
    qint64 id = 0;
    QString bookNum, title, isbn, className;
    QDate lent, due;
    int loanDays = 0;          // the period of the type the loan names
    bool renewedToday = false; // once per calendar day
    bool ticked = false;
};

struct RenewOutcome : DeskOutcome {
    int renewed = 0;
    QString refusedBook;
};

// The rules of the renewal screen (TfrmReletBook). The new due date counts
// from the day of renewal; each renewal is recorded and counts as a loan.
class RenewDesk : public OpenLoanDesk {
public:
    using OpenLoanDesk::OpenLoanDesk;

    DeskOutcome loadOpenLoans(const QString &text, LoanLookup kind) override;
    const QList<RenewRow> &rows() const { return m_rows; }

    // A tick on a book renewed today is taken off again with the once-a-day message.
    DeskOutcome setTicked(int row, bool ticked);
    DeskOutcome tickAll() override; // skips books renewed today
    DeskOutcome untickAll() override;
    int tickedCount() const;

    // Renews the ticked loans in one transaction; the once-a-day rule and the
    // loan being still open are checked again on the locked loan rows.
    RenewOutcome renewBooks();

    bool renewedToday(const QString &bookNum) const;

protected:
    void clearRows() override { m_rows.clear(); }

private:
    QList<RenewRow> m_rows;
};

} // namespace qandor
