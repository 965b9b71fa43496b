#include "reports/gridcolumns.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

namespace qandor {

int TableViewColumns::columnCount() const
{
    return m_view->model() ? m_view->model()->columnCount() : 0;
}

QString TableViewColumns::caption(int column) const
{
    const int logical = m_view->horizontalHeader()->logicalIndex(column);
    return m_view->model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
}

bool TableViewColumns::isVisible(int column) const
{
    return !m_view->horizontalHeader()->isSectionHidden(m_view->horizontalHeader()->logicalIndex(column));
}

void TableViewColumns::setVisible(int column, bool visible)
{
    m_view->horizontalHeader()->setSectionHidden(m_view->horizontalHeader()->logicalIndex(column), !visible);
}

void TableViewColumns::move(int from, int to)
{
    m_view->horizontalHeader()->moveSection(from, to);
}

ColumnChoice::ColumnChoice(GridColumns &grid) : m_grid(grid)
{
    for (int i = 0; i < grid.columnCount(); ++i)
        m_items << Item{i, grid.caption(i), grid.isVisible(i)};
}

void ColumnChoice::setTicked(int row, bool ticked)
{
    if (row >= 0 && row < m_items.size())
        m_items[row].ticked = ticked;
}

void ColumnChoice::tickAll()
{
    for (Item &i : m_items)
        i.ticked = true;
}

void ColumnChoice::invert()
{
    for (Item &i : m_items)
        i.ticked = !i.ticked;
}

void ColumnChoice::untickAll()
{
    for (Item &i : m_items)
        i.ticked = false;
}

void ColumnChoice::moveRow(int from, int to)
{
    if (from < 0 || from >= m_items.size() || to < 0 || to >= m_items.size())
        return;
    m_items.move(from, to);
}

int ColumnChoice::minimum() const
{
    const int frozen = m_grid.frozenCount();
    return frozen > 0 ? frozen + 1 : 0;
}

int ColumnChoice::tickedCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(), [](const Item &i) { return i.ticked; }));
}

QString ColumnChoice::check() const
{
    if (tickedCount() < minimum())
        return QStringLiteral("当前数据表内至少需要保留") + QString::number(minimum()) + QStringLiteral("列显示项目！");
    return {};
}

bool ColumnChoice::apply()
{
    if (!check().isEmpty())
        return false;
    // Bring the grid into the rows' order one position at a time, tracking
    // where each original column now sits.
    QList<int> current;
    for (int i = 0; i < m_items.size(); ++i)
        current << i;
    for (int target = 0; target < m_items.size(); ++target) {
        const int from = int(current.indexOf(m_items.at(target).column));
        if (from != target) {
            m_grid.move(from, target);
            current.move(from, target);
        }
    }
    for (int i = 0; i < m_items.size(); ++i)
        m_grid.setVisible(i, m_items.at(i).ticked);
    // Positions now match the rows; renumber so a second apply is a no-op.
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i].column = i;
    return true;
}

} // namespace qandor
