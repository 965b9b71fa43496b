#include "data/pagequery.h"
#include "reports/searchbuilder.h"
#include "searchfixture.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

const QString Readers = QStringLiteral("读者资料");
const QString Excluded = QStringLiteral("ID,密码,照片");
const QStringList AllReaders{QStringLiteral("R001"), QStringLiteral("R002"), QStringLiteral("R003"), QStringLiteral("R004"),
                             QStringLiteral("R005"), QStringLiteral("R006"), QStringLiteral("R007"), QStringLiteral("R008"),
                             QStringLiteral("R009"), QStringLiteral("R010"), QStringLiteral("R011")};

QStringList except(QStringList all, const QStringList &gone)
{
    for (const QString &g : gone)
        all.removeAll(g);
    return all;
}

// Conditions written "link|column|operator|value", one per row.
void addConditions(SearchBuilder &b, const QStringList &conditions)
{
    for (const QString &c : conditions) {
        const QStringList p = c.split(QLatin1Char('|'));
        b.addItem(b.indexOfDisplay(p.at(1)));
        const int row = b.rowCount() - 1;
        b.setLink(row, p.at(0));
        b.setOperator(row, p.at(2));
        b.setValue(row, p.mid(3).join(QLatin1Char('|')));
        QCOMPARE(b.rows().at(row).op, p.at(2)); // the operator is one the column offers
    }
}

} // namespace

class TestSearchBuilder : public QObject {
    Q_OBJECT
private slots:
    void catalogueModeZero();
    void catalogueModeOne();
    void operatorsPerClass();
    void conditions_data();
    void conditions();
    void refusals_data();
    void refusals();
    void rowsAddAndRemove();
    void orFilterPagesCorrectly();
    void valueList();
};

void TestSearchBuilder::catalogueModeZero()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    SearchBuilder b(t.db().dialect(), Readers, Excluded, 0);
    b.loadCatalogue(t.db());
    const QStringList items = b.items();
    for (const char *gone : {"ID", "id", "密码", "照片"})
        QVERIFY2(!items.contains(QString::fromUtf8(gone)), gone);
    QCOMPARE(b.classOf(QStringLiteral("姓名")), ColumnClass::Text);
    QCOMPARE(b.classOf(QStringLiteral("借阅次数")), ColumnClass::Integer);
    QCOMPARE(b.classOf(QStringLiteral("押金")), ColumnClass::Number);
    QCOMPARE(b.classOf(QStringLiteral("出生日期")), ColumnClass::Date);
    QCOMPARE(b.classOf(QStringLiteral("包租")), ColumnClass::Boolean);
    QCOMPARE(b.classOf(QStringLiteral("备注信息")), ColumnClass::Text);
    // Table column order is kept.
    QVERIFY(items.indexOf(QStringLiteral("编号")) < items.indexOf(QStringLiteral("姓名")));
}

void TestSearchBuilder::catalogueModeOne()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    const QString list = QStringLiteral("编号,姓名 as 读者姓名,押金,读者资料.包租");
    SearchBuilder b(t.db().dialect(), Readers, list, 1);
    b.loadCatalogue(t.db());
    QCOMPARE(b.items(), (QStringList{QStringLiteral("编号"), QStringLiteral("读者姓名"), QStringLiteral("押金"), QStringLiteral("包租")}));
    QCOMPARE(b.sqlNameOf(QStringLiteral("读者姓名")), QStringLiteral("姓名"));
    QCOMPARE(b.sqlNameOf(QStringLiteral("包租")), QStringLiteral("读者资料.包租"));
    QCOMPARE(b.classOf(QStringLiteral("包租")), ColumnClass::Boolean);
    addConditions(b, {QStringLiteral("|读者姓名|近似|张"), QStringLiteral("或者|包租|等于|是")});
    const auto r = b.build();
    QVERIFY2(r.ok, qPrintable(r.message));
    QVERIFY2(r.sql.startsWith(QStringLiteral("select ") + list + QStringLiteral(" from 读者资料 where (")), qPrintable(r.sql));
    QCOMPARE(numbersWhere(t, r.sql), (QStringList{QStringLiteral("R001"), QStringLiteral("R002"), QStringLiteral("R003"),
                                                  QStringLiteral("R006"), QStringLiteral("R010")}));
}

void TestSearchBuilder::operatorsPerClass()
{
    const QStringList text = SearchBuilder::operatorsFor(ColumnClass::Text);
    QCOMPARE(text.first(), QStringLiteral("近似"));
    QCOMPARE(text.size(), 7);
    for (ColumnClass c : {ColumnClass::Integer, ColumnClass::Number, ColumnClass::Date}) {
        QVERIFY(!SearchBuilder::operatorsFor(c).contains(QStringLiteral("近似")));
        QCOMPARE(SearchBuilder::operatorsFor(c).size(), 6);
    }
    QCOMPARE(SearchBuilder::operatorsFor(ColumnClass::Boolean), (QStringList{QStringLiteral("等于"), QStringLiteral("不等于")}));
    // An operator the column does not offer is not taken.
    Dialect d;
    SearchBuilder b(d, Readers, QString(), 0);
    b.setCatalogue({{QStringLiteral("借阅次数"), QStringLiteral("借阅次数"), ColumnClass::Integer}});
    b.addItem(0);
    b.setOperator(0, QStringLiteral("近似"));
    QCOMPARE(b.rows().at(0).op, QStringLiteral("等于"));
}

void TestSearchBuilder::conditions_data()
{
    QTest::addColumn<QStringList>("conditions");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, QStringList c, QStringList e) { QTest::newRow(name) << c << e; };
    const auto S = [](const char *s) { return QString::fromUtf8(s); };

    row("text like", {S("|姓名|近似|张")}, {S("R001"), S("R002")});
    row("text equal", {S("|姓名|等于|张三")}, {S("R001")});
    row("text not equal", {S("|姓名|不等于|张三")}, except(AllReaders, {S("R001")}));
    row("text greater or equal", {S("|编号|大于等于|R009")}, {S("R009"), S("R010"), S("R011")});
    row("text less", {S("|编号|小于|R002")}, {S("R001")});
    row("text greater", {S("|编号|大于|R010")}, {S("R011")});
    row("text less or equal", {S("|编号|小于等于|R002")}, {S("R001"), S("R002")});
    row("quote", {S("|姓名|等于|O'Brien")}, {S("R003")});
    row("quote like", {S("|姓名|近似|'Bri")}, {S("R003")});
    row("statement breaker", {S("|姓名|等于|'; delete from 读者资料; --")}, {S("R004")});
    row("statement breaker like", {S("|姓名|近似|'; delete from 读者资料; --")}, {S("R004")});
    row("percent literal", {S("|姓名|近似|%")}, {S("R005")});
    row("percent not a wildcard", {S("|姓名|近似|100%")}, {S("R005")});
    row("underscore literal", {S("|姓名|近似|a_b")}, {S("R006")});
    row("double quote", {S("|姓名|近似|\"hi\"")}, {S("R007")});
    row("backslash like", {S("|姓名|近似|\\")}, {S("R008")});
    row("backslash equal", {S("|姓名|等于|back\\slash")}, {S("R008")});
    row("sql words in a value", {S("|姓名|近似|where y order by z group by")}, {S("R009")});
    row("integer equal", {S("|借阅次数|等于|0")}, {S("R002")});
    row("integer greater", {S("|借阅次数|大于|8")}, {S("R008"), S("R011")});
    row("integer less or equal", {S("|借阅次数|小于等于|1")}, {S("R002"), S("R004")});
    row("integer not equal", {S("|借阅次数|不等于|3")}, except(AllReaders, {S("R001")}));
    row("money equal", {S("|押金|等于|10.5")}, {S("R001")});
    row("money two decimals", {S("|押金|等于|5.25")}, {S("R004")});
    row("money leading point", {S("|押金|等于|.5")}, {S("R010")});
    row("money greater or equal", {S("|押金|大于等于|20")}, {S("R003"), S("R011")});
    row("money less", {S("|押金|小于|1")}, {S("R002"), S("R005"), S("R010")});
    row("date equal", {S("|出生日期|等于|2000-02-29")}, {S("R003")});
    row("date other spelling", {S("|出生日期|等于|2000/2/29")}, {S("R003")});
    row("date less", {S("|出生日期|小于|1986-01-01")}, {S("R002"), S("R004")});
    row("date greater or equal", {S("|出生日期|大于等于|2001-01-01")}, {S("R010"), S("R011")});
    row("date not equal skips empty", {S("|出生日期|不等于|1990-01-15")}, except(AllReaders, {S("R001"), S("R005")}));
    row("boolean yes", {S("|包租|等于|是")}, {S("R001"), S("R003"), S("R006"), S("R010")});
    row("boolean no", {S("|包租|等于|否")}, except(AllReaders, {S("R001"), S("R003"), S("R006"), S("R010")}));
    row("boolean not yes", {S("|包租|不等于|是")}, except(AllReaders, {S("R001"), S("R003"), S("R006"), S("R010")}));
    row("and", {S("|姓名|近似|张"), S("并且|押金|大于|1")}, {S("R001")});
    row("or", {S("|姓名|近似|张"), S("或者|编号|等于|R003")}, {S("R001"), S("R002"), S("R003")});
    // Left to right with the database's precedence: A or (B and C).
    row("or then and", {S("|编号|等于|R002"), S("或者|包租|等于|是"), S("并且|借阅次数|大于|5")},
        {S("R002"), S("R006"), S("R010")});
    row("and then or", {S("|包租|等于|是"), S("并且|借阅次数|大于|5"), S("或者|编号|等于|R011")},
        {S("R006"), S("R010"), S("R011")});
}

void TestSearchBuilder::conditions()
{
    QFETCH(QStringList, conditions);
    QFETCH(QStringList, expected);
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    SearchBuilder b(t.db().dialect(), Readers, Excluded, 0);
    b.loadCatalogue(t.db());
    addConditions(b, conditions);
    const auto r = b.build();
    QVERIFY2(r.ok, qPrintable(r.message));
    QVERIFY(r.sql.startsWith(QStringLiteral("select * from 读者资料 where ")));
    QCOMPARE(numbersWhere(t, r.sql), expected);
    QCOMPARE(readerCount(t), 11);

    // The paging split gives back a filter that finds the same rows.
    QString condition, group;
    QVERIFY(SplitSql(r.sql, condition, group));
    QVERIFY(group.isEmpty());
    QCOMPARE(numbersWhere(t, QStringLiteral("select * from 读者资料 where ") + condition), expected);
    QCOMPARE(numbersWhere(t, QStringLiteral("select * from 读者资料 where ") + r.where), expected);
}

void TestSearchBuilder::refusals_data()
{
    QTest::addColumn<QStringList>("conditions");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("row");
    const auto S = [](const char *s) { return QString::fromUtf8(s); };
    QTest::newRow("no condition") << QStringList() << SearchBuilder::noConditionMessage() << -1;
    QTest::newRow("empty value") << QStringList{S("|姓名|等于|张三"), S("并且|姓名|等于|  ")}
                                 << SearchBuilder::emptyValueMessage() << 1;
    QTest::newRow("text in a number") << QStringList{S("|借阅次数|等于|1; delete from 读者资料")}
                                      << S("查询项目[借阅次数]的查询条件值必须是数字!") << 0;
    QTest::newRow("two points") << QStringList{S("|押金|大于|1.2.3")} << S("查询项目[押金]的查询条件值必须是数字!") << 0;
    QTest::newRow("quote in a number") << QStringList{S("|押金|等于|1' or '1'='1")} << S("查询项目[押金]的查询条件值必须是数字!") << 0;
    QTest::newRow("bad date") << QStringList{S("|出生日期|等于|2001-02-29")} << S("查询项目[出生日期]的查询条件值不是有效的日期!") << 0;
    QTest::newRow("text in a date") << QStringList{S("|出生日期|等于|'; drop table 读者资料; --")}
                                    << S("查询项目[出生日期]的查询条件值不是有效的日期!") << 0;
}

void TestSearchBuilder::refusals()
{
    QFETCH(QStringList, conditions);
    QFETCH(QString, message);
    QFETCH(int, row);
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    SearchBuilder b(t.db().dialect(), Readers, Excluded, 0);
    b.loadCatalogue(t.db());
    addConditions(b, conditions);
    const auto r = b.build();
    QVERIFY(!r.ok);
    QVERIFY(r.sql.isEmpty());
    QCOMPARE(r.message, message);
    QCOMPARE(r.row, row);
}

void TestSearchBuilder::rowsAddAndRemove()
{
    Dialect d;
    SearchBuilder b(d, Readers, QString(), 0);
    b.setCatalogue({{QStringLiteral("编号"), QStringLiteral("编号"), ColumnClass::Text},
                    {QStringLiteral("姓名"), QStringLiteral("姓名"), ColumnClass::Text},
                    {QStringLiteral("押金"), QStringLiteral("押金"), ColumnClass::Number}});
    b.addItems({}); // nothing selected: the first item
    QCOMPARE(b.rowCount(), 1);
    QCOMPARE(b.rows().at(0).column, QStringLiteral("编号"));
    QVERIFY(b.rows().at(0).link.isEmpty());
    QCOMPARE(b.rows().at(0).op, QStringLiteral("等于"));
    b.clear();
    b.addItems({2, 0}); // in list order
    b.addItem(0);       // the same item again
    QCOMPARE(b.rowCount(), 3);
    QCOMPARE(b.rows().at(1).column, QStringLiteral("押金"));
    QCOMPARE(b.rows().at(1).link, QStringLiteral("并且"));
    b.setLink(2, QStringLiteral("或者"));
    b.setValue(2, QStringLiteral("R2"));
    QCOMPARE(b.expression(), QStringLiteral("[1] 并且 [2] 或者 [3]"));
    // Removing the middle row moves the last one into its place.
    b.removeRow(1);
    QCOMPARE(b.rowCount(), 2);
    QCOMPARE(b.rows().at(1).value, QStringLiteral("R2"));
    QCOMPARE(b.expression(), QStringLiteral("[1] 或者 [2]"));
    // Removing the first row: the moved row's link is dropped.
    b.removeRow(0);
    QCOMPARE(b.rowCount(), 1);
    QVERIFY(b.rows().at(0).link.isEmpty());
    QCOMPARE(b.expression(), QStringLiteral("[1]"));
    b.removeRow(0);
    QCOMPARE(b.rowCount(), 0);
    QCOMPARE(b.build().message, SearchBuilder::noConditionMessage());
    b.addAll();
    QCOMPARE(b.rowCount(), 3);
}

// An "or" filter must stay whole when paging adds its key test with "and".
void TestSearchBuilder::orFilterPagesCorrectly()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    SearchBuilder b(t.db().dialect(), Readers, Excluded, 0);
    b.loadCatalogue(t.db());
    addConditions(b, {QStringLiteral("|包租|等于|是"), QStringLiteral("或者|编号|等于|R011")});
    const auto r = b.build();
    QVERIFY2(r.ok, qPrintable(r.message));
    const QString sql = QStringLiteral("select * from 读者资料 where ") + r.where + QStringLiteral(" and ID < ")
        + t.db().scalar(QStringLiteral("select ID from 读者资料 where 编号='R010'")).toString();
    QCOMPARE(numbersWhere(t, sql), (QStringList{QStringLiteral("R001"), QStringLiteral("R003"), QStringLiteral("R006")}));
}

void TestSearchBuilder::valueList()
{
    QANDOR_TESTDB(t);
    makeReaderFixture(t);
    auto sorted = [](QStringList l) { l.sort(); return l; };
    const QString dept = QStringLiteral("单位部门");
    QCOMPARE(sorted(valueListValues(t.db(), Readers, dept, QString())),
             sorted({QStringLiteral("北京图书馆"), QStringLiteral("南京大学"), QStringLiteral("北京大学"),
                     QStringLiteral("财务部"), QStringLiteral("%")}));
    QCOMPARE(sorted(valueListValues(t.db(), Readers, dept, QStringLiteral("京"))),
             sorted({QStringLiteral("北京图书馆"), QStringLiteral("南京大学"), QStringLiteral("北京大学")}));
    QCOMPARE(valueListValues(t.db(), Readers, dept, QStringLiteral("%")), QStringList{QStringLiteral("%")});
    QCOMPARE(valueListValues(t.db(), Readers, QStringLiteral("姓名"), QStringLiteral("'; delete")),
             QStringList{QStringLiteral("'; delete from 读者资料; --")});
    QCOMPARE(readerCount(t), 11);
}

QTEST_GUILESS_MAIN(TestSearchBuilder)
#include "tst_searchbuilder.moc"
