#include "readers/tfrmreadermanager.h"
#include "readers/tfrmaddoreditreaderinfor.h"
#include "reports/tfrmchosedbgridehcolumns.h"
#include "reports/gridcolumns.h"
#include "reports/tfrmsearches.h"
#include "widgets/datagrid.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/pagedlist.h"
#include "widgets/treetablewidget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor {

namespace {
const QString AllTypes = QStringLiteral("全部类型");

GridColumn col(const char *field, CellFormat f = CellFormat::Text, const char *unit = "", int width = 80)
{
    GridColumn c;
    c.field = QString::fromUtf8(field);
    c.caption = c.field;
    c.format = f;
    c.unit = QString::fromUtf8(unit);
    c.width = width;
    return c;
}

QColor statusColor(const QVariant &v)
{
    // 正常, 过期, 挂失, 注销: green, blue, red, maroon; any other word black.
    static const QList<std::pair<QString, QColor>> colours = {{QStringLiteral("正常"), QColor(0, 128, 0)},
                                                                {QStringLiteral("过期"), QColor(0, 0, 255)},
                                                                {QStringLiteral("挂失"), QColor(255, 0, 0)},
                                                                {QStringLiteral("注销"), QColor(128, 0, 0)}};
    const QString s = v.toString().trimmed();
    for (const auto &[word, colour] : colours)
        if (s == word)
            return colour;
    return QColor(Qt::black);
}

// The column chooser over the data grid.
class DataGridColumns final : public GridColumns {
public:
    explicit DataGridColumns(DataGrid *grid) : m_grid(grid) {}
    int columnCount() const override { return int(m_grid->columnList().size()); }
    QString caption(int column) const override { return m_grid->columnList().at(column).caption; }
    bool isVisible(int column) const override { return m_grid->columnList().at(column).visible; }
    void setVisible(int column, bool visible) override { m_grid->setColumnVisible(column, visible); }
    void move(int from, int to) override { m_grid->moveColumn(from, to); }
    int frozenCount() const override { return m_grid->frozenColumns(); }

private:
    DataGrid *m_grid;
};
} // namespace

QString readerListFields()
{
    return QStringLiteral("ID,状态,编号,姓名,性别,类型,押金,有效期限制,截止日期,单位部门,出生日期,办证日期,联系电话,电子邮箱,"
                          "联系地址,借阅次数,包租,当前包租量,当前可用量,当前已用量,备注信息");
}

TfrmReaderManager::TfrmReaderManager(TBast &bast, NumberRule numbering, int pageSize, QWidget *parent)
    : QDialog(parent)
    , m_bast(bast)
    , m_book(bast, numbering)
{
    setObjectName(QStringLiteral("frmReaderManager"));
    setWindowTitle(QStringLiteral("读者信息管理"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto *layout = new QVBoxLayout(this);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    auto button = [&](const char *name, const QString &text, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        return b;
    };
    m_showTree = button("ShowTreeButton", QStringLiteral("隐藏类型树"), QStyle::SP_DirClosedIcon);
    auto *columns = button("SelectcolumnButton", QStringLiteral("设置输出列"), QStyle::SP_FileDialogDetailedView);
    m_add = button("AddButton", QStringLiteral("添加(&A)"), QStyle::SP_FileDialogNewFolder);
    m_edit = button("EditButton", QStringLiteral("修改(&E)"), QStyle::SP_FileDialogContentsView);
    m_del = button("DelButton", QStringLiteral("删除(&D)"), QStyle::SP_TrashIcon);
    auto *find = button("AFindButton", QStringLiteral("高级查询"), QStyle::SP_FileDialogStart);
    auto *all = button("ShowAllButton", QStringLiteral("显示全部"), QStyle::SP_BrowserReload);
    auto *print = button("PrintButton", QStringLiteral("数据打印"), QStyle::SP_DialogSaveButton);
    auto *exportButton = button("ExportButton", QStringLiteral("数据导出"), QStyle::SP_DriveFDIcon);
    auto *quit = button("QuitButton", QStringLiteral("退出当前"), QStyle::SP_DialogCloseButton);
    bar->addWidget(m_showTree);
    bar->addWidget(columns);
    m_separator = bar->addSeparator();
    bar->addWidget(m_add);
    bar->addWidget(m_edit);
    bar->addWidget(m_del);
    bar->addSeparator();
    for (QToolButton *b : {find, all, print, exportButton, quit})
        bar->addWidget(b);
    layout->addWidget(bar);

    auto *printMenu = new QMenu(print);
    printMenu->addAction(QStringLiteral("打印数据报表"), this, &TfrmReaderManager::printList);
    QAction *cards = printMenu->addAction(QStringLiteral("打印借书证"));
    cards->setEnabled(false); // reader cards are printed from their own screen
    print->setMenu(printMenu);
    print->setPopupMode(QToolButton::InstantPopup);
    auto *exportMenu = new QMenu(exportButton);
    const QList<std::pair<QString, QString>> kinds = {{QStringLiteral("导出为Excel文件(*.xls)"), QStringLiteral("xls")},
                                                      {QStringLiteral("导出为Word文件(*.rtf)"), QStringLiteral("rtf")},
                                                      {QStringLiteral("导出为文本文件(*.txt)"), QStringLiteral("txt")},
                                                      {QStringLiteral("导出为网页文件(*.htm)"), QStringLiteral("htm")}};
    for (const auto &[text, kind] : kinds) {
        const QString k = kind;
        exportMenu->addAction(text, this, [this, k] { exportAs(k); });
    }
    exportButton->setMenu(exportMenu);
    exportButton->setPopupMode(QToolButton::InstantPopup);

    connect(m_showTree, &QToolButton::clicked, this, &TfrmReaderManager::toggleTree);
    connect(columns, &QToolButton::clicked, this, &TfrmReaderManager::chooseColumns);
    connect(m_add, &QToolButton::clicked, this, &TfrmReaderManager::addReader);
    connect(m_edit, &QToolButton::clicked, this, &TfrmReaderManager::editReader);
    connect(m_del, &QToolButton::clicked, this, &TfrmReaderManager::deleteReader);
    connect(find, &QToolButton::clicked, this, &TfrmReaderManager::advancedSearch);
    connect(all, &QToolButton::clicked, this, &TfrmReaderManager::showAll);
    connect(quit, &QToolButton::clicked, this, &QDialog::reject);

    auto *split = new QSplitter(this);
    m_treePanel = new QWidget(split);
    auto *treeLayout = new QVBoxLayout(m_treePanel);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    m_tree = new QTreeWidget(m_treePanel);
    m_tree->setObjectName(QStringLiteral("Tree"));
    m_tree->setHeaderHidden(true);
    treeLayout->addWidget(m_tree);
    connect(m_tree, &QTreeWidget::itemClicked, this, &TfrmReaderManager::treeNodeChosen);

    auto *right = new QWidget(split);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_grid = new DataGrid(right);
    m_grid->setObjectName(QStringLiteral("ReaderDataList"));
    GridColumn status = col("状态", CellFormat::Text, "", 50);
    status.bold = true;
    status.color = statusColor;
    status.footers = {FooterCell{FooterCell::Text, QStringLiteral("本页汇总:")}};
    GridColumn number = col("编号", CellFormat::Text, "", 70);
    number.footers = {FooterCell{FooterCell::RowCount, QStringLiteral("人")}};
    GridColumn deposit = col("押金", CellFormat::Money, "", 70);
    deposit.footers = {FooterCell{FooterCell::Sum, QString()}};
    GridColumn id = col("ID");
    id.visible = false;
    m_grid->setColumns({status, number, col("姓名", CellFormat::Text, "", 60), col("性别", CellFormat::Text, "", 40),
                        col("类型", CellFormat::Text, "", 70), deposit, col("有效期限制", CellFormat::Text, "", 70),
                        col("截止日期", CellFormat::Date), col("单位部门", CellFormat::Text, "", 100),
                        col("出生日期", CellFormat::Date), col("办证日期", CellFormat::Date), col("联系电话"),
                        col("电子邮箱", CellFormat::Text, "", 120), col("联系地址", CellFormat::Text, "", 150),
                        col("借阅次数", CellFormat::Count, "次", 60), col("包租", CellFormat::Boolean, "", 40),
                        col("当前包租量", CellFormat::Count, "本", 70), col("当前可用量", CellFormat::Count, "本", 70),
                        col("当前已用量", CellFormat::Count, "本", 70), col("备注信息", CellFormat::Text, "", 150), id});
    m_grid->setFrozenColumns(3);
    m_grid->setKeyField(QStringLiteral("ID"));
    m_grid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->view()->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid->view(), &QTableView::doubleClicked, this, [this] {
        if (m_edit->isVisible() && m_edit->isEnabled())
            editReader();
    });
    rightLayout->addWidget(m_grid, 1);

    auto *pageBar = new QWidget(right);
    pageBar->setObjectName(QStringLiteral("TurnPageBox"));
    auto *pageLayout = new QHBoxLayout(pageBar);
    m_info = new QLabel(pageBar);
    m_info->setObjectName(QStringLiteral("inforshow"));
    pageLayout->addWidget(m_info);
    pageLayout->addStretch(); // the buttons stay right-aligned
    auto pageButton = [&](const char *name, const QString &text) {
        auto *b = new QPushButton(text, pageBar);
        b->setObjectName(QString::fromLatin1(name));
        pageLayout->addWidget(b);
        return b;
    };
    auto *first = pageButton("FirstPage", QStringLiteral("首页"));
    auto *prior = pageButton("PriorPage", QStringLiteral("上一页"));
    auto *next = pageButton("NextPage", QStringLiteral("下一页"));
    auto *last = pageButton("LastPage", QStringLiteral("尾页"));
    rightLayout->addWidget(pageBar);
    split->addWidget(m_treePanel);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 900});
    layout->addWidget(split, 1);

    m_pages = new PagedList(bast, PageSource{QStringLiteral("读者资料"), readerListFields(), QStringLiteral("ID")}, m_grid,
                            m_info, this);
    m_pages->setPageSize(pageSize);
    m_pages->bindButtons(first, prior, next, last);
    connect(m_pages, &PagedList::pageShown, this, [this] {
        if (m_grid->model()->rowCount() > 0)
            m_grid->view()->selectRow(0);
    });

    resize(1100, 640);
    TreeTableWidget::LoadValueTree(m_tree, bast, QStringLiteral("读者类型"), QStringLiteral("类型名称"), AllTypes);
    showAll();
}

void TfrmReaderManager::setLookupMode(bool lookup)
{
    m_separator->setVisible(!lookup);
    for (QToolButton *b : {m_add, m_edit, m_del}) {
        b->setVisible(!lookup);
        b->setEnabled(!lookup);
    }
    // The tool bar hosts the buttons as actions: hide those too.
    if (auto *bar = findChild<QToolBar *>(QStringLiteral("ToolBar1")))
        for (QAction *a : bar->actions())
            if (auto *w = bar->widgetForAction(a); w == m_add || w == m_edit || w == m_del)
                a->setVisible(!lookup);
}

bool TfrmReaderManager::showAll()
{
    m_pages->state().clearFilter();
    return m_pages->refresh();
}

QString TfrmReaderManager::typeFilter(const QString &nodeText) const
{
    // The nodes are plain type names, so a name with "-" in it is taken whole.
    const QString name = nodeText;
    if (nodeText == AllTypes || name.isEmpty())
        return {};
    return QStringLiteral(" where 类型=") + m_bast.Quote(name);
}

void TfrmReaderManager::treeNodeChosen(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_pages->state().clearFilter();
    m_pages->state().Condition = typeFilter(item->text(0));
    m_pages->refresh();
}

qint64 TfrmReaderManager::currentId() const
{
    const GridModel *model = m_grid->model();
    if (model->rowCount() == 0)
        return 0;
    int row = m_grid->view()->currentIndex().row();
    if (row < 0)
        row = 0;
    return model->value(row, model->columns().size() - 1).toLongLong();
}

void TfrmReaderManager::selectId(qint64 id)
{
    const GridModel *model = m_grid->model();
    const int idCol = model->columns().size() - 1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->value(r, idCol).toLongLong() == id) {
            m_grid->view()->setCurrentIndex(model->index(r, 0));
            m_grid->view()->selectRow(r);
            return;
        }
}

void TfrmReaderManager::afterEditor(const QList<qint64> &savedIds)
{
    if (savedIds.isEmpty())
        return;
    // The newest reader shows first: the list pages newest first.
    m_pages->refresh();
    selectId(savedIds.last());
}

void TfrmReaderManager::addReader()
{
    TfrmAddOrEditReaderInfor dlg(m_bast, m_book.numbering(), nullptr, this);
    showEditor(dlg);
    afterEditor(dlg.savedIds());
}

void TfrmReaderManager::editReader()
{
    const qint64 id = currentId();
    if (id == 0) {
        m_bast.ShowMsg(QStringLiteral("当前读者信息数据为空,没有可以修改的对象!"), QStringLiteral("warn"));
        return;
    }
    const auto reader = m_book.load(id);
    if (!reader) {
        m_pages->refresh();
        return;
    }
    TfrmAddOrEditReaderInfor dlg(m_bast, m_book.numbering(), &*reader, this);
    showEditor(dlg);
    if (!dlg.savedIds().isEmpty()) {
        m_pages->refresh();
        selectId(id);
    }
}

void TfrmReaderManager::deleteReader()
{
    const qint64 id = currentId();
    std::optional<Reader> reader;
    if (id != 0) {
        reader = m_book.load(id);
        if (!reader) {
            m_pages->refresh();
            return;
        }
    }
    if (m_book.remove(reader ? &*reader : nullptr))
        m_pages->refresh();
}

void TfrmReaderManager::advancedSearch()
{
    const QString before = QStringLiteral("select ") + readerListFields() + QStringLiteral(" from 读者资料")
        + filterClause(m_pages->state().Condition) + m_pages->state().GroupClause;
    const PageState kept = m_pages->state();
    m_pages->state().clearFilter();
    const QString sql = runSearch ? runSearch(before)
                                  : AdvancedSearch(m_bast, QStringLiteral("读者资料"), QStringLiteral("ID,密码,照片"), 0,
                                                   before, this);
    if (!m_pages->applySearchSql(sql, before)) {
        // Cancelled, or nothing new: the list keeps its filter.
        m_pages->state().Condition = kept.Condition;
        m_pages->state().GroupClause = kept.GroupClause;
    }
}

void TfrmReaderManager::toggleTree()
{
    const bool show = m_treePanel->isHidden();
    m_treePanel->setVisible(show);
    m_showTree->setText(show ? QStringLiteral("隐藏类型树") : QStringLiteral("显示类型树"));
}

void TfrmReaderManager::chooseColumns()
{
    DataGridColumns columns(m_grid);
    ChooseGridColumns(m_bast, columns, this);
}

void TfrmReaderManager::exportAs(const QString &kind)
{
    ExportGrid(*m_grid, QStringLiteral("读者信息"), kind, m_bast, this);
}

void TfrmReaderManager::printList()
{
    PrintGrid(*m_grid, true, QStringLiteral("读者资料"));
}

} // namespace qandor
