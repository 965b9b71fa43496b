#pragma once

#include "circulation/cardactions.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace qandor {

// "读者借书证挂失与解除挂失操作".
class TfrmLostOrUnLost : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLostOrUnLost(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    CardLossDesk &desk() { return m_desk; }

    void findReader(CardLookup kind); // Input_ReaderNum / Input_ReaderName
    void choose(CardLossDesk::Operation clicked); // LostCheck / UnLostCheck clicked
    void apply();                     // RzBitBtn1

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void follow(const DeskOutcome &o);
    void resetScreen();

    CardLossDesk m_desk;
    QLineEdit *m_inNum, *m_inName;
    QLineEdit *m_num, *m_name, *m_sex, *m_type, *m_state, *m_date;
    QRadioButton *m_lost, *m_unlost;
    QLabel *m_pic = nullptr;
    bool m_busy = false;
};

// Control_date: the text as a date, today when it is not a valid yyyy-MM-dd.
QDate operationDateFrom(const QString &text, const QDate &today);

} // namespace qandor
