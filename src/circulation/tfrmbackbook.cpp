#include "circulation/tfrmbackbook.h"
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
// The list keeps one line per loan.
QString oneLine(QString text) { return text.replace(QLatin1Char('\n'), QStringLiteral("；")); }
} // namespace

TfrmBackBook::TfrmBackBook(TBast &bast, const QString &operatorName, QWidget *parent)
    : QDialog(parent), m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmBackBook"));
    setWindowTitle(QStringLiteral("归还图书"));
    resize(980, 660);

    auto *inBox = new QGroupBox(QStringLiteral("输入需要归还图书的读者编号或者输入需要被归还的图书编号调出读者信息及其借阅信息"), this);
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
    m_rent = field("R_Rent", readerBox);
    m_mulct = field("R_Mulct", readerBox);
    m_rent->setAlignment(Qt::AlignRight);
    m_mulct->setAlignment(Qt::AlignRight);
    addField(rg, 0, 0, QStringLiteral("读者编号："), m_num);
    addField(rg, 0, 1, QStringLiteral("读者姓名："), m_name);
    addField(rg, 1, 0, QStringLiteral("读者性别："), m_sex);
    addField(rg, 1, 1, QStringLiteral("读者类型："), m_type);
    addField(rg, 2, 0, QStringLiteral("每日租金："), m_rent);
    addField(rg, 2, 1, QStringLiteral("超期罚金："), m_mulct);

    auto *totals = new QGroupBox(QStringLiteral("费用合计"), this);
    auto *tg = new QGridLayout(totals);
    m_tRent = field("T_Rent", totals);
    m_tMulct = field("T_Mulct", totals);
    m_tSum = field("T_Sum", totals);
    for (QLineEdit *e : {m_tRent, m_tMulct, m_tSum}) {
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(120);
    }
    m_tSum->setStyleSheet(QStringLiteral("QLineEdit{background:#fff7e0;color:#b03a2e;font-weight:bold;font-size:13pt;}"));
    addField(tg, 0, 0, QStringLiteral("租金合计："), m_tRent);
    addField(tg, 1, 0, QStringLiteral("罚金合计："), m_tMulct);
    addField(tg, 2, 0, QStringLiteral("金额总计："), m_tSum);

    auto *photo = photoPanel(m_pic, this);
    auto *left = new QVBoxLayout;
    left->addWidget(inBox);
    auto *mid = new QHBoxLayout;
    mid->addWidget(readerBox, 1);
    mid->addWidget(totals);
    left->addLayout(mid);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(photo);

    auto *listBox = new QGroupBox(QStringLiteral("图书借阅列表"), this);
    auto *lLay = new QVBoxLayout(listBox);
    m_list = bookList({QStringLiteral("图书编号"), QStringLiteral("图书名称"), QStringLiteral("借阅日期"), QStringLiteral("应还日期"),
                       QStringLiteral("天数"), QStringLiteral("租金"), QStringLiteral("超期"), QStringLiteral("罚金"),
                       QStringLiteral("计费说明"), QStringLiteral("id")},
                      true, listBox);
    const int widths[] = {120, 200, 90, 90, 50, 70, 50, 70, 260};
    for (int i = 0; i < 9; ++i)
        m_list->setColumnWidth(i, widths[i]);
    m_list->setColumnHidden(IdColumn, true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(ExplainColumn, QHeaderView::Stretch);
    m_detail = new QLabel(listBox);
    m_detail->setObjectName(QStringLiteral("ChargeDetail"));
    m_detail->setStyleSheet(QStringLiteral("color:#34495e;padding:2px;"));
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lLay->addWidget(m_list, 1);
    lLay->addWidget(m_detail);
    connect(m_list, &QTreeWidget::itemChanged, this, &TfrmBackBook::itemChanged);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &TfrmBackBook::showDetail);

    auto *all = button("RzBitBtn1", QStringLiteral("选中全部(&A)"), this);
    auto *none = button("RzBitBtn2", QStringLiteral("取消选中(&Z)"), this);
    auto *clear = button("RzBitBtn5", QStringLiteral("清空信息(&C)"), this);
    auto *ret = button("RzBitBtn3", QStringLiteral("归还列表中打钩的图书(&S)"), this);
    auto *quit = button("RzBitBtn4", QStringLiteral("退出当前归还图书操作(&Q)"), this);
    ret->setStyleSheet(QStringLiteral("font-weight:bold;"));
    connect(all, &QPushButton::clicked, this, &TfrmBackBook::tickAll);
    connect(none, &QPushButton::clicked, this, &TfrmBackBook::untickAll);
    connect(clear, &QPushButton::clicked, this, &TfrmBackBook::clearAll);
    connect(ret, &QPushButton::clicked, this, &TfrmBackBook::returnBooks);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    // The return screen shows the time it was opened.
    bottom->addWidget(operatorAndClock(operatorName, false, this), 1);
    for (QPushButton *b : {all, none, clear, ret, quit})
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

void TfrmBackBook::follow(const DeskOutcome &o)
{
    refresh();
    QLineEdit *box = o.focus == DeskFocus::ReaderNum ? m_inReader : o.focus == DeskFocus::BookNum ? m_inBook : nullptr;
    focusBox(box, o.selectInput);
}

void TfrmBackBook::refresh()
{
    const auto &r = m_desk.reader();
    m_num->setText(r ? r->number : QString());
    m_name->setText(r ? r->name : QString());
    m_sex->setText(r ? r->sex : QString());
    m_type->setText(r ? r->type : QString());
    m_rent->setText((r ? r->rentRate : Money()).format() + QStringLiteral("/本"));
    m_mulct->setText((r ? r->fineRate : Money()).format() + QStringLiteral("/本/天"));
    showPhoto(m_pic, r ? r->photo : QByteArray());

    m_filling = true;
    m_list->clear();
    for (const ReturnRow &row : m_desk.rows()) {
        const LoanCharges &c = row.charges;
        auto *item = new QTreeWidgetItem(m_list, {row.bookNum, row.title, iso(row.lent), iso(row.due), c.daysText(), c.rentText(),
                                                  c.overdueText(), c.fineText(), oneLine(c.explanation()), QString::number(row.id)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
        for (int col = 4; col <= 7; ++col)
            item->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(ExplainColumn, c.explanation());
        item->setToolTip(5, c.rentExplanation());
        item->setToolTip(7, c.fineExplanation());
        if (c.overdueDays > 0)
            item->setForeground(6, QColor(0xb0, 0x3a, 0x2e));
    }
    m_filling = false;
    refreshTotals();
    showDetail();
}

void TfrmBackBook::refreshTotals()
{
    const ReturnTotals t = m_desk.totals();
    m_tRent->setText(t.rent.format());
    m_tMulct->setText(t.fine.format());
    m_tSum->setText(t.sum().format());
}

void TfrmBackBook::showDetail()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= m_desk.rows().size()) {
        m_detail->setText(m_desk.rows().isEmpty() ? QString() : QStringLiteral("选中一本图书可查看其租金与罚金的计算方法。"));
        return;
    }
    const ReturnRow &r = m_desk.rows().at(row);
    m_detail->setText(QStringLiteral("[") + r.bookNum + QStringLiteral("] ") + r.title + QStringLiteral("：借阅") + iso(r.lent)
                      + QStringLiteral("，应还") + iso(r.due) + QStringLiteral("，") + oneLine(r.charges.explanation())
                      + QStringLiteral("，合计") + r.charges.total().format());
}

void TfrmBackBook::itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != 0)
        return;
    // Every change of a tick (mouse or keyboard) recomputes the totals.
    m_desk.setTicked(m_list->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    refreshTotals();
}

void TfrmBackBook::loadLoans(LoanLookup kind)
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
    if (o.ok && kind == LoanLookup::Book) {
        // Put the cursor on the row of the book typed.
        for (int i = 0; i < m_desk.rows().size(); ++i)
            if (m_desk.rows().at(i).ticked)
                m_list->setCurrentItem(m_list->topLevelItem(i));
    }
}

void TfrmBackBook::tickAll() { follow(m_desk.tickAll()); }
void TfrmBackBook::untickAll() { follow(m_desk.untickAll()); }

void TfrmBackBook::clearAll()
{
    m_desk.reset();
    m_inReader->clear();
    m_inBook->clear();
    follow(DeskOutcome::quiet(DeskFocus::ReaderNum));
}

void TfrmBackBook::returnBooks()
{
    const ReturnOutcome o = m_desk.returnBooks();
    follow(o);
    if (o.ok)
        m_inReader->setFocus();
}

void TfrmBackBook::keyPressEvent(QKeyEvent *event)
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

bool TfrmBackBook::eventFilter(QObject *watched, QEvent *event)
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
