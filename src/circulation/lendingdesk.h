#pragma once

#include "circulation/deskcommon.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace qandor {

// The reader shown at the lending desk, with the terms of the reader's type.
struct LendReader {
    QString number, name, sex, type;
    int bookLimit = 0;          // 图书可借数量
    int loanDays = 0;           // 图书可借天数 (DateLimit)
    int openLoans = 0;          // open book loans when loaded
    bool prepaidReader = false; // 读者资料.包租 (the FixedRentFlag label)
    bool rentalType = false;    // 读者类型.包租: the quota limits the list
    int quotaBought = 0;        // 当前包租量 (FixedNum)
    int quotaLeft = 0;          // 当前可用量 (RemainNum)
    QByteArray photo;
    int allowance() const { return bookLimit - openLoans; } // CountLimit
};

// A copy found by a search, as the chooser lists it.
struct BookCandidate {
    qint64 id = 0;
    QString status, number, title, isbn, className;
};

// One row of the lending list.
struct PendingBook {
    QString number, title, isbn, className;
    QDate lendDate, dueDate;
};

enum class BookSearch { Number = 1, Isbn = 2, Title = 3 };

struct BookSearchOutcome : DeskOutcome {
    // Several copies match: the screen opens the chooser on these and calls
    // addBookToList with the one picked.
    QList<BookCandidate> candidates;
    bool needsChoice = false;
    // The copy table was searched (steps past the input checks): the screen
    // empties its three search boxes.
    bool searched = false;
};

struct LendOutcome : DeskOutcome {
    int lent = 0;
    QString refusedBook; // the copy that stopped the lend, when one did
};

// The rules of the lending screen (TfrmRentBook): the reader, the pending
// list and the lend command. Messages go through TBast; each entry point
// returns what happened so the screen can refresh and move the focus.
class LendingDesk : public DeskBase {
public:
    using DeskBase::DeskBase;

    const std::optional<LendReader> &reader() const { return m_reader; }
    const QList<PendingBook> &pending() const { return m_pending; }

    // LoadReader, then the reader's valid book reservations go through
    // addBookBySearch one by one.
    DeskOutcome loadReader(const QString &text);
    BookSearchOutcome addBookBySearch(const QString &text, BookSearch kind);
    // The chooser's pick (and each single search hit).
    DeskOutcome addBookToList(const BookCandidate &book);
    DeskOutcome removePending(int row);
    DeskOutcome clearPending();
    // Open loans of the shown reader for the "未还图书列表" window; says so
    // when there are none.
    QList<DeskSql::OpenLoanBrief> unreturnedBooks(DeskOutcome *outcome = nullptr);

    // Lends the whole list in one transaction: the reader's card, allowance
    // and quota are checked again on the locked reader row, each copy is
    // claimed with a conditional update. Anything refused: nothing written.
    LendOutcome lendBooks();

    // ResetLending.
    void reset();

private:
    LendOutcome refuse(const QString &text, DeskFocus focus = DeskFocus::None);

    std::optional<LendReader> m_reader;
    QList<PendingBook> m_pending;
};

} // namespace qandor
