#include "circulation/tfrmbackbook.h"
#include "circulation/deskwidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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
    : LoanListScreen(m_desk, QStringLiteral("输入需要归还图书的读者编号或者输入需要被归还的图书编号调出读者信息及其借阅信息"), parent),
      m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmBackBook"));
    setWindowTitle(QStringLiteral("归还图书"));
    resize(980, 660);

    m_rent = m_panel.addField("R_Rent", QStringLiteral("每日租金："), true);
    m_mulct = m_panel.addField("R_Mulct", QStringLiteral("超期罚金："), true);

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
    auto *mid = new QHBoxLayout;
    mid->addWidget(m_panel.box(), 1);
    mid->addWidget(totals);

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

    // The return screen shows the time it was opened.
    finishLayout(mid, listBox, operatorName, false, QStringLiteral("归还列表中打钩的图书(&S)"),
                 QStringLiteral("退出当前归还图书操作(&Q)"), [this] { returnBooks(); });
    refresh();
    m_inReader->setFocus();
}

void TfrmBackBook::refresh()
{
    const auto &r = m_desk.reader();
    m_panel.show(r);
    m_rent->setText((r ? r->rentRate : Money()).format() + QStringLiteral("/本"));
    m_mulct->setText((r ? r->fineRate : Money()).format() + QStringLiteral("/本/天"));

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

void TfrmBackBook::afterLoad(const DeskOutcome &o, LoanLookup kind)
{
    if (o.ok && kind == LoanLookup::Book) {
        // Put the cursor on the row of the book typed.
        for (int i = 0; i < m_desk.rows().size(); ++i)
            if (m_desk.rows().at(i).ticked)
                m_list->setCurrentItem(m_list->topLevelItem(i));
    }
}

void TfrmBackBook::returnBooks() { afterWrite(m_desk.returnBooks()); }

} // namespace qandor
