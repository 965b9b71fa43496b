#pragma once

#include "data/tbast.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace qandor {

// The four paging commands of a list screen.
enum class PageAction { First = 1, Previous = 2, Next = 3, Last = 4 };

// The paging state a list screen holds for one list. Pages run in
// descending key order: page 1 holds the highest keys.
struct PageState {
    // The filter: a WHERE clause with or without the leading "where".
    // It is pasted into the SQL as given, so it must only come from the
    // search builder or be built with Dialect::quote / Dialect::like,
    // never from raw operator text.
    QString Condition;
    QString GroupClause;   // empty, or " group by ..." (placed after the filter)
    QString HighKey;       // key of the first (highest) row shown
    QString LowKey;        // key of the last (lowest) row shown
    int PageCount = 0;
    int LastPageSize = 0;
    int CurrentPage = 0;

    void clearFilter() { Condition.clear(); GroupClause.clear(); }
};

// What a list pages through: table (or join/view), field list and the
// numeric auto-number key (may be qualified, "a.ID").
struct PageSource {
    QString table;
    QString fields = QStringLiteral("*");
    QString keyField = QStringLiteral("ID");
};

// One fetched page, always newest (highest key) first.
struct PageRows {
    QStringList columns;        // result column names, in query order
    QList<QVariantList> rows;   // values per row, in column order
    int keyColumn = -1;         // index of the key column in `columns`

    bool isEmpty() const { return rows.isEmpty(); }
};

// What a paging command did.
struct PageOutcome {
    bool shown = false;   // false: refused at an end of the list (the message was shown)
    QString label;        // "页数:第n页/共m页"
};

// The page size actually used: below 1 means 100.
int effectivePageSize(int pageSize);
// "页数:第" n "页/共" m "页"; m is 1 while nothing was counted.
QString pageLabel(int currentPage, int pageCount);
// The filter as SQL text: "", or " where ..." (always with a leading blank).
QString filterClause(const QString &condition);

// Fetches a page. Refusals at the ends ("已是首页!    ", "已是尾页!    ")
// go through bast.ShowMsg and leave state and rows untouched. Database
// errors are thrown as DbError, again leaving state and rows untouched:
// the state only moves once the page has been read.
PageOutcome OpenPage(TBast &bast, bool recount, PageAction action, const PageSource &source,
                     PageState &state, int pageSize, PageRows &rows);

// The parts of a SELECT text. Keywords are found case-insensitively, as
// whole words, outside string literals ('...' with '' doubled, "...")
// and outside parentheses, so joins, sub-queries and a 'where' inside a
// value are taken correctly.
struct SelectParts {
    QString fields;
    QString table;       // everything between from and where/group by/order by
    QString where;       // without the keyword
    QString groupBy;     // " group by ..." (with any having part), or empty
    QString orderBy;     // without the keyword; paging imposes its own order
};

// False when the text has no select or no from (nothing is set then).
bool ParseSelectSql(const QString &sql, SelectParts &parts);
// The Delphi-shaped form: the new where part is appended to `where` with
// " and " (both sides in parentheses so an "or" cannot leak across).
bool ParseSelectSql(const QString &sql, QString &table, QString &groupBy, QString &where, QString &fields);
// Keeps only the where part (appended to `condition`) and the group-by part.
bool SplitSql(const QString &sql, QString &condition, QString &groupBy);

} // namespace qandor
