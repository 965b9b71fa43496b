#include "widgets/datagrid.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace qandor;

class TestDataGrid : public QObject {
    Q_OBJECT
private slots:
    void modelPassesTester();
    void cellsFormattedAndAligned_data();
    void cellsFormattedAndAligned();
    void sortCyclesThroughMarkers();
    void sortExReturnsToAscendingKey();
    void newPageClearsMarkers();
    void footersCountAndSumExactly();
    void columnChooserApi();
    void frozenColumnsShowOnlyLeadingColumns();
};

namespace {

// Keys 5..1, newest first as a page arrives.
PageRows samplePage()
{
    PageRows p;
    p.columns = {QStringLiteral("ID"), QStringLiteral("名称"), QStringLiteral("租金"), QStringLiteral("天数"),
                 QStringLiteral("日期"), QStringLiteral("在馆")};
    p.keyColumn = 0;
    p.rows = {
        {5, QStringLiteral("乙"), 0.1, 3, QStringLiteral("2024-03-01"), 1},
        {4, QStringLiteral("甲"), QStringLiteral("12.5000"), 10, QDate(2023, 1, 2), 0},
        {3, QStringLiteral("丙"), -1.25, 1, QVariant(), 1},
        {2, QStringLiteral("甲"), 1234567.891, 2, QStringLiteral("2024-01-31"), 0},
        {1, QVariant(), QVariant(), QVariant(), QStringLiteral("2022-12-31"), 1},
    };
    return p;
}

QList<GridColumn> sampleColumns()
{
    GridColumn id{QStringLiteral("ID"), QStringLiteral("编号")};
    id.footers = {{FooterCell::Text, QStringLiteral("本页汇总:")}};
    GridColumn name{QStringLiteral("名称"), QString()};
    name.footers = {{FooterCell::RowCount, QStringLiteral("条记录")}};
    GridColumn money{QStringLiteral("租金"), QStringLiteral("借阅租金"), CellFormat::Money};
    money.footers = {{FooterCell::Sum, QString()}};
    GridColumn days{QStringLiteral("天数"), QStringLiteral("借阅天数"), CellFormat::Count, QStringLiteral("天")};
    days.footers = {{FooterCell::Sum, QString()}};
    GridColumn date{QStringLiteral("日期"), QStringLiteral("借出日期"), CellFormat::Date};
    GridColumn flag{QStringLiteral("在馆"), QStringLiteral("在馆"), CellFormat::Boolean};
    return {id, name, money, days, date, flag};
}

QList<qint64> keys(const GridModel &m)
{
    QList<qint64> out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.value(r, 0).toLongLong();
    return out;
}

} // namespace

void TestDataGrid::modelPassesTester()
{
    DataGrid grid;
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester footerTester(grid.footerView()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    grid.sortByColumn(1);
    grid.sortByColumn(1);
    grid.sortByColumn(1);
    grid.moveColumn(0, 3);
    grid.setColumnVisible(2, false);
    grid.model()->clear();
    grid.setPage(samplePage());
    // Automatic columns when none are configured.
    grid.setColumns({});
    grid.setPage(samplePage());
    QCOMPARE(grid.model()->columnCount(), 6);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("名称"));
}

void TestDataGrid::cellsFormattedAndAligned_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("right");
    QTest::newRow("money from a double") << 0 << 2 << QStringLiteral("￥0.10") << true;
    QTest::newRow("money from decimal text") << 1 << 2 << QStringLiteral("￥12.50") << true;
    QTest::newRow("negative money") << 2 << 2 << QStringLiteral("-￥1.25") << true;
    QTest::newRow("thousands") << 3 << 2 << QStringLiteral("￥1,234,567.89") << true;
    QTest::newRow("null money is blank") << 4 << 2 << QString() << true;
    QTest::newRow("count with unit") << 1 << 3 << QStringLiteral("10天") << true;
    QTest::newRow("date from text") << 0 << 4 << QStringLiteral("2024-03-01") << false;
    QTest::newRow("date from QDate") << 1 << 4 << QStringLiteral("2023-01-02") << false;
    QTest::newRow("boolean true") << 0 << 5 << QStringLiteral("是") << false;
    QTest::newRow("boolean false") << 1 << 5 << QStringLiteral("否") << false;
    QTest::newRow("text") << 0 << 1 << QStringLiteral("乙") << false;
}

void TestDataGrid::cellsFormattedAndAligned()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, right);
    GridModel m;
    m.setColumns(sampleColumns());
    m.setPage(samplePage());
    const QModelIndex i = m.index(row, column);
    QCOMPARE(i.data().toString(), text);
    const auto align = Qt::Alignment(i.data(Qt::TextAlignmentRole).toInt());
    QCOMPARE(bool(align & Qt::AlignRight), right);
}

void TestDataGrid::sortCyclesThroughMarkers()
{
    DataGrid grid;
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    using M = DataGrid::SortMarker;
    // Money column: numeric order, nulls first, decimal text and doubles mixed.
    SortByColumn(grid, QStringLiteral("ID"), 2);
    QCOMPARE(grid.sortMarker(2), M::Up);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{1, 3, 5, 4, 2}));
    QVERIFY(grid.view()->horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(grid.view()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    SortByColumn(grid, QStringLiteral("ID"), 2);
    QCOMPARE(grid.sortMarker(2), M::Down);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{2, 4, 5, 3, 1}));
    SortByColumn(grid, QStringLiteral("ID"), 2);
    QCOMPARE(grid.sortMarker(2), M::None);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{5, 4, 3, 2, 1}));
    QVERIFY(!grid.view()->horizontalHeader()->isSortIndicatorShown());

    // Counts sort as numbers (10 after 3), dates as dates.
    SortByColumn(grid, QStringLiteral("ID"), 3);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{1, 3, 2, 5, 4}));
    // Another column starts its own cycle; the first one's marker is gone.
    SortByColumn(grid, QStringLiteral("ID"), 4);
    QCOMPARE(grid.sortMarker(3), M::None);
    QCOMPARE(grid.sortMarker(4), M::Up);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{3, 1, 4, 2, 5}));
    // A click on the title does the same as the call.
    grid.resize(600, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseClick(grid.view()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.view()->horizontalHeader()->sectionViewportPosition(4) + 5, 5));
    QCOMPARE(grid.sortMarker(4), M::Down);
}

void TestDataGrid::sortExReturnsToAscendingKey()
{
    DataGrid grid;
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    for (int i = 0; i < 3; ++i)
        SortByColumnEx(grid, QStringLiteral("ID"), 1, true);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{1, 2, 3, 4, 5}));
    for (int i = 0; i < 3; ++i)
        SortByColumnEx(grid, QStringLiteral("ID"), 1, false);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{5, 4, 3, 2, 1}));
}

void TestDataGrid::newPageClearsMarkers()
{
    DataGrid grid;
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    grid.sortByColumn(1);
    grid.setPage(samplePage());
    QCOMPARE(grid.sortMarker(1), DataGrid::SortMarker::None);
    QCOMPARE(keys(*grid.model()), (QList<qint64>{5, 4, 3, 2, 1}));
    // The next click starts again at ascending.
    grid.sortByColumn(1);
    QCOMPARE(grid.sortMarker(1), DataGrid::SortMarker::Up);
}

void TestDataGrid::footersCountAndSumExactly()
{
    GridModel m;
    m.setColumns(sampleColumns());
    m.setPage(samplePage());
    QCOMPARE(m.footerRowCount(), 1);
    QCOMPARE(m.footerText(0, 0), QStringLiteral("本页汇总:"));
    QCOMPARE(m.footerText(0, 1), QStringLiteral("5条记录"));
    // 0.10 + 12.50 - 1.25 + 1234567.891 (kept to 1/10000 then shown to the fen).
    QCOMPARE(m.footerText(0, 2), QStringLiteral("￥1,234,579.24"));
    QCOMPARE(m.footerText(0, 3), QStringLiteral("16天"));
    QCOMPARE(m.footerText(0, 4), QString());

    // Ten dimes make exactly one yuan (a double sum would fall short).
    PageRows dimes;
    dimes.columns = {QStringLiteral("ID"), QStringLiteral("租金"), QStringLiteral("天数")};
    dimes.keyColumn = 0;
    for (int i = 10; i >= 1; --i)
        dimes.rows << QVariantList{i, 0.1, 0};
    GridColumn money{QStringLiteral("租金"), QString(), CellFormat::Money};
    money.footers = {{FooterCell::Sum, {}}, {FooterCell::Text, QStringLiteral("合计")}};
    GridColumn books{QStringLiteral("天数"), QString(), CellFormat::Count, QStringLiteral("本")};
    books.footers = {{FooterCell::Sum, {}}};
    m.setColumns({money, books});
    m.setPage(dimes);
    QCOMPARE(m.footerRowCount(), 2);
    QCOMPARE(m.footerText(0, 0), QStringLiteral("￥1.00"));
    QCOMPARE(m.footerText(1, 0), QStringLiteral("合计"));
    QCOMPARE(m.footerText(0, 1), QStringLiteral("0本"));
    // The grid's footer view shows the same.
    DataGrid grid;
    grid.setColumns({money, books});
    grid.setPage(dimes);
    QCOMPARE(grid.footerView()->model()->rowCount(), 2);
    QCOMPARE(grid.footerView()->model()->index(0, 0).data().toString(), QStringLiteral("￥1.00"));
    grid.model()->clear();
    QCOMPARE(grid.footerView()->model()->index(0, 0).data().toString(), QStringLiteral("￥0.00"));
}

void TestDataGrid::columnChooserApi()
{
    DataGrid grid;
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    auto list = grid.columnList();
    QCOMPARE(list.size(), 6);
    QCOMPARE(list.at(2).caption, QStringLiteral("借阅租金"));
    QCOMPARE(list.at(1).caption, QStringLiteral("名称"));   // no caption: the field name
    QVERIFY(list.at(2).visible);

    grid.setColumnVisible(2, false);
    QVERIFY(!grid.columnList().at(2).visible);
    QVERIFY(grid.view()->isColumnHidden(2));
    QVERIFY(grid.footerView()->isColumnHidden(2));
    QCOMPARE(grid.model()->visibleColumns(), (QList<int>{0, 1, 3, 4, 5}));

    // Moving keeps the data with its column.
    grid.moveColumn(3, 0);
    QCOMPARE(grid.columnList().at(0).field, QStringLiteral("天数"));
    QCOMPARE(grid.model()->index(1, 0).data().toString(), QStringLiteral("10天"));
    QCOMPARE(grid.model()->index(1, 1).data().toString(), QStringLiteral("4"));
    // The hidden column moved to index 3 and stays hidden.
    QCOMPARE(grid.columnList().at(3).field, QStringLiteral("租金"));
    QVERIFY(grid.view()->isColumnHidden(3));
    QVERIFY(!grid.view()->isColumnHidden(2));
}

void TestDataGrid::frozenColumnsShowOnlyLeadingColumns()
{
    DataGrid grid;
    grid.resize(400, 200);
    grid.setColumns(sampleColumns());
    grid.setPage(samplePage());
    grid.setFrozenColumns(2);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QVERIFY(grid.frozenView()->isVisible());
    QVERIFY(!grid.frozenView()->isColumnHidden(0));
    QVERIFY(!grid.frozenView()->isColumnHidden(1));
    for (int c = 2; c < 6; ++c)
        QVERIFY(grid.frozenView()->isColumnHidden(c));
    QCOMPARE(grid.frozenView()->width(), grid.view()->columnWidth(0) + grid.view()->columnWidth(1));
    // Scrolling sideways leaves the frozen columns where they are.
    grid.view()->horizontalScrollBar()->setValue(grid.view()->horizontalScrollBar()->maximum());
    QCOMPARE(grid.frozenView()->horizontalScrollBar()->value(), 0);
    grid.setFrozenColumns(0);
    QVERIFY(!grid.frozenView()->isVisible());
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
