#include "circulation/tfrmrentbook.h"
#include "circulation/deskwidgets.h"
#include "circulation/tfrmbookchoselist.h"
#include "circulation/tfrmunbackbookslist.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor {

using namespace DeskUi;

TfrmRentBook::TfrmRentBook(TBast &bast, const QString &operatorName, QWidget *parent)
    : QDialog(parent), m_desk(bast, operatorName), m_panel(this)
{
    setObjectName(QStringLiteral("frmRentBook"));
    setWindowTitle(QStringLiteral("借阅图书"));
    resize(900, 640);

    // Reader number
    m_inReader = input("Input_ReaderNum", this, [this] { loadReader(); });
    m_history = button("SeeHistory", QStringLiteral("查看当前读者未还的图书信息(&F)"), this);
    auto *readerIn = inputBox(QStringLiteral("输入读者编号调出读者信息"), {{QStringLiteral("读者编号【F2】"), m_inReader}}, this, this);
    readerIn->layout()->addWidget(m_history);
    connect(m_history, &QPushButton::clicked, this, &TfrmRentBook::seeHistory);

    // Reader
    m_panel.addStandardFields();
    m_countLimit = m_panel.addField("CountLimit", QStringLiteral("可借数量："));
    m_dateLimit = m_panel.addField("DateLimit", QStringLiteral("可借天数："));
    m_fixedNum = m_panel.addField("FixedNum", QStringLiteral("包租数量："));
    m_remainNum = m_panel.addField("RemainNum", QStringLiteral("可用数量："));
    m_fixedFlag = new QLabel(QStringLiteral("包租读者"), m_panel.box());
    m_fixedFlag->setObjectName(QStringLiteral("FixedRentFlag"));
    m_fixedFlag->setStyleSheet(QStringLiteral("color:#c0392b;font-weight:bold;font-size:14pt;"));
    m_panel.grid()->addWidget(m_fixedFlag, 4, 1, 1, 3);

    auto *left = new QVBoxLayout;
    left->addWidget(readerIn);
    left->addWidget(m_panel.box());
    QHBoxLayout *top = m_panel.besidePhoto(left);

    // Book search
    m_inNum = input("Input_BookNum", this, [this] { searchBook(BookSearch::Number); });
    m_inIsbn = input("Input_BookISBN", this, [this] { searchBook(BookSearch::Isbn); });
    m_inName = input("Input_BookName", this, [this] { searchBook(BookSearch::Title); });
    auto *bookIn = inputBox(QStringLiteral("输入图书编号、标准ISNB或者图书名称调出图书信息"),
                            {{QStringLiteral("图书编号【F3】"), m_inNum},
                             {QStringLiteral("标准ISBN【F4】"), m_inIsbn},
                             {QStringLiteral("图书名称【F5】"), m_inName}},
                            this);

    // Lending list
    auto *listBox = new QGroupBox(QStringLiteral("图书借阅列表"), this);
    auto *lLay = new QVBoxLayout(listBox);
    m_list = bookList({QStringLiteral("图书编号"), QStringLiteral("图书名称"), QStringLiteral("标准ISBN"), QStringLiteral("分类名"),
                       QStringLiteral("借阅日期"), QStringLiteral("应还日期")},
                      false, listBox);
    m_list->setColumnWidth(0, 110);
    m_list->setColumnWidth(1, 260);
    m_list->setColumnWidth(2, 130);
    m_list->setColumnWidth(3, 100);
    m_list->setColumnWidth(4, 95);
    lLay->addWidget(m_list);

    // Bottom
    auto *del = button("RzBitBtn1", QStringLiteral("删除列表中选中图书(&D)"), this);
    auto *clear = button("RzBitBtn2", QStringLiteral("清空列表中所有图书(&C)"), this);
    auto *lend = button("RzBitBtn3", QStringLiteral("借出列表中的图书(&S)"), this);
    auto *quit = button("RzBitBtn4", QStringLiteral("退出借阅图书操作(&Q)"), this);
    lend->setStyleSheet(QStringLiteral("font-weight:bold;"));
    connect(del, &QPushButton::clicked, this, &TfrmRentBook::removeSelected);
    connect(clear, &QPushButton::clicked, this, &TfrmRentBook::clearList);
    connect(lend, &QPushButton::clicked, this, &TfrmRentBook::lendBooks);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = commandRow(operatorAndClock(operatorName, true, this), {del, clear, lend, quit});

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(bookIn);
    lay->addWidget(listBox, 1);
    lay->addLayout(bottom);

    setTabOrder(m_inReader, m_inNum);
    setTabOrder(m_inNum, m_inIsbn);
    setTabOrder(m_inIsbn, m_inName);
    setTabOrder(m_inName, m_list);
    refresh();
    m_inReader->setFocus();
}

QLineEdit *TfrmRentBook::boxFor(DeskFocus f) const
{
    switch (f) {
    case DeskFocus::ReaderNum: return m_inReader;
    case DeskFocus::BookNum: return m_inNum;
    case DeskFocus::BookIsbn: return m_inIsbn;
    case DeskFocus::BookName: return m_inName;
    default: return nullptr;
    }
}

void TfrmRentBook::follow(const DeskOutcome &o)
{
    refresh();
    focusBox(boxFor(o.focus), o.selectInput);
}

void TfrmRentBook::refresh()
{
    const auto &r = m_desk.reader();
    m_panel.show(r);
    m_countLimit->setText(count(r ? r->allowance() : 0, QStringLiteral("本")));
    m_dateLimit->setText(count(r ? r->loanDays : 0, QStringLiteral("天")));
    m_fixedNum->setText(count(r ? r->quotaBought : 0, QStringLiteral("本")));
    m_remainNum->setText(count(r ? r->quotaLeft : 0, QStringLiteral("本")));
    m_fixedFlag->setVisible(r && r->prepaidReader);
    m_history->setEnabled(r.has_value());

    m_list->clear();
    for (const PendingBook &b : m_desk.pending()) {
        auto *item = new QTreeWidgetItem(m_list, {b.number, b.title, b.isbn, b.className,
                                                  b.lendDate.toString(QStringLiteral("yyyy-MM-dd")),
                                                  b.dueDate.toString(QStringLiteral("yyyy-MM-dd"))});
        Q_UNUSED(item);
    }
}

void TfrmRentBook::loadReader()
{
    if (m_busy)
        return;
    m_busy = true;
    const DeskOutcome o = m_desk.loadReader(m_inReader->text());
    // The box gets the shown number back when it was empty, else it is emptied.
    if (m_inReader->text().trimmed().isEmpty() && m_desk.reader())
        m_inReader->setText(m_desk.reader()->number);
    else
        m_inReader->clear();
    m_busy = false;
    follow(o);
}

void TfrmRentBook::searchBook(BookSearch kind)
{
    if (m_busy)
        return;
    m_busy = true;
    QLineEdit *box = kind == BookSearch::Number ? m_inNum : kind == BookSearch::Isbn ? m_inIsbn : m_inName;
    const BookSearchOutcome o = m_desk.addBookBySearch(box->text(), kind);
    if (o.needsChoice) {
        TfrmBookChoseList chooser(m_desk, o.candidates, this);
        chooser.exec();
    }
    // After a search (found or not) the three boxes are emptied.
    if (o.searched) {
        m_inNum->clear();
        m_inIsbn->clear();
        m_inName->clear();
    }
    m_busy = false;
    follow(o);
    if (o.needsChoice)
        m_inNum->setFocus();
}

void TfrmRentBook::seeHistory()
{
    DeskOutcome o;
    const auto loans = m_desk.unreturnedBooks(&o);
    if (!loans.isEmpty()) {
        TfrmUnbackBooksList list(loans, this);
        list.exec();
    }
}

void TfrmRentBook::removeSelected()
{
    QTreeWidgetItem *item = m_list->currentItem();
    const int row = item && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
    follow(m_desk.removePending(row));
}

void TfrmRentBook::clearList() { follow(m_desk.clearPending()); }

void TfrmRentBook::lendBooks()
{
    const LendOutcome o = m_desk.lendBooks();
    follow(o);
    if (o.ok)
        m_inReader->setFocus();
}

void TfrmRentBook::keyPressEvent(QKeyEvent *event)
{
    if (!deskKey(event, {m_inReader, m_inNum, m_inIsbn, m_inName}))
        QDialog::keyPressEvent(event);
}

bool TfrmRentBook::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the reader box with a number in it loads that reader, unless one is shown.
    if (watched == m_inReader && event->type() == QEvent::FocusOut && !m_busy && !m_desk.reader()
        && !m_inReader->text().trimmed().isEmpty())
        loadReader();
    return QDialog::eventFilter(watched, event);
}

} // namespace qandor
