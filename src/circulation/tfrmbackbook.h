#pragma once

#include "circulation/returndesk.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qandor {

// "归还图书": the return screen. Each row shows how its rent and fine were
// computed; the totals are the desk's sums of the ticked rows, and the return
// stores exactly those figures.
class TfrmBackBook : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackBook(TBast &bast, const QString &operatorName, QWidget *parent = nullptr);

    ReturnDesk &desk() { return m_desk; }

    void loadLoans(LoanLookup kind); // Input_ReaderNum / Input_BookNum
    void tickAll();                  // RzBitBtn1
    void untickAll();                // RzBitBtn2
    void clearAll();                 // RzBitBtn5
    void returnBooks();              // RzBitBtn3

    // Column of the explanation "7天 × ￥0.35 = ￥2.45".
    static constexpr int ExplainColumn = 8;
    static constexpr int IdColumn = 9;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void refreshTotals();
    void showDetail();
    void follow(const DeskOutcome &o);
    void itemChanged(QTreeWidgetItem *item, int column);

    ReturnDesk m_desk;
    QLineEdit *m_inReader, *m_inBook;
    QLineEdit *m_num, *m_name, *m_sex, *m_type, *m_rent, *m_mulct;
    QLineEdit *m_tRent, *m_tMulct, *m_tSum;
    QLabel *m_pic = nullptr, *m_detail;
    QTreeWidget *m_list;
    bool m_busy = false;
    bool m_filling = false;
};

} // namespace qandor
