#include "readers/tfrmtypeofreader.h"
#include "readers/tfrmaddoredittypeofreader.h"
#include "widgets/datagrid.h"
#include "widgets/gridprint.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qandor {

namespace {
GridColumn col(const char *field, const char *caption, CellFormat f = CellFormat::Text, const char *unit = "", int width = 70)
{
    GridColumn c;
    c.field = QString::fromUtf8(field);
    c.caption = QString::fromUtf8(caption);
    c.format = f;
    c.unit = QString::fromUtf8(unit);
    c.width = width;
    return c;
}
} // namespace

TfrmTypeOfReader::TfrmTypeOfReader(TBast &bast, QWidget *parent) : QDialog(parent), m_bast(bast), m_book(bast)
{
    setObjectName(QStringLiteral("frmTypeOfReader"));
    setWindowTitle(QStringLiteral("读者类型设置"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    QList<GridColumn> cols;
    GridColumn name = col("类型名称", "类型名称", CellFormat::Text, "", 100);
    name.footers = {FooterCell{FooterCell::RowCount, QStringLiteral("个")}};
    cols << name << col("办证押金", "办证押金", CellFormat::Money)
         << col("图书可借数量", "图书借阅参数\n可借数量", CellFormat::Count, "本")
         << col("图书可借天数", "图书借阅参数\n可借天数", CellFormat::Count, "天")
         << col("图书每日租金", "图书借阅参数\n每日租金", CellFormat::Money)
         << col("图书超期罚金", "图书借阅参数\n超期罚金", CellFormat::Money)
         << col("期刊可借数量", "期刊借阅参数\n可借数量", CellFormat::Count, "本")
         << col("期刊可借天数", "期刊借阅参数\n可借天数", CellFormat::Count, "天")
         << col("期刊每日租金", "期刊借阅参数\n每日租金", CellFormat::Money)
         << col("期刊超期罚金", "期刊借阅参数\n超期罚金", CellFormat::Money)
         << col("期限限制", "借书证有效期限制\n限制", CellFormat::Text, "", 60)
         << col("有效期限", "借书证有效期限制\n有效期限", CellFormat::Count, "月")
         << col("包租", "包租模式\n包租", CellFormat::Boolean, "", 50)
         << col("包租金", "包租模式\n包租金", CellFormat::Money)
         << col("包租量", "包租模式\n包租量", CellFormat::Count, "本");
    GridColumn id = col("ID", "ID");
    id.visible = false;
    cols << id;
    m_grid->setColumns(cols);
    m_grid->setFrozenColumns(1);
    m_grid->setKeyField(QStringLiteral("图书可借天数")); // the third title click goes back to this order
    m_grid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->view()->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_grid, 1);

    auto *bar = new QHBoxLayout;
    auto button = [&](const char *name, const QString &text, void (TfrmTypeOfReader::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    button("SpeedButton1", QStringLiteral("添加读者类型(&A)"), &TfrmTypeOfReader::addType);
    button("SpeedButton2", QStringLiteral("修改选中类型(&E)"), &TfrmTypeOfReader::editType);
    button("SpeedButton3", QStringLiteral("删除选中类型(&D)"), &TfrmTypeOfReader::deleteType);
    button("SpeedButton5", QStringLiteral("打印当前列表(&P)"), &TfrmTypeOfReader::printList);
    auto *quit = new QPushButton(QStringLiteral("退出当前操作(&Q)"), this);
    quit->setObjectName(QStringLiteral("SpeedButton4"));
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    bar->addWidget(quit);
    layout->addLayout(bar);
    resize(900, 480);
    openTypeList();
}

void TfrmTypeOfReader::openTypeList()
{
    m_types = m_book.loadAll();
    PageRows page;
    page.columns = QStringList{QStringLiteral("ID"), QStringLiteral("类型名称"), QStringLiteral("办证押金"), QStringLiteral("图书可借数量"),
                               QStringLiteral("图书可借天数"), QStringLiteral("图书每日租金"), QStringLiteral("图书超期罚金"),
                               QStringLiteral("期刊可借数量"), QStringLiteral("期刊可借天数"), QStringLiteral("期刊每日租金"),
                               QStringLiteral("期刊超期罚金"), QStringLiteral("期限限制"), QStringLiteral("有效期限"),
                               QStringLiteral("包租"), QStringLiteral("包租金"), QStringLiteral("包租量")};
    page.keyColumn = 0;
    auto m = [](Money v) { return QVariant::fromValue(v); };
    for (const ReaderType &t : m_types)
        page.rows << QVariantList{t.id, t.name, m(t.deposit), t.bookCount, t.bookDays, m(t.bookRent), m(t.bookFine),
                                  t.magazineCount, t.magazineDays, m(t.magazineRent), m(t.magazineFine), t.limitFlag,
                                  t.months, t.prepaid, m(t.prepaidPrice), t.prepaidQuota};
    m_grid->setPage(page);
    if (!m_types.isEmpty())
        m_grid->view()->selectRow(0);
}

const ReaderType *TfrmTypeOfReader::currentType() const
{
    const GridModel *model = m_grid->model();
    if (model->rowCount() == 0)
        return nullptr;
    int row = m_grid->view()->currentIndex().row();
    if (row < 0)
        row = 0;
    const int idCol = model->columns().size() - 1;
    const qint64 id = model->value(row, idCol).toLongLong();
    for (const ReaderType &t : m_types)
        if (t.id == id)
            return &t;
    return nullptr;
}

void TfrmTypeOfReader::selectType(const QString &name)
{
    const GridModel *model = m_grid->model();
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->value(r, 0).toString().trimmed() == name) {
            m_grid->view()->selectRow(r);
            m_grid->view()->setCurrentIndex(model->index(r, 0));
            return;
        }
}

void TfrmTypeOfReader::addType()
{
    TfrmAddOrEditTypeOfReader dlg(m_bast, nullptr, this);
    if (showEditor(dlg) == QDialog::Accepted) {
        const QString name = dlg.savedType().name;
        openTypeList();
        selectType(name);
    }
}

void TfrmTypeOfReader::editType()
{
    const ReaderType *t = currentType();
    if (!t) {
        m_bast.ShowMsg(QStringLiteral("当前读者类型数据为空,没有可以修改的对象!"), QStringLiteral("warn"));
        return;
    }
    const ReaderType copy = *t;
    TfrmAddOrEditTypeOfReader dlg(m_bast, &copy, this);
    if (showEditor(dlg) == QDialog::Accepted) {
        const QString name = dlg.savedType().name;
        openTypeList();
        selectType(name);
    }
}

void TfrmTypeOfReader::deleteType()
{
    const ReaderType *t = currentType();
    const ReaderType copy = t ? *t : ReaderType();
    if (m_book.remove(t ? &copy : nullptr))
        openTypeList();
}

void TfrmTypeOfReader::printList()
{
    PrintGrid(*m_grid, true, QStringLiteral("读者类型表"));
}

} // namespace qandor
