#include "widgets/pagedlist.h"

#include "data/tbast.h"
#include "widgets/datagrid.h"

#include <QAbstractButton>
#include <QLabel>

namespace qandor {

PagedList::PagedList(TBast &bast, const PageSource &source, DataGrid *grid, QLabel *label, QObject *parent)
    : QObject(parent), m_bast(bast), m_source(source), m_grid(grid), m_label(label)
{
    if (m_grid)
        m_grid->setKeyField(source.keyField);
}

void PagedList::bindButtons(QAbstractButton *first, QAbstractButton *prior, QAbstractButton *next,
                            QAbstractButton *last, QAbstractButton *showAll)
{
    if (first)
        connect(first, &QAbstractButton::clicked, this, &PagedList::first);
    if (prior)
        connect(prior, &QAbstractButton::clicked, this, &PagedList::prior);
    if (next)
        connect(next, &QAbstractButton::clicked, this, &PagedList::next);
    if (last)
        connect(last, &QAbstractButton::clicked, this, &PagedList::last);
    if (showAll)
        connect(showAll, &QAbstractButton::clicked, this, &PagedList::showAll);
}

bool PagedList::showAll()
{
    m_state.clearFilter();
    return open(true, PageAction::First);
}

bool PagedList::applySearchSql(const QString &sql, const QString &previousSql)
{
    if (sql.trimmed().isEmpty() || sql == previousSql)
        return false;
    QString condition, group;
    if (!SplitSql(sql, condition, group))
        return false;
    m_state.Condition = condition;
    m_state.GroupClause = group;
    return open(true, PageAction::First);
}

bool PagedList::open(bool recount, PageAction action)
{
    PageRows rows;
    try {
        const PageOutcome o = OpenPage(m_bast, recount, action, m_source, m_state, m_pageSize, rows);
        if (!o.shown)
            return false;
        if (m_grid)
            m_grid->setPage(rows);
        if (m_label)
            m_label->setText(o.label);
        emit pageShown();
        return true;
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
}

} // namespace qandor
