#include "widgets/datagrid.h"

#include "data/database.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace qandor {

// ---------------------------------------------------------------- GridModel

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

void GridModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_autoColumns = columns.isEmpty();
    rebuildMap();
    endResetModel();
}

void GridModel::setPage(const PageRows &page)
{
    beginResetModel();
    m_page = page;
    if (m_autoColumns) {
        // Keep what the operator chose (visibility, order) while the
        // result columns stay the same.
        QStringList have;
        for (const GridColumn &c : std::as_const(m_columns))
            have << c.field;
        QStringList want = page.columns;
        QStringList sortedHave = have, sortedWant = want;
        sortedHave.sort();
        sortedWant.sort();
        if (sortedHave != sortedWant) {
            m_columns.clear();
            for (const QString &f : std::as_const(want)) {
                GridColumn c;
                c.field = f;
                m_columns << c;
            }
        }
    }
    rebuildMap();
    endResetModel();
}

void GridModel::clear()
{
    setPage(PageRows{m_page.columns, {}, m_page.keyColumn});
}

void GridModel::rebuildMap()
{
    m_map.clear();
    for (const GridColumn &c : std::as_const(m_columns)) {
        int idx = -1;
        for (int i = 0; i < m_page.columns.size(); ++i)
            if (m_page.columns.at(i).compare(c.field, Qt::CaseInsensitive) == 0) {
                idx = i;
                break;
            }
        m_map << idx;
    }
}

int GridModel::sourceIndex(int column) const
{
    return column >= 0 && column < m_map.size() ? m_map.at(column) : -1;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_page.rows.size());
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::value(int row, int column) const
{
    const int src = sourceIndex(column);
    if (row < 0 || row >= m_page.rows.size() || src < 0)
        return {};
    return m_page.rows.at(row).value(src);
}

QString GridModel::formatValue(const GridColumn &c, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (c.format) {
    case CellFormat::Text:
        if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
            return toDate(v).toString(QStringLiteral("yyyy-MM-dd"));
        return v.toString();
    case CellFormat::Count:
        return QString::number(v.toLongLong()) + c.unit;
    case CellFormat::Money:
        return Money::fromVariant(v).format();
    case CellFormat::Date: {
        const QDate d = toDate(v);
        return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : v.toString();
    }
    case CellFormat::Boolean:
        return toBool(v) ? QStringLiteral("是") : QStringLiteral("否");
    }
    return v.toString();
}

QString GridModel::text(int row, int column) const
{
    return formatValue(m_columns.at(column), value(row, column));
}

bool GridModel::isNumeric(int column) const
{
    const CellFormat f = m_columns.at(column).format;
    return f == CellFormat::Count || f == CellFormat::Money;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const GridColumn &c = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(index.row(), index.column());
    case Qt::EditRole:
        return value(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return isNumeric(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (c.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ForegroundRole:
        if (c.color) {
            const QColor col = c.color(value(index.row(), index.column()));
            if (col.isValid())
                return col;
        }
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= m_columns.size())
        return {};
    const GridColumn &c = m_columns.at(section);
    if (role == Qt::DisplayRole)
        return c.caption.isEmpty() ? c.field : c.caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return {};
}

int GridModel::footerRowCount() const
{
    qsizetype n = 0;
    for (const GridColumn &c : m_columns)
        n = std::max(n, c.footers.size());
    return int(n);
}

QString GridModel::footerText(int footerRow, int column) const
{
    const GridColumn &c = m_columns.at(column);
    if (footerRow < 0 || footerRow >= c.footers.size())
        return {};
    const FooterCell &f = c.footers.at(footerRow);
    switch (f.kind) {
    case FooterCell::None:
        return {};
    case FooterCell::Text:
        return f.text;
    case FooterCell::RowCount:
        return QString::number(rowCount()) + f.text;
    case FooterCell::Sum: {
        if (c.format == CellFormat::Money) {
            Money sum;
            for (int r = 0; r < rowCount(); ++r)
                sum += Money::fromVariant(value(r, column));
            return sum.format();
        }
        qint64 sum = 0;
        for (int r = 0; r < rowCount(); ++r)
            sum += value(r, column).toLongLong();
        return QString::number(sum) + (f.text.isEmpty() ? c.unit : f.text);
    }
    }
    return {};
}

void GridModel::setColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= m_columns.size() || m_columns[column].visible == visible)
        return;
    m_columns[column].visible = visible;
    emit columnVisibilityChanged(column, visible);
}

void GridModel::moveColumn(int from, int to)
{
    if (from < 0 || to < 0 || from >= m_columns.size() || to >= m_columns.size() || from == to)
        return;
    beginResetModel();
    m_columns.move(from, to);
    rebuildMap();
    endResetModel();
}

QList<int> GridModel::visibleColumns() const
{
    QList<int> out;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).visible)
            out << i;
    return out;
}

void GridModel::setColumnWidth(int column, int width)
{
    if (column >= 0 && column < m_columns.size())
        m_columns[column].width = width;
}

namespace {

// Orders two raw values of one column; nulls come first.
int compareValues(const QVariant &a, const QVariant &b, const GridColumn *col)
{
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const CellFormat f = col ? col->format : CellFormat::Count;
    if (f == CellFormat::Money) {
        const Money x = Money::fromVariant(a), y = Money::fromVariant(b);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    if (f == CellFormat::Date) {
        const QDate x = toDate(a), y = toDate(b);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    bool okA = false, okB = false;
    const qlonglong x = a.toLongLong(&okA), y = b.toLongLong(&okB);
    if (okA && okB && (f != CellFormat::Text || (a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString)))
        return x < y ? -1 : (y < x ? 1 : 0);
    const int t = a.typeId();
    if ((t == QMetaType::Double || t == QMetaType::Float) && f != CellFormat::Text) {
        const double dx = a.toDouble(), dy = b.toDouble();
        return dx < dy ? -1 : (dy < dx ? 1 : 0);
    }
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    return collator.compare(a.toString(), b.toString());
}

} // namespace

void GridModel::sortRows(int sourceCol, Qt::SortOrder order, const GridColumn *col)
{
    if (sourceCol < 0)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(m_page.rows.begin(), m_page.rows.end(), [&](const QVariantList &x, const QVariantList &y) {
        const int c = compareValues(x.value(sourceCol), y.value(sourceCol), col);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModel::sortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    sortRows(sourceIndex(column), order, &m_columns.at(column));
}

void GridModel::sortByKey(const QString &keyField, Qt::SortOrder order)
{
    int src = m_page.keyColumn;
    const qsizetype dot = keyField.indexOf(QLatin1Char('.'));
    const QString name = (dot >= 0 ? keyField.mid(dot + 1) : keyField).trimmed();
    for (int i = 0; i < m_page.columns.size(); ++i)
        if (!name.isEmpty() && m_page.columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            src = i;
    sortRows(src, order, nullptr);
}

// ---------------------------------------------------------------- footer

namespace {

// The footer rows under the grid, read from the grid's model.
class FooterModel : public QAbstractTableModel {
public:
    explicit FooterModel(GridModel *grid, QObject *parent) : QAbstractTableModel(parent), m_grid(grid)
    {
        auto reset = [this] { beginResetModel(); endResetModel(); };
        connect(grid, &QAbstractItemModel::modelReset, this, reset);
        connect(grid, &QAbstractItemModel::layoutChanged, this, reset);
    }
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : m_grid->footerRowCount(); }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : m_grid->columnCount(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return m_grid->footerText(index.row(), index.column());
        if (role == Qt::TextAlignmentRole)
            return m_grid->isNumeric(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        if (role == Qt::FontRole) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    }

private:
    GridModel *m_grid;
};

} // namespace

// ---------------------------------------------------------------- DataGrid

DataGrid::~DataGrid()
{
    // Closing the window resizes the headers while this object is already
    // half destroyed; their signals must not reach it any more.
    m_view->verticalHeader()->disconnect(this);
    m_view->horizontalHeader()->disconnect(this);
    m_frozen->horizontalHeader()->disconnect(this);
}

DataGrid::DataGrid(QWidget *parent) : QWidget(parent)
{
    m_model = new GridModel(this);
    m_footerModel = new FooterModel(m_model, this);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("gridView"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->verticalHeader()->setDefaultSectionSize(22);
    m_view->setWordWrap(false);

    m_frozen = new QTableView(m_view);
    m_frozen->setObjectName(QStringLiteral("frozenView"));
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(m_view->selectionModel());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_frozen->verticalHeader()->hide();
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(m_view->verticalScrollMode());
    m_frozen->verticalHeader()->setDefaultSectionSize(22);
    m_frozen->setWordWrap(false);
    m_frozen->hide();
    m_view->viewport()->stackUnder(m_frozen);

    m_footer = new QTableView(this);
    m_footer->setObjectName(QStringLiteral("footerView"));
    m_footer->setModel(m_footerModel);
    m_footer->horizontalHeader()->hide();
    m_footer->verticalHeader()->hide();
    m_footer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_footer->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_footer->setFocusPolicy(Qt::NoFocus);
    m_footer->setSelectionMode(QAbstractItemView::NoSelection);
    m_footer->verticalHeader()->setDefaultSectionSize(22);
    setFooterColor(QColor(0xC0, 0xDC, 0xC0));

    // The footer sits under the cells, past the row indicator.
    auto *indent = new QWidget(this);
    auto *footerRow = new QHBoxLayout;
    footerRow->setContentsMargins(0, 0, 0, 0);
    footerRow->setSpacing(0);
    footerRow->addWidget(indent);
    footerRow->addWidget(m_footer, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addLayout(footerRow);

    auto placeIndent = [this, indent] {
        indent->setFixedWidth(m_view->verticalHeader()->isVisible() ? m_view->verticalHeader()->width() : 0);
    };
    connect(m_view->verticalHeader(), &QHeaderView::geometriesChanged, this, placeIndent);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        m_model->setColumnWidth(col, size);
        m_footer->setColumnWidth(col, size);
        if (col < m_frozenCount)
            m_frozen->setColumnWidth(col, size);
        updateFrozenGeometry();
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) { sortByColumn(col); });
    connect(m_frozen->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) { sortByColumn(col); });
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer->horizontalScrollBar(), &QScrollBar::setValue);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(), &QScrollBar::setValue);
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, m_view->verticalScrollBar(), &QScrollBar::setValue);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { applyColumns(); });
    connect(m_model, &GridModel::columnVisibilityChanged, this, [this](int col, bool visible) {
        m_view->setColumnHidden(col, !visible);
        m_footer->setColumnHidden(col, !visible);
        m_frozen->setColumnHidden(col, !visible || col >= m_frozenCount);
        updateFrozenGeometry();
    });
    connect(m_footerModel, &QAbstractItemModel::modelReset, this, [this] { syncFooter(); });
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_sortColumn = -1;
    m_marker = SortMarker::None;
    m_model->setColumns(columns);
}

void DataGrid::setPage(const PageRows &page)
{
    // A new page comes in key order: the markers go back to none.
    m_sortColumn = -1;
    m_marker = SortMarker::None;
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_model->setPage(page);
}

void DataGrid::applyColumns()
{
    for (int i = 0; i < m_model->columnCount(); ++i) {
        const GridColumn &c = m_model->column(i);
        const bool hidden = !c.visible;
        m_view->setColumnHidden(i, hidden);
        m_footer->setColumnHidden(i, hidden);
        m_frozen->setColumnHidden(i, hidden || i >= m_frozenCount);
        m_view->setColumnWidth(i, c.width);
        m_footer->setColumnWidth(i, c.width);
        m_frozen->setColumnWidth(i, c.width);
    }
    if (m_sortColumn >= 0) {
        m_view->horizontalHeader()->setSortIndicatorShown(m_marker != SortMarker::None);
    }
    syncFooter();
    updateFrozenGeometry();
}

void DataGrid::syncFooter()
{
    const int rows = m_footerModel->rowCount();
    m_footer->setVisible(rows > 0);
    int h = 2 * m_footer->frameWidth();
    for (int r = 0; r < rows; ++r)
        h += m_footer->rowHeight(r);
    m_footer->setFixedHeight(std::max(h, 2));
    for (int i = 0; i < m_model->columnCount(); ++i) {
        m_footer->setColumnWidth(i, m_view->columnWidth(i));
        m_footer->setColumnHidden(i, m_view->isColumnHidden(i));
    }
    m_footer->horizontalScrollBar()->setValue(m_view->horizontalScrollBar()->value());
}

void DataGrid::setFrozenColumns(int count)
{
    m_frozenCount = std::max(0, count);
    for (int i = 0; i < m_model->columnCount(); ++i)
        m_frozen->setColumnHidden(i, i >= m_frozenCount || !m_model->isColumnVisible(i));
    m_frozen->setVisible(m_frozenCount > 0);
    updateFrozenGeometry();
}

void DataGrid::updateFrozenGeometry()
{
    if (m_frozenCount <= 0)
        return;
    int w = 0;
    for (int i = 0; i < std::min(m_frozenCount, m_model->columnCount()); ++i)
        if (!m_view->isColumnHidden(i))
            w += m_view->columnWidth(i);
    m_frozen->setGeometry(m_view->verticalHeader()->width() + m_view->frameWidth(), m_view->frameWidth(), w,
                          m_view->viewport()->height() + m_view->horizontalHeader()->height());
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateFrozenGeometry();
}

void DataGrid::sortByColumn(int column)
{
    if (column < 0 || column >= m_model->columnCount())
        return;
    const SortMarker before = sortMarker(column);
    SortMarker after = SortMarker::Up;
    if (before == SortMarker::Up)
        after = SortMarker::Down;
    else if (before == SortMarker::Down)
        after = SortMarker::None;

    if (after == SortMarker::None)
        m_model->sortByKey(m_key, m_keyAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    else
        m_model->sortByColumn(column, after == SortMarker::Up ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_sortColumn = after == SortMarker::None ? -1 : column;
    m_marker = after;

    QHeaderView *h = m_view->horizontalHeader();
    h->setSortIndicatorShown(after != SortMarker::None);
    if (after != SortMarker::None)
        h->setSortIndicator(column, after == SortMarker::Up ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QList<DataGrid::ColumnInfo> DataGrid::columnList() const
{
    QList<ColumnInfo> out;
    for (int i = 0; i < m_model->columnCount(); ++i) {
        const GridColumn &c = m_model->column(i);
        out << ColumnInfo{c.field, c.caption.isEmpty() ? c.field : c.caption, c.visible};
    }
    return out;
}

void DataGrid::setColumnVisible(int column, bool visible)
{
    m_model->setColumnVisible(column, visible);
}

void DataGrid::moveColumn(int from, int to)
{
    m_sortColumn = -1;
    m_marker = SortMarker::None;
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_model->moveColumn(from, to);
}

void DataGrid::setFooterColor(const QColor &color)
{
    QPalette pal = m_footer->palette();
    pal.setColor(QPalette::Base, color);
    m_footer->setPalette(pal);
}

void SortByColumn(DataGrid &grid, const QString &keyField, int column)
{
    grid.setKeyField(keyField);
    grid.setKeyAscending(false);
    grid.sortByColumn(column);
}

void SortByColumnEx(DataGrid &grid, const QString &keyField, int column, bool ascending)
{
    grid.setKeyField(keyField);
    grid.setKeyAscending(ascending);
    grid.sortByColumn(column);
}

} // namespace qandor
