#pragma once

#include "circulation/lendingdesk.h"

#include <QDialog>

namespace qandor {

class DataGrid;

// Several copies match a search at the lending desk: the operator picks one.
// "选择(&S)" lists it through the desk and closes only when it was added
// (a lent copy keeps the chooser open).
class TfrmBookChoseList : public QDialog {
    Q_OBJECT
public:
    TfrmBookChoseList(LendingDesk &desk, const QList<BookCandidate> &books, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    // The copy under the cursor, in the order shown (after a title-click sort).
    int currentCandidate() const;
    void choose(); // "选择(&S)"

private:
    LendingDesk &m_desk;
    QList<BookCandidate> m_books;
    DataGrid *m_grid;
};

} // namespace qandor
