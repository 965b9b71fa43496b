#include "circulation/tfrmreletbook.h"
#include "circulation/deskwidgets.h"

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

namespace {
QString iso(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
} // namespace

TfrmReletBook::TfrmReletBook(TBast &bast, const QString &operatorName, QWidget *parent)
    : QDialog(parent), m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmReletBook"));
    setWindowTitle(QStringLiteral("续借图书"));
    resize(900, 620);

    auto *inBox = new QGroupBox(QStringLiteral("输入需要续借图书的读者编号或者输入需要被续借的图书编号调出读者信息及其借阅信息"), this);
    auto *inLay = new QHBoxLayout(inBox);
    m_inReader = input("Input_ReaderNum", this, [this] { loadLoans(LoanLookup::Reader); });
    m_inBook = input("Input_BookNum", this, [this] { loadLoans(LoanLookup::Book); });
    for (const auto &[caption, box] : {std::pair<QString, QLineEdit *>{QStringLiteral("读者编号【F2】"), m_inReader},
                                       std::pair<QString, QLineEdit *>{QStringLiteral("图书编号【F3】"), m_inBook}}) {
        auto *l = new QLabel(caption, inBox);
        l->setBuddy(box);
        inLay->addWidget(l);
        inLay->addWidget(box, 1);
        box->installEventFilter(this);
    }

    auto *readerBox = new QGroupBox(QStringLiteral("读者信息"), this);
    auto *rg = new QGridLayout(readerBox);
    m_num = field("R_Num", readerBox);
    m_name = field("R_Name", readerBox);
    m_sex = field("R_Sex", readerBox);
    m_type = field("R_Type", readerBox);
    m_countLimit = field("CountLimit", readerBox);
    m_dateLimit = field("DateLimit", readerBox);
    addField(rg, 0, 0, QStringLiteral("读者编号："), m_num);
    addField(rg, 0, 1, QStringLiteral("读者姓名："), m_name);
    addField(rg, 1, 0, QStringLiteral("读者性别："), m_sex);
    addField(rg, 1, 1, QStringLiteral("读者类型："), m_type);
    addField(rg, 2, 0, QStringLiteral("可借数量："), m_countLimit);
    addField(rg, 2, 1, QStringLiteral("可借天数："), m_dateLimit);

    auto *photo = photoPanel(m_pic, this);
    auto *left = new QVBoxLayout;
    left->addWidget(inBox);
    left->addWidget(readerBox);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(photo);

    auto *listBox = new QGroupBox(QStringLiteral("图书借阅列表"), this);
    auto *lLay = new QVBoxLayout(listBox);
    m_list = bookList({QStringLiteral("图书编号"), QStringLiteral("图书名称"), QStringLiteral("标准ISBN"), QStringLiteral("分类名"),
                       QStringLiteral("借阅日期"), QStringLiteral("应还日期"), QStringLiteral("id")},
                      true, listBox);
    const int widths[] = {120, 240, 130, 100, 95, 95};
    for (int i = 0; i < 6; ++i)
        m_list->setColumnWidth(i, widths[i]);
    m_list->setColumnHidden(IdColumn, true);
    lLay->addWidget(m_list);
    connect(m_list, &QTreeWidget::itemChanged, this, &TfrmReletBook::itemChanged);

    auto *all = button("RzBitBtn1", QStringLiteral("选中全部(&A)"), this);
    auto *none = button("RzBitBtn2", QStringLiteral("取消选中(&Z)"), this);
    auto *clear = button("RzBitBtn5", QStringLiteral("清空信息(&C)"), this);
    auto *renew = button("RzBitBtn3", QStringLiteral("续借列表中打钩的图书(&S)"), this);
    auto *quit = button("RzBitBtn4", QStringLiteral("退出当前续借图书操作(&Q)"), this);
    renew->setStyleSheet(QStringLiteral("font-weight:bold;"));
    connect(all, &QPushButton::clicked, this, &TfrmReletBook::tickAll);
    connect(none, &QPushButton::clicked, this, &TfrmReletBook::untickAll);
    connect(clear, &QPushButton::clicked, this, &TfrmReletBook::clearAll);
    connect(renew, &QPushButton::clicked, this, &TfrmReletBook::renewBooks);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(operatorAndClock(operatorName, true, this), 1);
    for (QPushButton *b : {all, none, clear, renew, quit})
        bottom->addWidget(b);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(listBox, 1);
    lay->addLayout(bottom);

    setTabOrder(m_inReader, m_inBook);
    setTabOrder(m_inBook, m_list);
    refresh();
    m_inReader->setFocus();
}

void TfrmReletBook::follow(const DeskOutcome &o)
{
    refresh();
    QLineEdit *box = o.focus == DeskFocus::ReaderNum ? m_inReader : o.focus == DeskFocus::BookNum ? m_inBook : nullptr;
    focusBox(box, o.selectInput);
}

void TfrmReletBook::refresh()
{
    const auto &r = m_desk.reader();
    m_num->setText(r ? r->number : QString());
    m_name->setText(r ? r->name : QString());
    m_sex->setText(r ? r->sex : QString());
    m_type->setText(r ? r->type : QString());
    m_countLimit->setText(count(r ? r->allowance : 0, QStringLiteral("本")));
    m_dateLimit->setText(count(r ? r->loanDays : 0, QStringLiteral("天")));
    showPhoto(m_pic, r ? r->photo : QByteArray());

    m_filling = true;
    m_list->clear();
    for (const RenewRow &row : m_desk.rows()) {
        auto *item = new QTreeWidgetItem(m_list, {row.bookNum, row.title, row.isbn, row.className, iso(row.lent), iso(row.due),
                                                  QString::number(row.id)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
        if (row.renewedToday) {
            item->setForeground(0, QColor(0x7f, 0x8c, 0x8d));
            item->setToolTip(0, QStringLiteral("今日已续借"));
        }
    }
    m_filling = false;
}

void TfrmReletBook::itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != 0)
        return;
    const int row = m_list->indexOfTopLevelItem(item);
    m_desk.setTicked(row, item->checkState(0) == Qt::Checked);
    // The desk may have taken the tick off again (renewed today): show its state.
    m_filling = true;
    item->setCheckState(0, m_desk.rows().value(row).ticked ? Qt::Checked : Qt::Unchecked);
    m_filling = false;
}

void TfrmReletBook::loadLoans(LoanLookup kind)
{
    if (m_busy)
        return;
    m_busy = true;
    QLineEdit *box = kind == LoanLookup::Reader ? m_inReader : m_inBook;
    const DeskOutcome o = m_desk.loadOpenLoans(box->text(), kind);
    const bool giveBack = kind == LoanLookup::Reader && box->text().trimmed().isEmpty() && m_desk.reader();
    m_inReader->clear();
    m_inBook->clear();
    if (giveBack)
        m_inReader->setText(m_desk.reader()->number);
    m_busy = false;
    follow(o);
}

void TfrmReletBook::tickAll() { follow(m_desk.tickAll()); }
void TfrmReletBook::untickAll() { follow(m_desk.untickAll()); }

void TfrmReletBook::clearAll()
{
    m_desk.reset();
    m_inReader->clear();
    m_inBook->clear();
    follow(DeskOutcome::quiet(DeskFocus::ReaderNum));
}

void TfrmReletBook::renewBooks()
{
    const RenewOutcome o = m_desk.renewBooks();
    follow(o);
    if (o.ok)
        m_inReader->setFocus();
}

void TfrmReletBook::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F2: focusBox(m_inReader, true); break;
    case Qt::Key_F3: focusBox(m_inBook, true); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

bool TfrmReletBook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_busy && !m_desk.reader()) {
        if (watched == m_inReader && !m_inReader->text().trimmed().isEmpty())
            loadLoans(LoanLookup::Reader);
        else if (watched == m_inBook && !m_inBook->text().trimmed().isEmpty())
            loadLoans(LoanLookup::Book);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qandor
