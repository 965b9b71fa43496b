#pragma once

#include "data/pagequery.h"

#include <QObject>

class QAbstractButton;
class QLabel;

namespace qandor {

class DataGrid;
class TBast;

// Binds a grid, the position label `inforshow` and the page buttons to
// the paging of one table, so a list screen only configures it. Database
// errors reach the operator through bast; the page shown stays as it was.
class PagedList : public QObject {
    Q_OBJECT
public:
    PagedList(TBast &bast, const PageSource &source, DataGrid *grid, QLabel *label, QObject *parent = nullptr);

    void setPageSize(int size) { m_pageSize = size; }
    int pageSize() const { return m_pageSize; }
    PageState &state() { return m_state; }
    const PageSource &source() const { return m_source; }

    // Connects the buttons (any may be null) to the commands.
    void bindButtons(QAbstractButton *first, QAbstractButton *prior, QAbstractButton *next, QAbstractButton *last,
                     QAbstractButton *showAll = nullptr);

public slots:
    // "显示全部": clears the filter, recounts, first page.
    bool showAll();
    bool first() { return open(false, PageAction::First); }
    bool prior() { return open(false, PageAction::Previous); }
    bool next() { return open(false, PageAction::Next); }
    bool last() { return open(false, PageAction::Last); }
    // After a search: the SELECT text becomes the filter (when it parses and
    // differs from `previousSql`), then recount, first page.
    bool applySearchSql(const QString &sql, const QString &previousSql = {});
    // Recount with the current filter (after a tree or a screen set it).
    bool refresh() { return open(true, PageAction::First); }

signals:
    void pageShown();

private:
    bool open(bool recount, PageAction action);

    TBast &m_bast;
    PageSource m_source;
    DataGrid *m_grid;
    QLabel *m_label;
    PageState m_state;
    int m_pageSize = 100;
};

} // namespace qandor
