#include "reports/tfrmsearches.h"

#include "reports/tfrmvaluelist.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qandor {

Tfrmsearches::Tfrmsearches(TBast &bast, const QString &table, const QString &columnList, int mode,
                           const QString &extra, QWidget *parent)
    : QDialog(parent), m_bast(bast), m_table(table), m_extra(extra),
      m_builder(bast.dialect(), table, columnList, mode, extra)
{
    setObjectName(QStringLiteral("Tfrmsearches"));
    setWindowTitle(QStringLiteral("数据查询"));
    resize(720, 400);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *itemsBox = new QVBoxLayout;
    itemsBox->addWidget(new QLabel(QStringLiteral("查询项目"), this));
    m_items = new QListWidget(this);
    m_items->setObjectName(QStringLiteral("ListBox1"));
    m_items->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_items->setFixedWidth(150);
    itemsBox->addWidget(m_items);
    top->addLayout(itemsBox);

    auto *arrows = new QVBoxLayout;
    arrows->addStretch();
    auto addArrow = [&](const char *name, const QString &text, const QString &hint, void (Tfrmsearches::*slot)()) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(hint);
        arrows->addWidget(b);
        connect(b, &QToolButton::clicked, this, slot);
    };
    addArrow("SpeedButton1", QStringLiteral(">"), QStringLiteral("添加选中的查询项目"), &Tfrmsearches::addSelected);
    addArrow("SpeedButton2", QStringLiteral("<"), QStringLiteral("删除选中的查询项目"), &Tfrmsearches::removeCurrent);
    addArrow("SpeedButton3", QStringLiteral(">>"), QStringLiteral("添加全部查询项目"), &Tfrmsearches::addAll);
    addArrow("SpeedButton4", QStringLiteral("<<"), QStringLiteral("清空查询项目"), &Tfrmsearches::removeAll);
    arrows->addStretch();
    top->addLayout(arrows);

    auto *group = new QGroupBox(QStringLiteral("条件列表"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *groupLayout = new QVBoxLayout(group);
    m_grid = new QTableWidget(1, 5, group);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("上下关系"), QStringLiteral("查询项目"),
                                       QStringLiteral("查询条件"), QStringLiteral("查询条件值")});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    QFont bold = m_grid->horizontalHeader()->font();
    bold.setBold(true);
    m_grid->horizontalHeader()->setFont(bold);
    m_grid->setColumnWidth(ColNumber, 38);
    m_grid->setColumnWidth(ColLink, 60);
    m_grid->setColumnWidth(ColColumn, 120);
    m_grid->setColumnWidth(ColOperator, 70);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    groupLayout->addWidget(m_grid);
    top->addWidget(group, 1);
    layout->addLayout(top, 1);

    auto *buttons = new QHBoxLayout;
    auto *searchBtn = new QPushButton(QStringLiteral("查询(&F)"), this);
    searchBtn->setObjectName(QStringLiteral("BitBtn1"));
    auto *cancelBtn = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancelBtn->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addStretch();
    buttons->addWidget(searchBtn);
    buttons->addWidget(cancelBtn);
    layout->addLayout(buttons);
    connect(searchBtn, &QPushButton::clicked, this, &Tfrmsearches::search);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // The cell editors, laid over the clicked cell one at a time.
    QWidget *vp = m_grid->viewport();
    m_select = new QComboBox(vp);
    m_select->setObjectName(QStringLiteral("c_select"));
    m_select->setEditable(false);
    m_str = new QLineEdit(vp);
    m_str->setObjectName(QStringLiteral("c_str"));
    QAction *valueList = m_str->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                          QLineEdit::TrailingPosition);
    valueList->setObjectName(QStringLiteral("c_strButton"));
    valueList->setToolTip(QStringLiteral("选择已有的值"));
    m_date = new QDateEdit(vp);
    m_date->setObjectName(QStringLiteral("c_date"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_num = new QLineEdit(vp);
    m_num->setObjectName(QStringLiteral("c_num"));
    m_num->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), m_num));
    hideEditors();

    connect(m_select, &QComboBox::currentTextChanged, this, &Tfrmsearches::editorChanged);
    connect(m_str, &QLineEdit::textChanged, this, &Tfrmsearches::editorChanged);
    connect(m_num, &QLineEdit::textChanged, this, &Tfrmsearches::editorChanged);
    connect(m_date, &QDateEdit::dateChanged, this,
            [this](const QDate &d) { editorChanged(d.toString(QStringLiteral("yyyy-MM-dd"))); });
    connect(valueList, &QAction::triggered, this, &Tfrmsearches::openValueList);
    connect(m_grid, &QTableWidget::cellClicked, this, &Tfrmsearches::cellClicked);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        m_grid->setCurrentCell(row, ColNumber);
        removeCurrent();
    });
    connect(m_items, &QListWidget::itemDoubleClicked, this, &Tfrmsearches::addSelected);

    if (!bast.database()) {
        bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return;
    }
    try {
        m_builder.loadCatalogue(*bast.database());
        m_ready = true;
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return;
    }
    m_items->addItems(m_builder.items());
    refreshGrid();
}

void Tfrmsearches::refreshGrid()
{
    hideEditors();
    const auto &rows = m_builder.rows();
    const int n = int(rows.size());
    m_grid->setRowCount(std::max(1, n));
    m_grid->clearContents();
    QFont bold = m_grid->font();
    bold.setBold(true);
    for (int r = 0; r < n; ++r) {
        const SearchCondition &c = rows.at(r);
        const QStringList cells{QString::number(r + 1), c.link, c.column, c.op, c.value};
        for (int col = 0; col < cells.size(); ++col) {
            auto *item = new QTableWidgetItem(cells.at(col));
            item->setTextAlignment(col == ColNumber ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            if (col == ColNumber)
                item->setFont(bold);
            m_grid->setItem(r, col, item);
        }
    }
}

void Tfrmsearches::hideEditors()
{
    m_editRow = m_editColumn = -1;
    m_select->hide();
    m_str->hide();
    m_date->hide();
    m_num->hide();
}

void Tfrmsearches::placeEditor(QWidget *editor, int row, int column)
{
    const QRect cell = m_grid->visualRect(m_grid->model()->index(row, column));
    editor->setGeometry(cell.adjusted(-2, -2, 2, 2));
    editor->show();
    editor->raise();
    editor->setFocus();
}

void Tfrmsearches::addSelected()
{
    QList<int> picked;
    for (const QListWidgetItem *it : m_items->selectedItems())
        picked << m_items->row(it);
    m_builder.addItems(picked);
    refreshGrid();
}

void Tfrmsearches::addAll()
{
    m_builder.addAll();
    refreshGrid();
}

void Tfrmsearches::removeCurrent()
{
    const int row = m_grid->currentRow();
    m_builder.removeRow(row < 0 ? 0 : row);
    refreshGrid();
}

void Tfrmsearches::removeAll()
{
    m_builder.clear();
    refreshGrid();
}

void Tfrmsearches::cellClicked(int row, int column)
{
    hideEditors();
    if (row < 0 || row >= m_builder.rowCount())
        return;
    m_grid->setCurrentCell(row, column);
    const SearchCondition &c = m_builder.rows().at(row);
    const ColumnClass cls = m_builder.classOf(c.column);
    m_filling = true;
    QWidget *editor = nullptr;
    if (column == ColLink && row > 0) {
        m_select->clear();
        m_select->addItems(SearchBuilder::linkWords());
        m_select->setCurrentIndex(m_select->findText(c.link));
        editor = m_select;
    } else if (column == ColOperator) {
        m_select->clear();
        m_select->addItems(SearchBuilder::operatorsFor(cls));
        m_select->setCurrentIndex(m_select->findText(c.op));
        editor = m_select;
    } else if (column == ColValue) {
        switch (cls) {
        case ColumnClass::Text:
            m_str->setText(c.value);
            editor = m_str;
            break;
        case ColumnClass::Boolean:
            m_select->clear();
            m_select->addItems(SearchBuilder::booleanWords());
            m_select->setCurrentIndex(m_select->findText(c.value));
            editor = m_select;
            break;
        case ColumnClass::Date: {
            const QDate d = QDate::fromString(c.value, QStringLiteral("yyyy-MM-dd"));
            m_date->setDate(d.isValid() ? d : QDate::currentDate());
            editor = m_date;
            break;
        }
        default:
            m_num->setText(c.value);
            editor = m_num;
            break;
        }
    }
    m_filling = false;
    if (!editor)
        return;
    m_editRow = row;
    m_editColumn = column;
    placeEditor(editor, row, column);
    // A date box always shows a date; what it shows is the value.
    if (editor == m_date && c.value.isEmpty())
        editorChanged(m_date->date().toString(QStringLiteral("yyyy-MM-dd")));
}

void Tfrmsearches::editorChanged(const QString &raw)
{
    if (m_filling || m_editRow < 0)
        return;
    const QString text = raw.trimmed();
    switch (m_editColumn) {
    case ColLink:
        if (!text.isEmpty())
            m_builder.setLink(m_editRow, text);
        break;
    case ColOperator:
        if (!text.isEmpty())
            m_builder.setOperator(m_editRow, text);
        break;
    case ColValue:
        m_builder.setValue(m_editRow, text);
        break;
    default:
        return;
    }
    const SearchCondition &c = m_builder.rows().at(m_editRow);
    const QString cell = m_editColumn == ColLink ? c.link : m_editColumn == ColOperator ? c.op : c.value;
    if (QTableWidgetItem *item = m_grid->item(m_editRow, m_editColumn))
        item->setText(cell);
}

void Tfrmsearches::openValueList()
{
    if (m_editRow < 0 || m_editColumn != ColValue)
        return;
    const QString column = m_builder.rows().at(m_editRow).column;
    Tfrmvaluelist dlg(m_bast, m_table, m_builder.sqlNameOf(column), column, m_extra, this);
    if (dlg.exec() == QDialog::Accepted)
        m_str->setText(dlg.chosen());
}

void Tfrmsearches::search()
{
    hideEditors();
    const SearchBuilder::Result r = m_builder.build();
    if (!r.ok) {
        m_bast.ShowMsg(r.message, QStringLiteral("warn"));
        if (r.row >= 0)
            m_grid->setCurrentCell(r.row, ColValue);
        return;
    }
    m_sql = r.sql;
    m_where = r.where;
    accept();
}

QString AdvancedSearch(TBast &bast, const QString &table, const QString &columnList, int mode,
                       const QString &currentSql, QWidget *parent, QString *where)
{
    Tfrmsearches dlg(bast, table, columnList, mode, QString(), parent);
    if (!dlg.ready() || dlg.exec() != QDialog::Accepted)
        return currentSql;
    if (where)
        *where = dlg.where();
    return dlg.sql();
}

} // namespace qandor
