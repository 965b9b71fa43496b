#pragma once

#include "circulation/cardactions.h"
#include "circulation/deskcommon.h"
#include "data/money.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QLineEdit>
#include <QMap>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class QWidget;

namespace qandor::DeskUi {

// A read-only reader field (R_Num, R_Name, ...).
QLineEdit *field(const char *objectName, QWidget *parent, int width = 0);
// A look-up box: Enter or its trailing button runs `lookUp`.
QLineEdit *input(const char *objectName, QWidget *parent, std::function<void()> lookUp);
// A command button. Never a default button: Enter in the look-up boxes must
// only run the look-up.
QPushButton *button(const char *objectName, const QString &caption, QWidget *parent);
// Caption label left of a field.
void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *w);

// The reader photo ("Pic") in its panel "读者照片".
QGroupBox *photoPanel(QLabel *&pic, QWidget *parent);
void showPhoto(QLabel *pic, const QByteArray &jpeg);

// "当前操作员：" and "当前日期时间：" labels; `ticking` refreshes the time every second.
QWidget *operatorAndClock(const QString &operatorName, bool ticking, QWidget *parent);
// The desk time as the hub shows it: "yyyy年MM月dd日 hh时mm分".
QString nowText();

// A report-style list: row select, one column per caption, no sorting by click.
QTreeWidget *bookList(const QStringList &captions, bool checkBoxes, QWidget *parent);

// Focus (and select) the box a desk outcome points to.
void focusBox(QLineEdit *box, bool select);

QString count(int n, const QString &unit); // "3本"

// A group box of look-up boxes, each after its caption label; `focusFilter`
// (if any) watches the boxes for leaving them.
QGroupBox *inputBox(const QString &title, const QList<std::pair<QString, QLineEdit *>> &boxes, QWidget *parent,
                    QObject *focusFilter = nullptr);

// The command row: `lead` (the operator and clock) on the left, or space.
QHBoxLayout *commandRow(QWidget *lead, const QList<QPushButton *> &buttons);

// The desks' keys: F2, F3, ... focus (and select) `boxes` in turn; Enter is
// swallowed (the boxes run their own look-ups, there is no default button).
// False when the key is none of these.
bool deskKey(QKeyEvent *event, const QList<QLineEdit *> &boxes);

// The reader fields of a desk screen in their group box, two to a row after
// their captions, and the photo the screen puts beside them.
class ReaderPanel {
public:
    explicit ReaderPanel(QWidget *dialog, const QString &title = QStringLiteral("读者信息"));

    // R_Num, R_Name, R_Sex, R_Type: the first two rows of most desks.
    void addStandardFields();
    // A read-only field in the next place.
    QLineEdit *addField(const char *objectName, const QString &caption, bool rightAligned = false);
    // Any other control in the next place.
    void addWidget(const QString &caption, QWidget *w);

    QGroupBox *box() const { return m_box; }
    QGridLayout *grid() const { return m_grid; }
    QLineEdit *field(const QString &objectName) const { return m_fields.value(objectName); }

    // `left` beside the photo panel.
    QHBoxLayout *besidePhoto(QVBoxLayout *left, Qt::Alignment photoAlign = {}) const;

    // The number, name, sex, type and photo of the desk's reader, or empty.
    template <class Reader>
    void show(const std::optional<Reader> &r)
    {
        setText("R_Num", r ? r->number : QString());
        setText("R_Name", r ? r->name : QString());
        setText("R_Sex", r ? r->sex : QString());
        setText("R_Type", r ? r->type : QString());
        showPhoto(m_pic, r ? r->photo : QByteArray());
    }

private:
    void setText(const char *objectName, const QString &text) const;

    QLabel *m_pic = nullptr; // before m_photo: photoPanel() sets it
    QGroupBox *m_box;
    QGridLayout *m_grid;
    QGroupBox *m_photo;
    QMap<QString, QLineEdit *> m_fields;
    int m_next = 0;
};

} // namespace qandor::DeskUi

namespace qandor {

// The frame of the return and renewal screens: the reader number and book
// number boxes, the reader panel, the ticked loan list and the command row.
class LoanListScreen : public QDialog {
public:
    void loadLoans(LoanLookup kind); // Input_ReaderNum / Input_BookNum
    void tickAll();                  // RzBitBtn1
    void untickAll();                // RzBitBtn2
    void clearAll();                 // RzBitBtn5

protected:
    // `desk` is the derived screen's member: only its address is taken here.
    LoanListScreen(OpenLoanDesk &desk, const QString &inputTitle, QWidget *parent);

    // The list box and the command row under the reader area.
    void finishLayout(QLayout *readerArea, QWidget *listBox, const QString &operatorName, bool ticking,
                      const QString &actCaption, const QString &quitCaption, const std::function<void()> &act);

    virtual void refresh() = 0;
    virtual void afterLoad(const DeskOutcome &, LoanLookup) {}
    void follow(const DeskOutcome &o);
    // After the write command: refresh, and back to the reader box when done.
    void afterWrite(const DeskOutcome &o);

    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    OpenLoanDesk &m_loans;
    QLineEdit *m_inReader, *m_inBook;
    QGroupBox *m_inputBox;
    DeskUi::ReaderPanel m_panel;
    QTreeWidget *m_list = nullptr;
    bool m_busy = false;
    bool m_filling = false;
};

// The frame of the card loss and card cancellation screens: the reader
// number and name boxes, the reader panel with its status and operation
// date, and 确定 / 取消.
class CardScreen : public QDialog {
public:
    void findReader(CardLookup kind); // Input_ReaderNum / Input_ReaderName
    void apply();                     // RzBitBtn1

protected:
    CardScreen(CardDeskBase &desk, QWidget *parent);

    // `below` goes under the reader panel.
    void finishLayout(QWidget *below = nullptr);
    void resetScreen();
    void refresh();
    void follow(const DeskOutcome &o);

    // Each screen's own controls.
    virtual void refreshMore() {}
    virtual void clearMore() {}
    virtual void beforeApply() {}

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    CardDeskBase &m_card;
    QLineEdit *m_inNum, *m_inName;
    QGroupBox *m_inputBox;
    DeskUi::ReaderPanel m_panel;
    QLineEdit *m_state, *m_date;
    bool m_busy = false;
};

// Control_date: the text as a date, today when it is not a valid yyyy-MM-dd.
QDate operationDateFrom(const QString &text, const QDate &today);

} // namespace qandor
