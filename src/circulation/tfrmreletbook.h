#pragma once

#include "circulation/renewdesk.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qandor {

// "续借图书": the renewal screen, laid out like the return screen.
class TfrmReletBook : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReletBook(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    RenewDesk &desk() { return m_desk; }

    void loadLoans(LoanLookup kind);
    void tickAll();    // RzBitBtn1
    void untickAll();  // RzBitBtn2
    void clearAll();   // RzBitBtn5
    void renewBooks(); // RzBitBtn3

    static constexpr int IdColumn = 6;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void follow(const DeskOutcome &o);
    void itemChanged(QTreeWidgetItem *item, int column);

    RenewDesk m_desk;
    QLineEdit *m_inReader, *m_inBook;
    QLineEdit *m_num, *m_name, *m_sex, *m_type, *m_countLimit, *m_dateLimit;
    QLabel *m_pic = nullptr;
    QTreeWidget *m_list;
    bool m_busy = false;
    bool m_filling = false;
};

} // namespace qandor
