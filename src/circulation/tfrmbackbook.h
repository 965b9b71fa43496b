#pragma once

#include "circulation/deskwidgets.h"
#include "circulation/returndesk.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qandor {

// "归还图书": the return screen. Each row shows how its rent and fine were
// computed; the totals are the desk's sums of the ticked rows, and the return
// stores exactly those figures.
class TfrmBackBook : public LoanListScreen {
    Q_OBJECT
public:
    explicit TfrmBackBook(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    ReturnDesk &desk() { return m_desk; }

    // loadLoans (Input_ReaderNum / Input_BookNum), tickAll (RzBitBtn1),
    // untickAll (RzBitBtn2), clearAll (RzBitBtn5): see LoanListScreen.
    void returnBooks(); // RzBitBtn3

    // Column of the explanation "7天 × ￥0.35 = ￥2.45".
    static constexpr int ExplainColumn = 8;
    static constexpr int IdColumn = 9;

private:
    void refresh() override;
    void afterLoad(const DeskOutcome &o, LoanLookup kind) override;
    void refreshTotals();
    void showDetail();
    void itemChanged(QTreeWidgetItem *item, int column);

    ReturnDesk m_desk;
    QLineEdit *m_rent, *m_mulct;
    QLineEdit *m_tRent, *m_tMulct, *m_tSum;
    QLabel *m_detail;
};

} // namespace qandor
