#include "data/pagequery.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestPageQuery : public QObject {
    Q_OBJECT
private slots:
    void walkAllPages_data();
    void walkAllPages();
    void emptyListRefusesEveryMove();
    void pageSizeBelowOneIsHundred_data();
    void pageSizeBelowOneIsHundred();
    void filterAndGroupClause_data();
    void filterAndGroupClause();
    void badFilterLeavesStateAlone();
    void parseSelect_data();
    void parseSelect();
    void splitSqlAppendsToCondition();
};

namespace {

const QString Table = QStringLiteral("页测试");

// Keys are 3, 6, 9, ...: gaps catch any "key - 1" arithmetic.
void fill(TestDb &t, int rows)
{
    QVERIFY(t.bast().CreateTableIfMissing(Table, QStringLiteral("ID*int identity(1,1)|名称*nvarchar(50) NULL|分组*int NULL")));
    Transaction tx(t.db());
    QSqlQuery ins = t.db().prepare(QStringLiteral("insert into 页测试 (ID,名称,分组) values (?,?,?)"));
    for (int i = 1; i <= rows; ++i)
        t.db().execPrepared(ins, {i * 3, QStringLiteral("书%1").arg(i), i % 2});
    tx.commit();
}

QList<qint64> keysOf(const PageRows &rows)
{
    QList<qint64> out;
    for (const QVariantList &r : rows.rows)
        out << r.at(rows.keyColumn).toLongLong();
    return out;
}

// Keys ranked from..to (1-based, inclusive) in descending order of all keys.
QList<qint64> ranks(const QList<qint64> &allDesc, int from, int to)
{
    return allDesc.mid(from - 1, to - from + 1);
}

QList<qint64> descKeys(int rows, int step = 1, int offset = 0)
{
    QList<qint64> out;
    for (int i = rows; i >= 1; --i)
        if (i % step == offset % step)
            out << i * 3;
    return out;
}

struct Pager {
    TestDb &t;
    PageSource src;
    PageState st;
    PageRows rows;
    int size = 100;
    PageOutcome go(PageAction a, bool recount = false)
    {
        t.sink.clear();
        return OpenPage(t.bast(), recount, a, src, st, size, rows);
    }
};

} // namespace

void TestPageQuery::walkAllPages_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("lastSize");
    QTest::newRow("0 rows") << 0 << 0 << 100;
    QTest::newRow("1 row") << 1 << 1 << 1;
    QTest::newRow("99 rows") << 99 << 1 << 99;
    QTest::newRow("100 rows") << 100 << 1 << 100;
    QTest::newRow("101 rows") << 101 << 2 << 1;
    QTest::newRow("200 rows") << 200 << 2 << 100;
    QTest::newRow("250 rows") << 250 << 3 << 50;
}

void TestPageQuery::walkAllPages()
{
    QFETCH(int, n);
    QFETCH(int, pages);
    QFETCH(int, lastSize);
    QANDOR_TESTDB(t);
    fill(t, n);
    const QList<qint64> all = descKeys(n);
    Pager pg{t, {Table}, {}, {}, 100};

    PageOutcome o = pg.go(PageAction::First, true);
    QVERIFY(o.shown);
    QCOMPARE(pg.st.PageCount, pages);
    QCOMPARE(pg.st.LastPageSize, lastSize);
    QCOMPARE(pg.st.CurrentPage, 1);
    QCOMPARE(o.label, QStringLiteral("页数:第1页/共%1页").arg(std::max(pages, 1)));
    QCOMPARE(keysOf(pg.rows), ranks(all, 1, 100));
    if (n > 0) {
        QCOMPARE(pg.st.HighKey, QString::number(all.first()));
        QCOMPARE(pg.st.LowKey, QString::number(ranks(all, 1, 100).last()));
    }

    // Forward to the end, page by page.
    for (int page = 2; page <= pages; ++page) {
        o = pg.go(PageAction::Next);
        QVERIFY(o.shown);
        QCOMPARE(pg.st.CurrentPage, page);
        QCOMPARE(o.label, QStringLiteral("页数:第%1页/共%2页").arg(page).arg(pages));
        QCOMPARE(keysOf(pg.rows), ranks(all, (page - 1) * 100 + 1, page * 100));
    }
    const QList<qint64> lastPageKeys = keysOf(pg.rows);
    o = pg.go(PageAction::Next);
    QVERIFY(!o.shown);
    QCOMPARE(t.sink.lastText(), QStringLiteral("已是尾页!    "));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("infor"));
    QCOMPARE(keysOf(pg.rows), lastPageKeys);
    QVERIFY(!pg.go(PageAction::Last).shown);
    QCOMPARE(t.sink.lastText(), QStringLiteral("已是尾页!    "));

    // Back to the start.
    for (int page = pages - 1; page >= 1; --page) {
        o = pg.go(PageAction::Previous);
        QVERIFY(o.shown);
        QCOMPARE(pg.st.CurrentPage, page);
        QCOMPARE(keysOf(pg.rows), ranks(all, (page - 1) * 100 + 1, page * 100));
    }
    QVERIFY(!pg.go(PageAction::Previous).shown);
    QCOMPARE(t.sink.lastText(), QStringLiteral("已是首页!    "));
    QVERIFY(!pg.go(PageAction::First).shown);
    QCOMPARE(t.sink.lastText(), QStringLiteral("已是首页!    "));

    // Jump to the last page: the lowest LastPageSize keys, newest first.
    if (pages > 1) {
        o = pg.go(PageAction::Last);
        QVERIFY(o.shown);
        QCOMPARE(pg.st.CurrentPage, pages);
        QCOMPARE(keysOf(pg.rows), all.mid(all.size() - lastSize));
        o = pg.go(PageAction::Previous);
        QCOMPARE(keysOf(pg.rows), ranks(all, (pages - 2) * 100 + 1, (pages - 1) * 100));
        QCOMPARE(pg.go(PageAction::First).shown, pages > 2);
        QCOMPARE(keysOf(pg.rows), ranks(all, 1, 100));
    }
    // Recounting re-opens the first page even while on it.
    QVERIFY(pg.go(PageAction::First, true).shown);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestPageQuery::emptyListRefusesEveryMove()
{
    QANDOR_TESTDB(t);
    fill(t, 0);
    Pager pg{t, {Table}, {}, {}, 100};
    PageOutcome o = pg.go(PageAction::First, true);
    QCOMPARE(o.label, QStringLiteral("页数:第1页/共1页"));
    QCOMPARE(pg.st.PageCount, 0);
    QVERIFY(pg.rows.isEmpty());
    const struct { PageAction a; const char *msg; } cases[] = {
        {PageAction::Next, "已是尾页!    "},
        {PageAction::Last, "已是尾页!    "},
        {PageAction::First, "已是首页!    "},
        {PageAction::Previous, "已是首页!    "},
    };
    for (const auto &c : cases) {
        QVERIFY(!pg.go(c.a).shown);
        QCOMPARE(t.sink.lastText(), QString::fromUtf8(c.msg));
        QCOMPARE(pg.st.CurrentPage, 1);
    }
    // Recounting Last on an empty list is still refused (no page exists).
    QVERIFY(!pg.go(PageAction::Last, true).shown);
}

void TestPageQuery::pageSizeBelowOneIsHundred_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("0") << 0;
    QTest::newRow("-5") << -5;
}

void TestPageQuery::pageSizeBelowOneIsHundred()
{
    QFETCH(int, size);
    QANDOR_TESTDB(t);
    fill(t, 150);
    Pager pg{t, {Table}, {}, {}, size};
    pg.go(PageAction::First, true);
    QCOMPARE(pg.st.PageCount, 2);
    QCOMPARE(pg.st.LastPageSize, 50);
    QCOMPARE(pg.rows.rows.size(), 100);
    pg.go(PageAction::Next);
    QCOMPARE(keysOf(pg.rows), descKeys(50));
}

void TestPageQuery::filterAndGroupClause_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("fields");
    QTest::newRow("plain filter") << QStringLiteral("分组 = 1") << QString() << QStringLiteral("*");
    QTest::newRow("leading where, blank") << QStringLiteral(" where 分组 = 1") << QString() << QStringLiteral("*");
    QTest::newRow("leading WHERE, no blank") << QStringLiteral("WHERE 分组=1") << QString() << QStringLiteral("*");
    // The word inside a value must not be taken for the keyword.
    QTest::newRow("where inside a value") << QStringLiteral("分组 = 1 and 名称 <> 'O''Brien where'") << QString()
                                          << QStringLiteral("*");
    QTest::newRow("with group clause") << QStringLiteral("分组 = 1") << QStringLiteral(" group by ID, 名称")
                                       << QStringLiteral("ID, 名称");
}

void TestPageQuery::filterAndGroupClause()
{
    QFETCH(QString, condition);
    QFETCH(QString, group);
    QFETCH(QString, fields);
    QANDOR_TESTDB(t);
    fill(t, 250);   // 125 odd rows match
    const QList<qint64> odd = descKeys(250, 2, 1);
    QCOMPARE(odd.size(), 125);
    Pager pg{t, {Table, fields}, {}, {}, 50};
    pg.st.Condition = condition;
    pg.st.GroupClause = group;
    QVERIFY(pg.go(PageAction::First, true).shown);
    QCOMPARE(pg.st.PageCount, 3);
    QCOMPARE(pg.st.LastPageSize, 25);
    QCOMPARE(keysOf(pg.rows), odd.mid(0, 50));
    QVERIFY(pg.go(PageAction::Next).shown);
    QCOMPARE(keysOf(pg.rows), odd.mid(50, 50));
    QVERIFY(pg.go(PageAction::Last).shown);
    QCOMPARE(keysOf(pg.rows), odd.mid(100));
    QVERIFY(pg.go(PageAction::Previous).shown);
    QCOMPARE(keysOf(pg.rows), odd.mid(50, 50));
    // The caller's filter is not changed.
    QCOMPARE(pg.st.Condition, condition);
    QCOMPARE(pg.st.GroupClause, group);
}

void TestPageQuery::badFilterLeavesStateAlone()
{
    QANDOR_TESTDB(t);
    fill(t, 30);
    Pager pg{t, {Table}, {}, {}, 10};
    pg.go(PageAction::First, true);
    pg.go(PageAction::Next);
    const PageState before = pg.st;
    const QList<qint64> keys = keysOf(pg.rows);
    pg.st.Condition = QStringLiteral("没有这列 = 1");
    QVERIFY_THROWS_EXCEPTION(DbError, pg.go(PageAction::Next));
    QCOMPARE(pg.st.CurrentPage, before.CurrentPage);
    QCOMPARE(pg.st.LowKey, before.LowKey);
    QVERIFY_THROWS_EXCEPTION(DbError, pg.go(PageAction::First, true));
    QCOMPARE(pg.st.PageCount, before.PageCount);
    QCOMPARE(keysOf(pg.rows), keys);
}

void TestPageQuery::parseSelect_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("group");
    QTest::newRow("plain") << QStringLiteral("select * from 读者资料") << true << QStringLiteral("*")
                           << QStringLiteral("读者资料") << QString() << QString();
    QTest::newRow("where then order by") << QStringLiteral("select * from 图书资料 where 状态='在馆' order by ID desc") << true
                                         << QStringLiteral("*") << QStringLiteral("图书资料")
                                         << QStringLiteral("状态='在馆'") << QString();
    QTest::newRow("upper case keywords") << QStringLiteral("SELECT a,b FROM t WHERE a=1 GROUP BY a,b") << true
                                         << QStringLiteral("a,b") << QStringLiteral("t") << QStringLiteral("a=1")
                                         << QStringLiteral(" group by a,b");
    QTest::newRow("group by and order by") << QStringLiteral("select a from t where a>1 group  by a having count(*)>1 order by a")
                                           << true << QStringLiteral("a") << QStringLiteral("t") << QStringLiteral("a>1")
                                           << QStringLiteral(" group by a having count(*)>1");
    QTest::newRow("group by without where") << QStringLiteral("select a from t group by a") << true << QStringLiteral("a")
                                            << QStringLiteral("t") << QString() << QStringLiteral(" group by a");
    QTest::newRow("where inside a value") << QStringLiteral("select * from t where 名称 = 'x where y from z' and b=2") << true
                                          << QStringLiteral("*") << QStringLiteral("t")
                                          << QStringLiteral("名称 = 'x where y from z' and b=2") << QString();
    QTest::newRow("doubled quote") << QStringLiteral("select * from t where 名称='O''Brien order by x'") << true
                                   << QStringLiteral("*") << QStringLiteral("t") << QStringLiteral("名称='O''Brien order by x'")
                                   << QString();
    QTest::newRow("double quoted text") << QStringLiteral("select * from t where 名称=\"a where b\"") << true
                                        << QStringLiteral("*") << QStringLiteral("t") << QStringLiteral("名称=\"a where b\"")
                                        << QString();
    QTest::newRow("join") << QStringLiteral("select a.*, b.名称 from a join b on a.x=b.x where a.ID>5") << true
                          << QStringLiteral("a.*, b.名称") << QStringLiteral("a join b on a.x=b.x") << QStringLiteral("a.ID>5")
                          << QString();
    QTest::newRow("nested sub-query") << QStringLiteral("select * from t where ID in (select ID from u where (k=1) group by ID) order by ID")
                                      << true << QStringLiteral("*") << QStringLiteral("t")
                                      << QStringLiteral("ID in (select ID from u where (k=1) group by ID)") << QString();
    QTest::newRow("sub-query in from") << QStringLiteral("select * from (select * from t where a=1) x where x.b=2") << true
                                       << QStringLiteral("*") << QStringLiteral("(select * from t where a=1) x")
                                       << QStringLiteral("x.b=2") << QString();
    QTest::newRow("keyword inside a name") << QStringLiteral("select selected, fromage from wherever where groupby=1") << true
                                           << QStringLiteral("selected, fromage") << QStringLiteral("wherever")
                                           << QStringLiteral("groupby=1") << QString();
    QTest::newRow("trailing semicolon") << QStringLiteral("select * from t where a=1;") << true << QStringLiteral("*")
                                        << QStringLiteral("t") << QStringLiteral("a=1") << QString();
    QTest::newRow("no from") << QStringLiteral("select 1") << false << QString() << QString() << QString() << QString();
    QTest::newRow("no select") << QStringLiteral("update t set a=1 where b=2") << false << QString() << QString() << QString()
                               << QString();
    QTest::newRow("empty") << QString() << false << QString() << QString() << QString() << QString();
}

void TestPageQuery::parseSelect()
{
    QFETCH(QString, sql);
    QFETCH(bool, ok);
    QFETCH(QString, fields);
    QFETCH(QString, table);
    QFETCH(QString, where);
    QFETCH(QString, group);
    QString t = QStringLiteral("-"), g = QStringLiteral("-"), w, f = QStringLiteral("-");
    QCOMPARE(ParseSelectSql(sql, t, g, w, f), ok);
    if (!ok) {
        // Nothing is set on failure.
        QCOMPARE(t, QStringLiteral("-"));
        QCOMPARE(g, QStringLiteral("-"));
        QCOMPARE(f, QStringLiteral("-"));
        return;
    }
    QCOMPARE(f, fields);
    QCOMPARE(t, table);
    QCOMPARE(w, where);
    QCOMPARE(g, group);
}

void TestPageQuery::splitSqlAppendsToCondition()
{
    QString cond = QStringLiteral("a=1 or a=2");
    QString group = QStringLiteral("stale");
    QVERIFY(SplitSql(QStringLiteral("select * from t where b=3 or b=4"), cond, group));
    // Both sides bracketed: the "or"s stay inside their own side.
    QCOMPARE(cond, QStringLiteral("(a=1 or a=2) and (b=3 or b=4)"));
    QCOMPARE(group, QString());
    QVERIFY(SplitSql(QStringLiteral("select * from t group by x"), cond, group));
    QCOMPARE(cond, QStringLiteral("(a=1 or a=2) and (b=3 or b=4)"));
    QCOMPARE(group, QStringLiteral(" group by x"));
    QVERIFY(!SplitSql(QStringLiteral("delete from t"), cond, group));
}

QTEST_GUILESS_MAIN(TestPageQuery)
#include "tst_pagequery.moc"
