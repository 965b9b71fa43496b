#pragma once

#include "circulation/cardactions.h"
#include "circulation/deskwidgets.h"

class QLineEdit;

namespace qandor {

// "读者借书证注销操作": cancels a card for good and refunds the deposit.
class TfrmLogOut : public CardScreen {
    Q_OBJECT
public:
    explicit TfrmLogOut(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    CardCancelDesk &desk() { return m_desk; }

    // findReader (Input_ReaderNum / Input_ReaderName), apply (RzBitBtn1): see CardScreen.

private:
    void refreshMore() override;
    void clearMore() override;
    void beforeApply() override;

    CardCancelDesk m_desk;
    QLineEdit *m_refund, *m_memo;
};

} // namespace qandor
