#pragma once

#include "circulation/deskwidgets.h"
#include "circulation/renewdesk.h"

class QLineEdit;
class QTreeWidgetItem;

namespace qandor {

// "续借图书": the renewal screen, laid out like the return screen.
class TfrmReletBook : public LoanListScreen {
    Q_OBJECT
public:
    explicit TfrmReletBook(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    RenewDesk &desk() { return m_desk; }

    // loadLoans, tickAll (RzBitBtn1), untickAll (RzBitBtn2), clearAll
    // (RzBitBtn5): see LoanListScreen.
    void renewBooks(); // RzBitBtn3

    static constexpr int IdColumn = 6;

private:
    void refresh() override;
    void itemChanged(QTreeWidgetItem *item, int column);

    RenewDesk m_desk;
    QLineEdit *m_countLimit, *m_dateLimit;
};

} // namespace qandor
