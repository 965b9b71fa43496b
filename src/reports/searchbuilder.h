#pragma once

#include "data/database.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qandor {

// What a searchable column holds; decides the operators, the value editor
// and how the typed value is written into SQL.
enum class ColumnClass {
    Text,    // character columns: quoted, "近似" offered, value list available
    Integer, // whole numbers
    Number,  // money and other decimals
    Date,
    Boolean,
};

struct SearchColumn {
    QString source;  // the column expression as the caller wrote it ("标准ISBN as 标准ISSN", "a.书名")
    QString display; // what the operator sees
    ColumnClass cls = ColumnClass::Text;
};

// Display name of a source expression: the alias after " as ", else the
// part after the first ".", else the expression itself.
QString searchDisplayName(const QString &source);
// The expression to write into SQL: the source cut before " as ".
QString searchSqlName(const QString &source);

// The column catalogue of a table for the builder.
// mode 0: every column except those named in columnList;
// mode 1: exactly the items of columnList, in order.
// Column classes come from the program's declared column types where the
// table (or the column) is one of the delivered schema, otherwise from the
// driver's type of the one-row probe. Picture columns are left out: no
// condition can be typed for them. Throws DbError.
QList<SearchColumn> buildSearchCatalogue(Database &db, const QString &table,
                                         const QString &columnList, int mode,
                                         const QString &extra = QString());

// One condition row of the builder's grid.
struct SearchCondition {
    QString link;   // "并且" / "或者"; ignored on the first row
    QString column; // display name
    QString op;     // operator word
    QString value;  // as typed
};

// The rules of the condition search builder, without widgets.
class SearchBuilder {
public:
    SearchBuilder(const Dialect &dialect, QString table, QString columnList, int mode,
                  QString extra = QString());

    void setCatalogue(const QList<SearchColumn> &columns) { m_columns = columns; }
    void loadCatalogue(Database &db); // throws DbError
    const QList<SearchColumn> &catalogue() const { return m_columns; }
    QStringList items() const; // display names, catalogue order
    int indexOfDisplay(const QString &display) const;
    ColumnClass classOf(const QString &display) const;
    QString sqlNameOf(const QString &display) const;

    // Condition rows (empty when no condition has been added).
    const QList<SearchCondition> &rows() const { return m_rows; }
    int rowCount() const { return m_rows.size(); }
    void addItem(int catalogueIndex);
    // The selected items in catalogue order; with no selection the first item.
    void addItems(QList<int> catalogueIndexes);
    void addAll();
    void removeRow(int row);
    void clear() { m_rows.clear(); }
    void setLink(int row, const QString &word);
    void setOperator(int row, const QString &word);
    void setValue(int row, const QString &text);

    // "[1] 并且 [2] 或者 [3]"
    QString expression() const;

    static QStringList linkWords();
    static QStringList booleanWords();
    static QStringList operatorsFor(ColumnClass cls);
    static QString operatorSql(const QString &word);

    struct Result {
        bool ok = false;
        QString sql;     // the whole SELECT
        QString where;   // the filter alone (what SplitSql gives back)
        QString message; // the warning when not ok
        int row = -1;    // the row the warning is about
    };
    // Builds the SELECT for the current rows. Every typed value is checked
    // for its column's class and written only as a quoted literal, a like
    // pattern, a date literal, a boolean literal or a validated number.
    Result build() const;

    static QString noConditionMessage() { return QStringLiteral("请添加查询条件!"); }
    static QString emptyValueMessage() { return QStringLiteral("请为查询项目输入查询条件值!"); }

private:
    bool conditionSql(const SearchCondition &c, QString &out, QString &message) const;

    const Dialect &m_dialect;
    QString m_table, m_columnList, m_extra;
    int m_mode;
    QList<SearchColumn> m_columns;
    QList<SearchCondition> m_rows;
};

// The value list's query: the distinct non-empty values of a text column,
// optionally narrowed to those containing `filter` (matched literally).
QString valueListSql(const Dialect &dialect, const QString &table, const QString &column,
                     const QString &filter, const QString &extra = QString());
QStringList valueListValues(Database &db, const QString &table, const QString &column,
                            const QString &filter, const QString &extra = QString()); // throws DbError

} // namespace qandor
