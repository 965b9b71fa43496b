#pragma once

#include "circulation/cardactions.h"
#include "circulation/deskwidgets.h"

class QRadioButton;

namespace qandor {

// "读者借书证挂失与解除挂失操作".
class TfrmLostOrUnLost : public CardScreen {
    Q_OBJECT
public:
    explicit TfrmLostOrUnLost(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    CardLossDesk &desk() { return m_desk; }

    // findReader (Input_ReaderNum / Input_ReaderName), apply (RzBitBtn1): see CardScreen.
    void choose(CardLossDesk::Operation clicked); // LostCheck / UnLostCheck clicked

private:
    void refreshMore() override;

    CardLossDesk m_desk;
    QRadioButton *m_lost, *m_unlost;
};

} // namespace qandor
