#pragma once

#include "circulation/deskwidgets.h"
#include "circulation/lendingdesk.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace qandor {

// "借阅图书": the lending screen. Binds its controls to a LendingDesk; every
// rule and message is the desk's.
class TfrmRentBook : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRentBook(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    LendingDesk &desk() { return m_desk; }

    void loadReader();                     // Input_ReaderNum: Enter or its button
    void searchBook(BookSearch kind);      // Input_BookNum / Input_BookISBN / Input_BookName
    void seeHistory();                     // SeeHistory
    void removeSelected();                 // RzBitBtn1
    void clearList();                      // RzBitBtn2
    void lendBooks();                      // RzBitBtn3

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void follow(const DeskOutcome &o);
    QLineEdit *boxFor(DeskFocus f) const;

    LendingDesk m_desk;
    QLineEdit *m_inReader, *m_inNum, *m_inIsbn, *m_inName;
    DeskUi::ReaderPanel m_panel;
    QLineEdit *m_countLimit, *m_dateLimit, *m_fixedNum, *m_remainNum;
    QLabel *m_fixedFlag;
    QPushButton *m_history;
    QTreeWidget *m_list;
    bool m_busy = false;
};

} // namespace qandor
