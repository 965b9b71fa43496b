#include "reports/tfrmchosedbgridehcolumns.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

namespace {
constexpr int ColumnRole = Qt::UserRole + 1;
}

TfrmChoseDBGridEhColumns::TfrmChoseDBGridEhColumns(TBast &bast, GridColumns &grid, QWidget *parent)
    : QDialog(parent), m_bast(bast), m_choice(grid)
{
    setObjectName(QStringLiteral("TfrmChoseDBGridEhColumns"));
    setWindowTitle(QStringLiteral("选择数据表显示及输出项"));
    resize(414, 519);
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("显示及输出项目列表"), this);
    auto *groupLayout = new QVBoxLayout(group);
    m_list = new QListWidget(group);
    m_list->setObjectName(QStringLiteral("ColomnsList"));
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setToolTip(QStringLiteral("项目名称"));
    groupLayout->addWidget(m_list);
    layout->addWidget(group);

    auto *buttons = new QHBoxLayout;
    auto addButton = [&](const char *name, const QString &text, void (TfrmChoseDBGridEhColumns::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    addButton("BitBtn1", QStringLiteral("全部选中(&A)"), &TfrmChoseDBGridEhColumns::tickAll);
    addButton("BitBtn2", QStringLiteral("反向选中(&B)"), &TfrmChoseDBGridEhColumns::invert);
    addButton("BitBtn3", QStringLiteral("取消选中(&C)"), &TfrmChoseDBGridEhColumns::untickAll);
    addButton("BitBtn4", QStringLiteral("取消退出(&Q)"), &QDialog::reject);
    addButton("BitBtn5", QStringLiteral("确定操作(&S)"), &TfrmChoseDBGridEhColumns::confirm);
    layout->addLayout(buttons);
    fillList();
}

void TfrmChoseDBGridEhColumns::fillList()
{
    m_list->clear();
    const auto &items = m_choice.items();
    for (int i = 0; i < items.size(); ++i) {
        auto *it = new QListWidgetItem(items.at(i).caption, m_list);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(items.at(i).ticked ? Qt::Checked : Qt::Unchecked);
        it->setData(ColumnRole, i);
    }
}

// The list widget is the operator's copy: rows may have been dragged and
// ticked; bring the logic in line with it.
void TfrmChoseDBGridEhColumns::readList()
{
    for (int row = 0; row < m_list->count(); ++row) {
        const int origin = m_list->item(row)->data(ColumnRole).toInt();
        // Rows above are already in place, so the match lies at or below.
        int at = row;
        while (at < m_choice.items().size() && m_choice.items().at(at).column != origin)
            ++at;
        m_choice.moveRow(at, row);
        m_choice.setTicked(row, m_list->item(row)->checkState() == Qt::Checked);
    }
}

void TfrmChoseDBGridEhColumns::tickAll()
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(Qt::Checked);
}

void TfrmChoseDBGridEhColumns::invert()
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(m_list->item(i)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void TfrmChoseDBGridEhColumns::untickAll()
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(Qt::Unchecked);
}

void TfrmChoseDBGridEhColumns::confirm()
{
    readList();
    const QString warning = m_choice.check();
    if (!warning.isEmpty()) {
        m_bast.ShowMsg(warning, QStringLiteral("warn"));
        return;
    }
    m_choice.apply();
    accept();
}

int ChooseGridColumns(TBast &bast, GridColumns &grid, QWidget *parent)
{
    TfrmChoseDBGridEhColumns dlg(bast, grid, parent);
    return dlg.exec();
}

} // namespace qandor
