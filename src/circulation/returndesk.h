#pragma once

#include "circulation/deskcommon.h"
#include "circulation/loancharges.h"

#include <QByteArray>
#include <QList>

namespace qandor {

// One row of the return list: the loan and what returning it today costs.
struct ReturnRow {
    qint64 id = 0;
    QString bookNum, title, className;
    QDate lent, due;
    LoanCharges charges; // exactly what is shown and what is stored
    bool ticked = false;
};

struct ReturnTotals {
    Money rent, fine;
    Money sum() const { return rent + fine; }
};

struct ReturnOutcome : DeskOutcome {
    int returned = 0;
    QString refusedBook;
};

// The rules of the return screen (TfrmBackBook). Charges are computed once
// when the loans are called up, from the rates of the type each loan names,
// and the return stores exactly those figures.
class ReturnDesk : public OpenLoanDesk {
public:
    using OpenLoanDesk::OpenLoanDesk;

    DeskOutcome loadOpenLoans(const QString &text, LoanLookup kind) override;
    const QList<ReturnRow> &rows() const { return m_rows; }

    void setTicked(int row, bool ticked);
    DeskOutcome tickAll() override;
    DeskOutcome untickAll() override;
    int tickedCount() const;
    // SumTicked.
    ReturnTotals totals() const;

    // Closes the ticked loans in one transaction. A loan already returned at
    // another desk stops the whole return and nothing is written.
    ReturnOutcome returnBooks();

protected:
    void clearRows() override { m_rows.clear(); } // ResetReturn

private:
    QList<ReturnRow> m_rows;
};

} // namespace qandor
