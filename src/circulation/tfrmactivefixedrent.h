#pragma once

#include "circulation/deskwidgets.h"
#include "circulation/topupdesk.h"

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qandor {

// "包租充值": sells a prepaid reader a new quota.
class TfrmActiveFixedRent : public QDialog {
    Q_OBJECT
public:
    explicit TfrmActiveFixedRent(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    TopUpDesk &desk() { return m_desk; }

    void loadReader();   // Input_ReaderNum
    void activeDateLeft(); // leaving ActiveDate moves LoseDate
    void clearAll();     // RzBitBtn2
    void topUp();        // RzBitBtn3
    void seeHistory();   // SeeHistory

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refresh();
    void follow(const DeskOutcome &o);

    TopUpDesk m_desk;
    TBast &m_bast;
    QLineEdit *m_inReader;
    DeskUi::ReaderPanel m_panel;
    QLineEdit *m_state, *m_fixedNum, *m_fixRent, *m_fixedTime;
    QDateEdit *m_active, *m_lose;
    QLineEdit *m_pay, *m_memo;
    QGroupBox *m_payBox;
    QPushButton *m_history;
    bool m_filling = false;
};

} // namespace qandor
