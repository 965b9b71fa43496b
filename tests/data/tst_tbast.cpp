#include "data/money.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestTBast : public QObject {
    Q_OBJECT
private slots:
    void noConnection();
    void lists();
    void distinctList_data();
    void distinctList();
    void valueExistsWithHostileValues_data();
    void valueExistsWithHostileValues();
    void countRows();
    void nextNumber_data();
    void nextNumber();
    void nextNumberBadQuery();
    void nextNumberNonNumericCode();
    void fillYears();
    void createTableIsIdempotent();
    void addMissingColumns();
    void askKinds();
};

namespace {
void makeValueTable(TestDb &t)
{
    t.bast().CreateTableIfMissing(QStringLiteral("存放位置"), QStringLiteral("ID*int identity(1,1)|位置*nvarchar(100) NULL|"));
}
} // namespace

void TestTBast::noConnection()
{
    RecordingSink sink;
    TBast bast(nullptr, &sink);
    QStringList list{QStringLiteral("keep")};
    QVERIFY(!bast.FillStringsBySql(list, QStringLiteral("select 1")));
    QVERIFY(!bast.FillEditableList(list, QStringLiteral("t"), QStringLiteral("c")));
    QVERIFY(!bast.FillDistinctList(list, QStringLiteral("t"), QStringLiteral("c")));
    QVERIFY(!bast.ValueExists(QStringLiteral("t"), QStringLiteral("c"), QStringLiteral("v")));
    QCOMPARE(bast.CountRows(QStringLiteral("t"), QStringLiteral("c")), 0);
    QCOMPARE(list, QStringList{QStringLiteral("keep")});
    QCOMPARE(sink.entries.size(), 5);
    for (const auto &e : sink.entries) {
        QCOMPARE(e.text, QStringLiteral("没有找到数据源！"));
        QCOMPARE(e.kind, QStringLiteral("error"));
    }
}

void TestTBast::lists()
{
    QANDOR_TESTDB(t);
    makeValueTable(t);
    for (const char *v : {" 一楼 ", "二楼", "三楼"})
        t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QString::fromUtf8(v)});
    QStringList list{QStringLiteral("old")};
    QVERIFY(t.bast().FillEditableList(list, QStringLiteral("存放位置"), QStringLiteral("位置")));
    QCOMPARE(list, (QStringList{QStringLiteral("一楼"), QStringLiteral("二楼"), QStringLiteral("三楼"), QStringLiteral("编辑")}));
    QVERIFY(t.bast().FillStringsBySql(list, QStringLiteral("select 位置 from 存放位置 where 位置<>? order by ID"), {QStringLiteral("二楼")}));
    QCOMPARE(list, (QStringList{QStringLiteral("一楼"), QStringLiteral("三楼")}));
}

void TestTBast::distinctList_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none leaves the list") << QStringList{} << false << QStringList{QStringLiteral("untouched")};
    QTest::newRow("one value fills, returns false") << QStringList{QStringLiteral("A"), QStringLiteral("A")} << false << QStringList{QStringLiteral("A")};
    QTest::newRow("two values") << QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")} << true
                                << QStringList{QStringLiteral("A"), QStringLiteral("B")};
}

void TestTBast::distinctList()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, result);
    QFETCH(QStringList, expected);
    QANDOR_TESTDB(t);
    makeValueTable(t);
    for (const QString &r : rows)
        t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {r});
    QStringList list{QStringLiteral("untouched")};
    QCOMPARE(t.bast().FillDistinctList(list, QStringLiteral("存放位置"), QStringLiteral("位置")), result);
    QCOMPARE(list, expected);
}

void TestTBast::valueExistsWithHostileValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("injection") << QStringLiteral("'; delete from 存放位置; --");
    QTest::newRow("double quote") << QStringLiteral("\"quoted\"");
    QTest::newRow("percent") << QStringLiteral("100%");
    QTest::newRow("chinese") << QStringLiteral("中文书架");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
}

void TestTBast::valueExistsWithHostileValues()
{
    QFETCH(QString, value);
    QANDOR_TESTDB(t);
    makeValueTable(t);
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {value});
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QStringLiteral("other")});
    QVERIFY(t.bast().ValueExists(QStringLiteral("存放位置"), QStringLiteral("位置"), value));
    QVERIFY(t.bast().ValueExists(QStringLiteral("存放位置"), QStringLiteral("位置"), QStringLiteral("  ") + value + QStringLiteral(" ")));
    QVERIFY(!t.bast().ValueExists(QStringLiteral("存放位置"), QStringLiteral("位置"), value + QStringLiteral("x")));
    // The quoting function gives text that finds the same row when pasted.
    const QString sql = QStringLiteral("select count(*) from 存放位置 where 位置=") + t.bast().Quote(value);
    QCOMPARE(t.db().scalar(sql).toInt(), 1);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 存放位置")).toInt(), 2);
}

void TestTBast::countRows()
{
    QANDOR_TESTDB(t);
    makeValueTable(t);
    QCOMPARE(t.bast().CountRows(QStringLiteral("存放位置"), QStringLiteral("ID")), 0);
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {QStringLiteral("a")});
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (NULL)"));
    QCOMPARE(t.bast().CountRows(QStringLiteral("存放位置"), QStringLiteral("ID")), 2);
    QCOMPARE(t.bast().CountRows(QStringLiteral("存放位置"), QStringLiteral("位置")), 1);
}

void TestTBast::nextNumber_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty table") << QStringList{} << 5 << QStringLiteral("00001");
    QTest::newRow("carry") << QStringList{QStringLiteral("00099")} << 5 << QStringLiteral("00100");
    QTest::newRow("not cut") << QStringList{QStringLiteral("123")} << 2 << QStringLiteral("124");
    // The most recently inserted row counts, not the largest code.
    QTest::newRow("latest row") << QStringList{QStringLiteral("00500"), QStringLiteral("00007")} << 5 << QStringLiteral("00008");
}

void TestTBast::nextNumber()
{
    QFETCH(QStringList, codes);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QANDOR_TESTDB(t);
    t.bast().CreateTableIfMissing(QStringLiteral("编号表"), QStringLiteral("id*int identity(1,1)|编号*nvarchar(50) NULL"));
    for (const QString &c : codes)
        t.db().exec(QStringLiteral("insert into 编号表 (编号) values (?)"), {c});
    QCOMPARE(t.bast().NextNumber(QStringLiteral("编号表"), QStringLiteral("id"), width, QStringLiteral("编号")), expected);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestTBast::nextNumberBadQuery()
{
    QANDOR_TESTDB(t);
    QCOMPARE(t.bast().NextNumber(QStringLiteral("没有这个表"), QStringLiteral("id"), 3, QStringLiteral("编号")), QStringLiteral("001"));
    QCOMPARE(t.sink.entries.size(), 1);
    QVERIFY(t.sink.lastText().startsWith(QStringLiteral("SQL内容:select 编号 from 没有这个表 order by id desc")));
    QVERIFY(t.sink.lastText().endsWith(QStringLiteral("参数有误！")));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("error"));
}

void TestTBast::nextNumberNonNumericCode()
{
    QANDOR_TESTDB(t);
    t.bast().CreateTableIfMissing(QStringLiteral("编号表"), QStringLiteral("id*int identity(1,1)|编号*nvarchar(50) NULL"));
    t.db().exec(QStringLiteral("insert into 编号表 (编号) values (?)"), {QStringLiteral("A12")});
    QVERIFY_THROWS_EXCEPTION(DbError, t.bast().NextNumber(QStringLiteral("编号表"), QStringLiteral("id"), 5, QStringLiteral("编号")));
}

void TestTBast::fillYears()
{
    QStringList list{QStringLiteral("x")};
    TBast::FillYears(list, 0, 2009);
    QCOMPARE(list.size(), 11);
    QCOMPARE(list.first(), QStringLiteral("2009"));
    QCOMPARE(list.last(), QStringLiteral("1999"));
    TBast::FillYears(list, 2, 2026);
    QCOMPARE(list, (QStringList{QStringLiteral("2026"), QStringLiteral("2025"), QStringLiteral("2024")}));
    TBast::FillYears(list, -3);
    QCOMPARE(list.first(), QString::number(QDate::currentDate().year()));
}

void TestTBast::createTableIsIdempotent()
{
    QANDOR_TESTDB(t);
    const QString spec = QStringLiteral("id*int identity(1,1)|mark*nvarchar(50) NULL|name*nvarchar(225) NULL|");
    QVERIFY(t.bast().CreateTableIfMissing(QStringLiteral(" ZTR_FLAG "), spec));
    QVERIFY(!t.bast().CreateTableIfMissing(QStringLiteral("ztr_flag"), spec));
    QCOMPARE(t.db().columns(QStringLiteral("ZTR_FLAG")).size(), 3);
    // The first column is the key and numbers itself.
    t.db().exec(QStringLiteral("insert into ZTR_FLAG (mark,name) values (?,?)"), {QStringLiteral("A"), QStringLiteral("马列主义")});
    t.db().exec(QStringLiteral("insert into ZTR_FLAG (mark,name) values (?,?)"), {QStringLiteral("B"), QStringLiteral("哲学")});
    QCOMPARE(t.db().scalar(QStringLiteral("select max(id) from ZTR_FLAG")).toInt(), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, t.db().exec(QStringLiteral("insert into ZTR_FLAG (id,mark) values (1,'dup')")));
}

void TestTBast::addMissingColumns()
{
    QANDOR_TESTDB(t);
    t.bast().CreateTableIfMissing(QStringLiteral("用户管理"), QStringLiteral("ID*int identity(1,1)|用户名*nvarchar(50) NULL"));
    t.db().exec(QStringLiteral("insert into 用户管理 (用户名) values (?)"), {QStringLiteral("甲")});
    const QString spec = QStringLiteral("包租充值*bit default ") + t.bast().GetTrueValue()
        + QStringLiteral("|读者包租充值查询*bit default ") + t.bast().GetTrueValue() + QStringLiteral("|用户名*nvarchar(50) NULL");
    QVERIFY(t.bast().AddMissingColumns(QStringLiteral("用户管理"), spec));
    QVERIFY(!t.bast().AddMissingColumns(QStringLiteral("用户管理"), spec));
    QCOMPARE(t.db().columns(QStringLiteral("用户管理")).size(), 4);
    // Existing rows take the default; the true literal compares on both kinds.
    const QString sql = QStringLiteral("select count(*) from 用户管理 where 包租充值=") + t.bast().GetTrueValue();
    QCOMPARE(t.db().scalar(sql).toInt(), 1);
    // Money and dates added later work as declared.
    QVERIFY(t.bast().AddMissingColumns(QStringLiteral("用户管理"), QStringLiteral("余额*money default 0|日期*datetime NULL")));
    QCOMPARE(Money::fromVariant(t.db().scalar(QStringLiteral("select 余额 from 用户管理"))).units(), qint64(0));
}

void TestTBast::askKinds()
{
    RecordingSink sink;
    TBast bast(nullptr, &sink);
    sink.answers.enqueue(true);
    sink.answers.enqueue(false);
    QVERIFY(bast.AskMsg(QStringLiteral("q1"), QStringLiteral("ok")));
    QVERIFY(!bast.AskMsg(QStringLiteral("q2"), QStringLiteral("yes")));
    QVERIFY(!bast.AskMsg(QStringLiteral("q3"), QStringLiteral("other")));
    QCOMPARE(sink.entries.size(), 2); // no box for an unknown kind
    bast.ShowMsg(QStringLiteral("m"), QStringLiteral("warn"));
    QCOMPARE(sink.lastKind(), QStringLiteral("warn"));
}

QTEST_GUILESS_MAIN(TestTBast)
#include "tst_tbast.moc"
