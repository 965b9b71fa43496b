#include "reports/tfrmvaluelist.h"

#include "reports/searchbuilder.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qandor {

Tfrmvaluelist::Tfrmvaluelist(TBast &bast, const QString &table, const QString &sqlColumn,
                             const QString &displayName, const QString &extra, QWidget *parent)
    : QDialog(parent), m_bast(bast), m_table(table), m_column(sqlColumn), m_extra(extra)
{
    setObjectName(QStringLiteral("Tfrmvaluelist"));
    setWindowTitle(sqlColumn);
    auto *layout = new QVBoxLayout(this);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("过滤:"), this));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("dxEdit1"));
    filterRow->addWidget(m_filter);
    layout->addLayout(filterRow);

    m_model = new QStandardItemModel(0, 1, this);
    m_model->setHorizontalHeaderLabels({displayName});
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // A title click sorts ascending, a second one descending.
    m_grid->setSortingEnabled(true);
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    layout->addWidget(m_grid);

    auto *buttons = new QHBoxLayout;
    auto *chooseBtn = new QPushButton(QStringLiteral("选择"), this);
    chooseBtn->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancelBtn = new QPushButton(QStringLiteral("取消"), this);
    cancelBtn->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addStretch();
    buttons->addWidget(chooseBtn);
    buttons->addWidget(cancelBtn);
    layout->addLayout(buttons);

    connect(chooseBtn, &QPushButton::clicked, this, &Tfrmvaluelist::choose);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &Tfrmvaluelist::choose);
    connect(m_filter, &QLineEdit::textChanged, this, &Tfrmvaluelist::refresh);
    refresh();
}

void Tfrmvaluelist::refresh()
{
    m_model->removeRows(0, m_model->rowCount());
    if (!m_bast.database())
        return;
    try {
        const QStringList values = valueListValues(*m_bast.database(), m_table, m_column, m_filter->text(), m_extra);
        for (const QString &v : values)
            m_model->appendRow(new QStandardItem(v));
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
    }
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

QStringList Tfrmvaluelist::shownValues() const
{
    QStringList out;
    for (int r = 0; r < m_model->rowCount(); ++r)
        out << m_model->index(r, 0).data().toString();
    return out;
}

void Tfrmvaluelist::choose()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    m_chosen = m_model->index(current.row(), 0).data().toString();
    accept();
}

} // namespace qandor
