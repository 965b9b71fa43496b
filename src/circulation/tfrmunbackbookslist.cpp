#include "circulation/tfrmunbackbookslist.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmUnbackBooksList::TfrmUnbackBooksList(const QList<DeskSql::OpenLoanBrief> &loans, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUnbackBooksList"));
    setWindowTitle(QStringLiteral("未还图书列表"));
    resize(640, 340);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumns({
        {QStringLiteral("图书编号"), QStringLiteral("图书编号"), CellFormat::Text, {}, 110, true, false, {{FooterCell::Text, QStringLiteral("汇总:")}}},
        {QStringLiteral("图书名称"), QStringLiteral("图书名称"), CellFormat::Text, {}, 220, true, false, {{FooterCell::RowCount, QStringLiteral("本")}}},
        {QStringLiteral("分类名"), QStringLiteral("分类名"), CellFormat::Text, {}, 100},
        {QStringLiteral("借出日期"), QStringLiteral("借出日期"), CellFormat::Date, {}, 90},
        {QStringLiteral("应还日期"), QStringLiteral("应还日期"), CellFormat::Date, {}, 90},
    });
    m_grid->setKeyField(QStringLiteral("ID"));
    m_grid->setKeyAscending(true);
    PageRows page;
    page.columns = {QStringLiteral("ID"), QStringLiteral("图书编号"), QStringLiteral("图书名称"), QStringLiteral("分类名"),
                    QStringLiteral("借出日期"), QStringLiteral("应还日期")};
    page.keyColumn = 0;
    for (const DeskSql::OpenLoanBrief &b : loans)
        page.rows.append({QVariant(b.id), b.bookNum, b.title, b.className, b.lent, b.due});
    m_grid->setPage(page);

    auto *back = new QPushButton(QStringLiteral("返回(&Q)"), this);
    back->setObjectName(QStringLiteral("RzBitBtn1"));
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_grid, 1);
    lay->addLayout(buttons);
}

void TfrmUnbackBooksList::showFor(TBast &bast, const QString &readerNum, QWidget *parent)
{
    QList<DeskSql::OpenLoanBrief> loans;
    try {
        loans = DeskSql::openBookLoans(*bast.database(), readerNum);
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return;
    }
    if (loans.isEmpty()) {
        bast.ShowMsg(QStringLiteral("当前读者没有未还的图书信息！"), QStringLiteral("infor"));
        return;
    }
    TfrmUnbackBooksList list(loans, parent);
    list.exec();
}

} // namespace qandor
