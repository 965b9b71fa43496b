#pragma once

#include "circulation/deskcommon.h"
#include "circulation/loancharges.h"

#include <QByteArray>
#include <QList>

namespace qandor {

// How the operator calls loans up at the return and renewal desks.
enum class LoanLookup { Reader = 1, Book = 2 };

// The reader whose open loans are shown.
struct LoanReader {
    QString number, name, sex, type;
    Money rentRate, fineRate; // R_Rent, R_Mulct (the first loan's type)
    int bookLimit = 0;        // renewal desk: 图书可借数量
    int loanDays = 0;         // renewal desk: 图书可借天数 (DateLimit)
    int allowance = 0;        // renewal desk: CountLimit
    QByteArray photo;
};

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
class ReturnDesk : public DeskBase {
public:
    using DeskBase::DeskBase;

    DeskOutcome loadOpenLoans(const QString &text, LoanLookup kind);
    const std::optional<LoanReader> &reader() const { return m_reader; }
    const QList<ReturnRow> &rows() const { return m_rows; }

    void setTicked(int row, bool ticked);
    DeskOutcome tickAll();
    DeskOutcome untickAll();
    int tickedCount() const;
    // SumTicked.
    ReturnTotals totals() const;

    // Closes the ticked loans in one transaction. A loan already returned at
    // another desk stops the whole return and nothing is written.
    ReturnOutcome returnBooks();

    // ResetReturn.
    void reset();

private:
    std::optional<LoanReader> m_reader;
    QList<ReturnRow> m_rows;
};

} // namespace qandor
