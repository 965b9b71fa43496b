#include "catalogue/tfrmbookconcernset.h"
#include "catalogue/dialogparts.h"
#include "catalogue/tfrmaddoreditbookconcern.h"
#include "widgets/datagrid.h"
#include "widgets/gridprint.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace qandor {

namespace {
const QString IdField = QStringLiteral("ID");
}

TfrmBookconcernSet::TfrmBookconcernSet(TBast &bast, const QString &caller, bool editRight, QWidget *parent)
    : QDialog(parent), m_bast(bast), m_list(bast), m_chooseMode(!caller.trimmed().isEmpty())
{
    setObjectName(QStringLiteral("frmBookconcernSet"));
    setWindowTitle(QStringLiteral("出版社设置"));

    auto *buttons = new QHBoxLayout;
    auto button = [&](const char *name, const QString &caption, auto slot) {
        return DialogParts::rowButton(buttons, this, name, caption, slot);
    };
    const bool maintain = editRight || !m_chooseMode;
    button("SpeedButton1", QStringLiteral("添加出版社信息(&A)"), &TfrmBookconcernSet::addPublisher)->setVisible(maintain);
    button("SpeedButton2", QStringLiteral("修改选中出版社(&E)"), &TfrmBookconcernSet::editPublisher)->setVisible(maintain);
    button("SpeedButton3", QStringLiteral("删除选中出版社(&D)"), &TfrmBookconcernSet::deletePublisher)->setVisible(maintain);
    button("SpeedButton5", QStringLiteral("打印当前数据表(&P)"), &TfrmBookconcernSet::printList)->setVisible(maintain);
    button("SpeedButton8", QStringLiteral("选择选中类别(&S)"), &TfrmBookconcernSet::choose)->setVisible(m_chooseMode);
    button("SpeedButton4", QStringLiteral("退出当前操作(&Q)"), &QDialog::reject);
    buttons->addStretch();

    auto *searchBox = new QGroupBox(
        QStringLiteral("数据检索(可输入与ISBN号、出版社名称、所在地等字段相关的检索关键词进行检索,多个关键词可用空格隔开。)"), this);
    auto *searchLay = new QHBoxLayout(searchBox);
    searchLay->addWidget(new QLabel(QStringLiteral("检索关键词："), searchBox));
    m_search = new QLineEdit(searchBox);
    m_search->setObjectName(QStringLiteral("conditionsEdit"));
    searchLay->addWidget(m_search, 1);
    auto *find = new QPushButton(QStringLiteral("开始检索(&F)"), searchBox);
    find->setObjectName(QStringLiteral("SpeedButton6"));
    auto *all = new QPushButton(QStringLiteral("显示全部(&R)"), searchBox);
    all->setObjectName(QStringLiteral("SpeedButton7"));
    searchLay->addWidget(find);
    searchLay->addWidget(all);
    connect(find, &QPushButton::clicked, this, &TfrmBookconcernSet::search);
    connect(all, &QPushButton::clicked, this, &TfrmBookconcernSet::showAll);
    connect(m_search, &QLineEdit::returnPressed, this, &TfrmBookconcernSet::search);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    auto column = [](const QString &field, const QString &caption, int width) {
        GridColumn c;
        c.field = field;
        c.caption = caption;
        c.width = width;
        return c;
    };
    GridColumn id = column(IdField, IdField, 40);
    id.visible = false;
    GridColumn isbn = column(QStringLiteral("ISBN"), QStringLiteral("出版社ISBN号"), 140);
    isbn.footers = {FooterCell{FooterCell::RowCount, QStringLiteral("个")}};
    GridColumn name = column(QStringLiteral("出版社名称"), QStringLiteral("出版社名称"), 260);
    name.footers = {FooterCell{FooterCell::Text, QStringLiteral("合计")}};
    GridColumn city = column(QStringLiteral("所在地"), QStringLiteral("所在地"), 160);
    m_grid->setColumns({id, isbn, name, city});
    m_grid->setKeyField(QStringLiteral("ISBN"));
    m_grid->setKeyAscending(true);
    m_grid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->view()->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid->view(), &QTableView::doubleClicked, this, [this] {
        if (m_chooseMode)
            choose();
    });
    auto *enter = new QShortcut(QKeySequence(Qt::Key_Return), m_grid->view(), nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] {
        if (m_chooseMode)
            choose();
    });

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(buttons);
    lay->addWidget(searchBox);
    lay->addWidget(m_grid, 1);
    resize(760, 520);

    showAll();
    m_search->setFocus();
}

void TfrmBookconcernSet::showRows(const QList<Publisher> &rows)
{
    m_rows = rows;
    PageRows page;
    page.columns = {IdField, QStringLiteral("ISBN"), QStringLiteral("出版社名称"), QStringLiteral("所在地")};
    page.keyColumn = 1;
    for (const Publisher &p : rows)
        page.rows << QVariantList{p.id, p.isbn, p.name, p.city};
    m_grid->setPage(page);
    if (!rows.isEmpty())
        setCurrentRow(0);
}

bool TfrmBookconcernSet::showAll()
{
    const auto rows = m_list.load();
    if (!rows)
        return false;
    showRows(*rows);
    m_search->clear();
    return true;
}

bool TfrmBookconcernSet::search()
{
    const auto rows = m_list.search(m_search->text());
    if (!rows) {
        m_search->setFocus();
        return false;
    }
    showRows(*rows);
    return true;
}

void TfrmBookconcernSet::setCurrentRow(int row)
{
    m_grid->view()->setCurrentIndex(m_grid->model()->index(row, 1));
}

std::optional<Publisher> TfrmBookconcernSet::current() const
{
    const int row = m_grid->view()->currentIndex().row();
    if (row < 0 || row >= m_grid->model()->rowCount())
        return std::nullopt;
    const qint64 id = m_grid->model()->value(row, 0).toLongLong();
    for (const Publisher &p : m_rows)
        if (p.id == id)
            return p;
    return std::nullopt;
}

void TfrmBookconcernSet::addPublisher()
{
    TfrmAddOrEditBookConcern dlg(m_bast, Publisher{}, this);
    if (dlg.exec() == QDialog::Accepted)
        showAll();
}

void TfrmBookconcernSet::editPublisher()
{
    const auto p = current();
    if (m_rows.isEmpty() || !p) {
        m_bast.ShowMsg(PublisherList::emptyEditMessage(), QStringLiteral("warn"));
        return;
    }
    TfrmAddOrEditBookConcern dlg(m_bast, *p, this);
    if (dlg.exec() == QDialog::Accepted)
        showAll();
}

bool TfrmBookconcernSet::deletePublisher()
{
    const auto p = current();
    if (m_rows.isEmpty() || !p) {
        m_bast.ShowMsg(PublisherList::emptyDeleteMessage(), QStringLiteral("warn"));
        return false;
    }
    if (!m_list.remove(*p))
        return false;
    showAll();
    return true;
}

void TfrmBookconcernSet::printList()
{
    PrintGrid(*m_grid, false, QStringLiteral("出版社信息"));
}

bool TfrmBookconcernSet::choose()
{
    const auto p = current();
    if (!p) {
        m_bast.ShowMsg(QStringLiteral("当前出版社数据为空,没有可以选择的对象!"), QStringLiteral("warn"));
        return false;
    }
    m_chosen = p;
    accept();
    return true;
}

} // namespace qandor
