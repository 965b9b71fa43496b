#pragma once

#include "circulation/cardactions.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace qandor {

// "读者借书证注销操作": cancels a card for good and refunds the deposit.
class TfrmLogOut : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogOut(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    CardCancelDesk &desk() { return m_desk; }

    void findReader(CardLookup kind); // Input_ReaderNum / Input_ReaderName
    void apply();                     // RzBitBtn1

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void follow(const DeskOutcome &o);
    void resetScreen();

    CardCancelDesk m_desk;
    QLineEdit *m_inNum, *m_inName;
    QLineEdit *m_num, *m_name, *m_sex, *m_type, *m_state, *m_date, *m_refund, *m_memo;
    QLabel *m_pic = nullptr;
    bool m_busy = false;
};

} // namespace qandor
