#pragma once

#include "data/money.h"
#include "data/pagequery.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>
#include <QWidget>
#include <functional>

namespace qandor {

// How a grid column shows its values.
enum class CellFormat {
    Text,
    Count,    // whole number with a unit: "12天", "3本" (unit in GridColumn::unit)
    Money,    // "￥1,234.50" / "-￥1.00"
    Date,     // yyyy-MM-dd
    Boolean,  // 是 / 否
};

// A footer cell: fixed text, the row count, or the column's sum.
struct FooterCell {
    enum Kind { None, Text, RowCount, Sum };
    Kind kind = None;
    QString text;   // Text: the caption; RowCount/Sum: the unit ("条记录", "天"; empty for money)
};

struct GridColumn {
    QString field;      // result column name (matched case-insensitively)
    QString caption;    // title; the field name when empty
    CellFormat format = CellFormat::Text;
    QString unit;       // Count: "天", "本", "人", "次", "种"
    int width = 80;
    bool visible = true;
    bool bold = false;
    QList<FooterCell> footers;   // one per footer row
    // Font colour of a cell from its value (status colouring); none: default.
    std::function<QColor(const QVariant &)> color;
};

// The rows of one page and how they are shown. Column order and
// visibility live here so the views, export and printing agree.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    // Columns to show; empty: every result column as text.
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    const GridColumn &column(int i) const { return m_columns.at(i); }

    // Replaces the rows (a new page): sort goes back to the key order.
    void setPage(const PageRows &page);
    void clear();
    const PageRows &page() const { return m_page; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Raw value of a cell (EditRole), and its text as the grid shows it.
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;
    static QString formatValue(const GridColumn &c, const QVariant &v);
    bool isNumeric(int column) const;

    // Footers over the rows held (the page shown).
    int footerRowCount() const;
    QString footerText(int footerRow, int column) const;

    // Column chooser API.
    bool isColumnVisible(int column) const { return m_columns.at(column).visible; }
    void setColumnVisible(int column, bool visible);
    void moveColumn(int from, int to);
    QList<int> visibleColumns() const;
    void setColumnWidth(int column, int width);

    // In-memory sort of the page: by a column, or back to key order.
    void sortByColumn(int column, Qt::SortOrder order);
    // keyField may be qualified ("a.ID"); empty: the page's key column.
    void sortByKey(const QString &keyField, Qt::SortOrder order);

signals:
    void columnVisibilityChanged(int column, bool visible);

private:
    int sourceIndex(int column) const;   // index in m_page.columns, -1 when missing
    void rebuildMap();
    void sortRows(int sourceCol, Qt::SortOrder order, const GridColumn *col);

    QList<GridColumn> m_columns;
    QList<int> m_map;   // grid column -> page column
    bool m_autoColumns = true;
    PageRows m_page;
};

// The data-aware grid of the list screens: a table of one page, footer
// rows under it, frozen leading columns and title-click sort markers
// that cycle none -> ascending -> descending -> none (key order).
class DataGrid : public QWidget {
    Q_OBJECT
public:
    enum class SortMarker { None, Up, Down };

    explicit DataGrid(QWidget *parent = nullptr);

    ~DataGrid() override;

    GridModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    QTableView *footerView() const { return m_footer; }
    QTableView *frozenView() const { return m_frozen; }

    void setColumns(const QList<GridColumn> &columns);
    void setPage(const PageRows &page);

    // Leading columns that stay in place while scrolling sideways.
    void setFrozenColumns(int count);
    int frozenColumns() const { return m_frozenCount; }

    // Key column and the order "none" returns to (descending unless told).
    void setKeyField(const QString &key) { m_key = key; }
    QString keyField() const { return m_key; }
    void setKeyAscending(bool ascending) { m_keyAscending = ascending; }

    // One title click: moves the column's marker one step and sorts.
    void sortByColumn(int column);
    SortMarker sortMarker(int column) const { return column == m_sortColumn ? m_marker : SortMarker::None; }

    // Column chooser API (see GridModel).
    struct ColumnInfo {
        QString field;
        QString caption;
        bool visible;
    };
    QList<ColumnInfo> columnList() const;
    void setColumnVisible(int column, bool visible);
    void moveColumn(int from, int to);

    // Footer row colour ("money green" on the list screens).
    void setFooterColor(const QColor &color);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColumns();
    void syncFooter();
    void updateFrozenGeometry();

    GridModel *m_model;
    QAbstractTableModel *m_footerModel;
    QTableView *m_view;
    QTableView *m_frozen;
    QTableView *m_footer;
    int m_frozenCount = 0;
    QString m_key = QStringLiteral("ID");
    bool m_keyAscending = false;
    int m_sortColumn = -1;
    SortMarker m_marker = SortMarker::None;
};

// The title-click operations of the list screens.
void SortByColumn(DataGrid &grid, const QString &keyField, int column);
void SortByColumnEx(DataGrid &grid, const QString &keyField, int column, bool ascending);

} // namespace qandor
