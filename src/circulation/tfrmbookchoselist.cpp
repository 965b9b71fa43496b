#include "circulation/tfrmbookchoselist.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmBookChoseList::TfrmBookChoseList(LendingDesk &desk, const QList<BookCandidate> &books, QWidget *parent)
    : QDialog(parent), m_desk(desk), m_books(books)
{
    setObjectName(QStringLiteral("frmBookChoseList"));
    setWindowTitle(QStringLiteral("当前检索条件下存在多本图书符合检索条件"));
    resize(720, 380);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumns({
        {QStringLiteral("状态"), QStringLiteral("状态"), CellFormat::Text, {}, 60, true, false, {{FooterCell::Text, QStringLiteral("汇总:")}}},
        {QStringLiteral("图书编号"), QStringLiteral("图书编号"), CellFormat::Text, {}, 110, true, false, {{FooterCell::RowCount, QStringLiteral("本")}}},
        {QStringLiteral("图书名称"), QStringLiteral("图书名称"), CellFormat::Text, {}, 240},
        {QStringLiteral("标准ISBN"), QStringLiteral("标准ISBN"), CellFormat::Text, {}, 130},
        {QStringLiteral("分类名"), QStringLiteral("分类名"), CellFormat::Text, {}, 110},
    });
    m_grid->setFrozenColumns(3);
    m_grid->setKeyField(QStringLiteral("ID"));
    m_grid->setKeyAscending(true);
    PageRows page;
    page.columns = {QStringLiteral("ID"), QStringLiteral("状态"), QStringLiteral("图书编号"), QStringLiteral("图书名称"),
                    QStringLiteral("标准ISBN"), QStringLiteral("分类名")};
    page.keyColumn = 0;
    for (qsizetype i = 0; i < m_books.size(); ++i) {
        const BookCandidate &b = m_books.at(i);
        // The key is the position in m_books, so a sorted grid still finds its copy.
        page.rows.append({QVariant(qlonglong(i)), b.status, b.number, b.title, b.isbn, b.className});
    }
    m_grid->setPage(page);
    if (!m_books.isEmpty())
        m_grid->view()->selectRow(0);

    auto *choose = new QPushButton(QStringLiteral("选择(&S)"), this);
    choose->setObjectName(QStringLiteral("RzBitBtn1"));
    choose->setDefault(true);
    auto *back = new QPushButton(QStringLiteral("返回(&Q)"), this);
    back->setObjectName(QStringLiteral("RzBitBtn2"));
    back->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &TfrmBookChoseList::choose);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->view(), &QAbstractItemView::doubleClicked, this, &TfrmBookChoseList::choose);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(choose);
    buttons->addWidget(back);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttons);
    m_grid->view()->setFocus();
}

int TfrmBookChoseList::currentCandidate() const
{
    const int row = m_grid->view()->currentIndex().isValid() ? m_grid->view()->currentIndex().row() : -1;
    if (row < 0 || row >= m_grid->model()->rowCount())
        return -1;
    const PageRows &page = m_grid->model()->page();
    return page.rows.at(row).at(0).toInt();
}

void TfrmBookChoseList::choose()
{
    const int i = currentCandidate();
    if (i < 0 || i >= m_books.size())
        return;
    if (m_desk.addBookToList(m_books.at(i)).ok)
        accept();
}

} // namespace qandor
