#include "reports/tfrmchosedbgridehcolumns.h"
#include "reports/tfrmsearches.h"
#include "reports/tfrmvaluelist.h"
#include "searchfixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

const QString Readers = QStringLiteral("读者资料");

template <typename T>
T *child(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void selectItems(Tfrmsearches &dlg, const QStringList &names)
{
    auto *list = child<QListWidget>(dlg, "ListBox1");
    list->clearSelection();
    for (const QString &n : names) {
        const auto found = list->findItems(n, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        found.first()->setSelected(true);
    }
}

QString cell(Tfrmsearches &dlg, int row, int column)
{
    const QTableWidgetItem *item = child<QTableWidget>(dlg, "Grid")->item(row, column);
    return item ? item->text() : QString();
}

// A grid as the column chooser sees it, in memory.
class FakeGrid final : public GridColumns {
public:
    QStringList captions;
    QList<bool> shown;
    int frozen = 0;
    int columnCount() const override { return int(captions.size()); }
    QString caption(int c) const override { return captions.at(c); }
    bool isVisible(int c) const override { return shown.at(c); }
    void setVisible(int c, bool v) override { shown[c] = v; }
    void move(int from, int to) override { captions.move(from, to); shown.move(from, to); }
    int frozenCount() const override { return frozen; }
};

} // namespace

class TestSearchDialogs : public QObject {
    Q_OBJECT
private slots:
    void searchThroughControls();
    void editorsFollowTheColumn();
    void warningsKeepTheDialogOpen();
    void removeButtons();
    void valueListFilters();
    void columnChoiceRules();
    void columnChooserOnTableView();
};

void TestSearchDialogs::searchThroughControls()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    Tfrmsearches dlg(t.bast(), Readers, QStringLiteral("ID,密码,照片"), 0);
    QVERIFY(dlg.ready());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("数据查询"));
    selectItems(dlg, {QStringLiteral("包租"), QStringLiteral("姓名")});
    child<QToolButton>(dlg, "SpeedButton1")->click();
    // Added in list order: 姓名 comes before 包租 in the table.
    QCOMPARE(cell(dlg, 0, Tfrmsearches::ColNumber), QStringLiteral("1"));
    QCOMPARE(cell(dlg, 0, Tfrmsearches::ColColumn), QStringLiteral("姓名"));
    QCOMPARE(cell(dlg, 0, Tfrmsearches::ColOperator), QStringLiteral("等于"));
    QCOMPARE(cell(dlg, 1, Tfrmsearches::ColLink), QStringLiteral("并且"));
    QCOMPARE(cell(dlg, 1, Tfrmsearches::ColColumn), QStringLiteral("包租"));

    auto *select = child<QComboBox>(dlg, "c_select");
    auto *str = child<QLineEdit>(dlg, "c_str");
    dlg.cellClicked(0, Tfrmsearches::ColOperator);
    QVERIFY(!select->isHidden());
    select->setCurrentText(QStringLiteral("近似"));
    dlg.cellClicked(0, Tfrmsearches::ColValue);
    QVERIFY(select->isHidden());
    QVERIFY(!str->isHidden());
    QTest::keyClicks(str, QStringLiteral("O'Brien"));
    QCOMPARE(cell(dlg, 0, Tfrmsearches::ColValue), QStringLiteral("O'Brien"));

    dlg.cellClicked(1, Tfrmsearches::ColLink);
    select->setCurrentText(QStringLiteral("或者"));
    QCOMPARE(cell(dlg, 1, Tfrmsearches::ColLink), QStringLiteral("或者"));
    dlg.cellClicked(1, Tfrmsearches::ColValue);
    QCOMPARE(select->count(), 2);
    QCOMPARE(select->currentIndex(), -1);
    select->setCurrentText(QStringLiteral("否"));
    select->setCurrentText(QStringLiteral("是"));
    QCOMPARE(dlg.builder().expression(), QStringLiteral("[1] 或者 [2]"));

    child<QPushButton>(dlg, "BitBtn1")->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(t.sink.entries.isEmpty());
    QCOMPARE(numbersWhere(t, dlg.sql()), (QStringList{QStringLiteral("R001"), QStringLiteral("R003"),
                                                      QStringLiteral("R006"), QStringLiteral("R010")}));
}

void TestSearchDialogs::editorsFollowTheColumn()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    Tfrmsearches dlg(t.bast(), Readers, QStringLiteral("ID,密码,照片"), 0);
    selectItems(dlg, {QStringLiteral("借阅次数"), QStringLiteral("出生日期"), QStringLiteral("包租")});
    child<QToolButton>(dlg, "SpeedButton1")->click();
    auto *select = child<QComboBox>(dlg, "c_select");
    auto *num = child<QLineEdit>(dlg, "c_num");
    auto *date = child<QDateEdit>(dlg, "c_date");

    const int born = 0, loans = 1, rental = 2; // table order
    QCOMPARE(cell(dlg, loans, Tfrmsearches::ColColumn), QStringLiteral("借阅次数"));
    dlg.cellClicked(loans, Tfrmsearches::ColOperator);
    QCOMPARE(select->count(), 6);
    QCOMPARE(select->findText(QStringLiteral("近似")), -1);
    select->setCurrentText(QStringLiteral("大于"));
    dlg.cellClicked(loans, Tfrmsearches::ColValue);
    QVERIFY(!num->isHidden());
    QTest::keyClicks(num, QStringLiteral("5a'-;x"));
    QCOMPARE(num->text(), QStringLiteral("5"));
    QCOMPARE(cell(dlg, loans, Tfrmsearches::ColValue), QStringLiteral("5"));

    dlg.cellClicked(rental, Tfrmsearches::ColOperator);
    QCOMPARE(select->count(), 2);
    dlg.cellClicked(rental, Tfrmsearches::ColValue);
    select->setCurrentText(QStringLiteral("是"));

    dlg.cellClicked(born, Tfrmsearches::ColValue);
    QVERIFY(!date->isHidden());
    QVERIFY(num->isHidden());
    date->setDate(QDate(1999, 9, 9));
    QCOMPARE(cell(dlg, born, Tfrmsearches::ColValue), QStringLiteral("1999-09-09"));
    dlg.cellClicked(born, Tfrmsearches::ColOperator);
    select->setCurrentText(QStringLiteral("大于等于"));

    // The row number column and the first row's link open nothing.
    dlg.cellClicked(0, Tfrmsearches::ColLink);
    dlg.cellClicked(1, Tfrmsearches::ColNumber);
    QVERIFY(select->isHidden() && num->isHidden() && date->isHidden());

    child<QPushButton>(dlg, "BitBtn1")->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    // loans > 5 and born >= 1999-09-09 and rental
    QCOMPARE(numbersWhere(t, dlg.sql()), (QStringList{QStringLiteral("R006"), QStringLiteral("R010")}));
}

void TestSearchDialogs::warningsKeepTheDialogOpen()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    Tfrmsearches dlg(t.bast(), Readers, QStringLiteral("ID"), 0);
    auto *search = child<QPushButton>(dlg, "BitBtn1");
    search->click();
    QCOMPARE(t.sink.lastText(), QStringLiteral("请添加查询条件!"));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QVERIFY(dlg.result() != QDialog::Accepted);

    selectItems(dlg, {QStringLiteral("姓名")});
    child<QToolButton>(dlg, "SpeedButton1")->click();
    search->click();
    QCOMPARE(t.sink.lastText(), QStringLiteral("请为查询项目输入查询条件值!"));
    QVERIFY(dlg.result() != QDialog::Accepted);
    QVERIFY(dlg.sql().isEmpty());
}

void TestSearchDialogs::removeButtons()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    Tfrmsearches dlg(t.bast(), Readers, QStringLiteral("ID,密码,照片"), 0);
    selectItems(dlg, {QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("性别")});
    child<QToolButton>(dlg, "SpeedButton1")->click();
    auto *grid = child<QTableWidget>(dlg, "Grid");
    grid->setCurrentCell(1, 0);
    child<QToolButton>(dlg, "SpeedButton2")->click();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(cell(dlg, 1, Tfrmsearches::ColColumn), QStringLiteral("性别"));
    QCOMPARE(cell(dlg, 1, Tfrmsearches::ColNumber), QStringLiteral("2"));

    child<QToolButton>(dlg, "SpeedButton4")->click();
    QCOMPARE(grid->rowCount(), 1);
    QVERIFY(cell(dlg, 0, Tfrmsearches::ColNumber).isEmpty());
    QVERIFY(cell(dlg, 0, Tfrmsearches::ColColumn).isEmpty());

    child<QToolButton>(dlg, "SpeedButton3")->click();
    QCOMPARE(grid->rowCount(), child<QListWidget>(dlg, "ListBox1")->count());
}

void TestSearchDialogs::valueListFilters()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    Tfrmvaluelist dlg(t.bast(), Readers, QStringLiteral("单位部门"), QStringLiteral("单位部门"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("单位部门"));
    QCOMPARE(dlg.shownValues().size(), 5); // distinct, the empty ones left out
    child<QLineEdit>(dlg, "dxEdit1")->setText(QStringLiteral("京"));
    QStringList shown = dlg.shownValues();
    shown.sort();
    QCOMPARE(shown, (QStringList{QStringLiteral("北京图书馆"), QStringLiteral("北京大学"), QStringLiteral("南京大学")}));
    auto *grid = child<QTableView>(dlg, "DBGridEh1");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    const QString picked = grid->model()->index(1, 0).data().toString();
    child<QPushButton>(dlg, "BitBtn1")->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.chosen(), picked);
}

void TestSearchDialogs::columnChoiceRules()
{
    FakeGrid g;
    g.captions = {QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("押金")};
    g.shown = {true, true, false, true};
    {
        ColumnChoice c(g);
        QCOMPARE(c.minimum(), 0);
        QCOMPARE(c.tickedCount(), 3);
        c.untickAll();
        QVERIFY(c.apply()); // nothing frozen: no column is required
        QCOMPARE(g.shown, (QList<bool>{false, false, false, false}));
    }
    {
        ColumnChoice c(g);
        c.invert();
        c.setTicked(1, false);
        c.moveRow(3, 0); // 押金 first
        QVERIFY(c.apply());
        QCOMPARE(g.captions, (QStringList{QStringLiteral("押金"), QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("性别")}));
        QCOMPARE(g.shown, (QList<bool>{true, true, false, true}));
    }
    g.frozen = 1;
    {
        ColumnChoice c(g);
        c.untickAll();
        c.setTicked(0, true);
        QCOMPARE(c.minimum(), 2);
        QCOMPARE(c.check(), QStringLiteral("当前数据表内至少需要保留2列显示项目！"));
        QVERIFY(!c.apply());
        QCOMPARE(g.shown, (QList<bool>{true, true, false, true}));
    }
}

void TestSearchDialogs::columnChooserOnTableView()
{
    RecordingSink sink;
    TBast bast(nullptr, &sink);
    QStandardItemModel model(2, 3);
    model.setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("姓名"), QStringLiteral("押金")});
    QTableView view;
    view.setModel(&model);
    TableViewColumns columns(&view, 1);

    TfrmChoseDBGridEhColumns dlg(bast, columns);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("选择数据表显示及输出项"));
    auto *list = child<QListWidget>(dlg, "ColomnsList");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(1)->text(), QStringLiteral("姓名"));
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);

    child<QPushButton>(dlg, "BitBtn3")->click(); // untick all
    list->item(2)->setCheckState(Qt::Checked);
    child<QPushButton>(dlg, "BitBtn5")->click();
    QCOMPARE(sink.lastText(), QStringLiteral("当前数据表内至少需要保留2列显示项目！"));
    QVERIFY(dlg.result() != QDialog::Accepted);
    QVERIFY(!view.isColumnHidden(1));

    // Drag 押金 to the top, keep 编号 and 押金.
    list->insertItem(0, list->takeItem(2));
    child<QPushButton>(dlg, "BitBtn2")->click(); // invert: 押金 off, 编号 and 姓名 on
    list->item(0)->setCheckState(Qt::Checked);
    list->item(2)->setCheckState(Qt::Unchecked);
    child<QPushButton>(dlg, "BitBtn5")->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QHeaderView *h = view.horizontalHeader();
    QCOMPARE(h->logicalIndex(0), 2);
    QCOMPARE(h->logicalIndex(1), 0);
    QVERIFY(!view.isColumnHidden(2));
    QVERIFY(!view.isColumnHidden(0));
    QVERIFY(view.isColumnHidden(1));
}

QTEST_MAIN(TestSearchDialogs)
#include "tst_searchdialogs.moc"
