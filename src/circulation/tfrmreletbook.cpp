#include "circulation/tfrmreletbook.h"
#include "circulation/deskwidgets.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor {

using namespace DeskUi;

namespace {
QString iso(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
} // namespace

TfrmReletBook::TfrmReletBook(TBast &bast, const QString &operatorName, QWidget *parent)
    : LoanListScreen(m_desk, QStringLiteral("输入需要续借图书的读者编号或者输入需要被续借的图书编号调出读者信息及其借阅信息"), parent),
      m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmReletBook"));
    setWindowTitle(QStringLiteral("续借图书"));
    resize(900, 620);

    m_countLimit = m_panel.addField("CountLimit", QStringLiteral("可借数量："));
    m_dateLimit = m_panel.addField("DateLimit", QStringLiteral("可借天数："));
    auto *readerArea = new QVBoxLayout;
    readerArea->addWidget(m_panel.box());

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

    finishLayout(readerArea, listBox, operatorName, true, QStringLiteral("续借列表中打钩的图书(&S)"),
                 QStringLiteral("退出当前续借图书操作(&Q)"), [this] { renewBooks(); });
    refresh();
    m_inReader->setFocus();
}

void TfrmReletBook::refresh()
{
    const auto &r = m_desk.reader();
    m_panel.show(r);
    m_countLimit->setText(count(r ? r->allowance : 0, QStringLiteral("本")));
    m_dateLimit->setText(count(r ? r->loanDays : 0, QStringLiteral("天")));

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

void TfrmReletBook::renewBooks() { afterWrite(m_desk.renewBooks()); }

} // namespace qandor
