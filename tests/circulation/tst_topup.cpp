#include "circulation/lendingdesk.h"
#include "circulation/topupdesk.h"
#include "deskfixture.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
const QString Op = QStringLiteral("充值员");

void stock(DeskFixture &f)
{
    f.addType({QStringLiteral("普通"), 3, 30});
    f.addType({QStringLiteral("包租"), 5, 10, Money(), Money(), true, yuan("200"), 50, 6});
    f.addType({QStringLiteral("小包"), 5, 10, Money(), Money(), true, yuan("9.99"), 2, 1});
    f.addReader({QStringLiteral("W1"), QStringLiteral("O'Brien"), QStringLiteral("包租"), QStringLiteral("等待")});
    f.addReader({QStringLiteral("N1"), QStringLiteral("普通甲"), QStringLiteral("普通"), QStringLiteral("过期")});
    DeskFixture::Reader ok{QStringLiteral("P1"), QStringLiteral("包租甲"), QStringLiteral("包租")};
    ok.prepaid = true;
    ok.quotaBought = 50;
    ok.quotaLeft = 20;
    f.addReader(ok);
}
} // namespace

class TestTopUp : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void waitingReaderGetsQuotaAndRecord();
    void changingTheStartMovesTheEnd_data();
    void changingTheStartMovesTheEnd();
    void noReaderWritesNoRecord();
    void prepaidReaderRunsOutAndTopsUpAgain();
    void secondDeskCannotSellTheSameTopUp();
};

void TestTopUp::refusals_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown") << "X9" << "未检索到拥有此编号的读者信息，请检查读者编号输入是否正确！";
    QTest::newRow("not a prepaid type") << "N1" << "当前编号为[N1]的读者不属于包租模式类型，无法充值！";
    QTest::newRow("card in use") << "P1" << "当前编号为[P1]的读者的借书证处于[正常]状态，无需充值！";
    QTest::newRow("empty") << " " << "请输入读者编号！";
}

void TestTopUp::refusals()
{
    QFETCH(QString, reader);
    QFETCH(QString, message);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    TopUpDesk desk(t.bast(), Op);
    const DeskOutcome o = desk.loadPrepaidReader(reader);
    QVERIFY(!o.ok);
    QCOMPARE(t.sink.lastText(), message);
    QVERIFY(!desk.reader());
}

void TestTopUp::waitingReaderGetsQuotaAndRecord()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    TopUpDesk desk(t.bast(), Op);
    desk.setToday(day("2024-01-15"));
    QVERIFY(desk.loadPrepaidReader(QStringLiteral("W1")).ok);
    QCOMPARE(desk.reader()->price, yuan("200"));
    QCOMPARE(desk.reader()->quota, 50);
    QCOMPARE(desk.reader()->months, 6);
    QCOMPARE(desk.activeDate(), day("2024-01-15"));
    QCOMPARE(desk.loseDate(), day("2024-07-16"));
    QCOMPARE(desk.amount(), yuan("200"));
    desk.setAmount(yuan("180.50"));
    desk.setMemo(QStringLiteral("优惠'--"));

    t.sink.answers.enqueue(false);
    const TopUpOutcome o = desk.topUp();
    QVERIFY2(o.ok, qPrintable(t.sink.texts().join(QLatin1Char('|'))));
    QVERIFY(!o.continueTopUp);
    QCOMPARE(t.sink.lastText(), QStringLiteral("充值成功！是否继续进行充值操作？"));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("yes"));

    QSqlQuery q = t.db().exec(QStringLiteral("select 状态,读者编号,姓名,读者类型,充值日期,充值金额,包租量,可用量,已用量,生效日期,失效日期,备注,操作员 "
                                             "from 包租充值"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("有效"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("W1"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("O'Brien"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("包租"));
    QCOMPARE(toDate(q.value(4)), day("2024-01-15"));
    QCOMPARE(Money::fromVariant(q.value(5)), yuan("180.50"));
    QCOMPARE(q.value(6).toInt(), 50);
    QCOMPARE(q.value(7).toInt(), 50);
    QCOMPARE(q.value(8).toInt(), 0);
    QCOMPARE(toDate(q.value(9)), day("2024-01-15"));
    QCOMPARE(toDate(q.value(10)), day("2024-07-16"));
    QCOMPARE(q.value(11).toString(), QStringLiteral("优惠'--"));
    QCOMPARE(q.value(12).toString(), Op);
    QVERIFY(!q.next());
    q.finish();

    QSqlQuery r = t.db().exec(QStringLiteral("select 截止日期,当前包租量,当前可用量,当前已用量,包租,状态 from 读者资料 where 编号='W1'"));
    QVERIFY(r.next());
    QCOMPARE(toDate(r.value(0)), day("2024-07-16"));
    QCOMPARE(r.value(1).toInt(), 50);
    QCOMPARE(r.value(2).toInt(), 50);
    QCOMPARE(r.value(3).toInt(), 0);
    QVERIFY(toBool(r.value(4)));
    QCOMPARE(r.value(5).toString(), QStringLiteral("正常"));
    QVERIFY(!desk.reader());
}

void TestTopUp::changingTheStartMovesTheEnd_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::newRow("the day of loading") << day("2024-01-15") << day("2024-07-16");
    QTest::newRow("a later start") << day("2024-02-01") << day("2024-08-02");
    QTest::newRow("six months on is the end of February") << day("2023-08-31") << day("2024-03-01");
}

void TestTopUp::changingTheStartMovesTheEnd()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    TopUpDesk desk(t.bast(), Op);
    desk.setToday(day("2024-01-15"));
    QVERIFY(desk.loadPrepaidReader(QStringLiteral("W1")).ok);
    desk.setActiveDate(start);
    QCOMPARE(desk.loseDate(), end);
    // The operator may still set the end by hand: that is what is stored.
    desk.setLoseDate(day("2024-12-31"));
    QVERIFY(desk.topUp().ok);
    QCOMPARE(f.date(QStringLiteral("select 生效日期 from 包租充值")), start);
    QCOMPARE(f.date(QStringLiteral("select 失效日期 from 包租充值")), day("2024-12-31"));
    QCOMPARE(f.date(QStringLiteral("select 截止日期 from 读者资料 where 编号='W1'")), day("2024-12-31"));
}

void TestTopUp::noReaderWritesNoRecord()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    TopUpDesk desk(t.bast(), Op);
    QVERIFY(!desk.topUp().ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("请先输入读者编号，调出读者信息！"));
    QCOMPARE(f.count(QStringLiteral("select count(*) from 包租充值")), 0);
}

void TestTopUp::prepaidReaderRunsOutAndTopsUpAgain()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addReader({QStringLiteral("S1"), QStringLiteral("小包甲"), QStringLiteral("小包"), QStringLiteral("等待")});
    for (const char *b : {"B1", "B2", "B3"})
        f.addBook(QString::fromLatin1(b), QStringLiteral("书"));

    TopUpDesk topUp(t.bast(), Op);
    QVERIFY(topUp.loadPrepaidReader(QStringLiteral("S1")).ok);
    QVERIFY(topUp.topUp().ok);

    LendingDesk lend(t.bast(), Op);
    QVERIFY(lend.loadReader(QStringLiteral("S1")).ok);
    QCOMPARE(lend.reader()->quotaLeft, 2);
    QVERIFY(lend.addBookBySearch(QStringLiteral("B1"), BookSearch::Number).ok);
    QVERIFY(lend.lendBooks().ok);
    QCOMPARE(f.readerStatus(QStringLiteral("S1")), QStringLiteral("正常"));
    QVERIFY(lend.loadReader(QStringLiteral("S1")).ok);
    QVERIFY(lend.addBookBySearch(QStringLiteral("B2"), BookSearch::Number).ok);
    QVERIFY(!lend.addBookBySearch(QStringLiteral("B3"), BookSearch::Number).ok);
    QVERIFY(lend.lendBooks().ok);
    QCOMPARE(f.readerStatus(QStringLiteral("S1")), QStringLiteral("过期"));
    QCOMPARE(f.text(QStringLiteral("select 状态 from 包租充值 where 读者编号='S1'")), QStringLiteral("失效"));
    QCOMPARE(f.count(QStringLiteral("select 已用量 from 包租充值 where 读者编号='S1'")), 2);
    QVERIFY(!lend.loadReader(QStringLiteral("S1")).ok);

    // The quota is replaced, and the old record stays void.
    QVERIFY(topUp.loadPrepaidReader(QStringLiteral("S1")).ok);
    QVERIFY(topUp.topUp().ok);
    QCOMPARE(f.readerStatus(QStringLiteral("S1")), QStringLiteral("正常"));
    QCOMPARE(f.count(QStringLiteral("select 当前可用量 from 读者资料 where 编号='S1'")), 2);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 包租充值 where 读者编号='S1' and 状态='有效'")), 1);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 包租充值 where 读者编号='S1' and 状态='失效'")), 1);
    QCOMPARE(f.money(QStringLiteral("select ") + t.db().dialect().moneySumOrZero(QStringLiteral("充值金额"))
                     + QStringLiteral(" from 包租充值")),
             yuan("19.98"));
}

void TestTopUp::secondDeskCannotSellTheSameTopUp()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    TopUpDesk desk(t.bast(), Op);
    QVERIFY(desk.loadPrepaidReader(QStringLiteral("W1")).ok);

    OtherDesk<TopUpDesk> other(t);
    QVERIFY(other.ok());
    auto &desk2 = other.desk;
    QVERIFY(desk2.loadPrepaidReader(QStringLiteral("W1")).ok);
    QVERIFY(desk2.topUp().ok);

    QVERIFY(!desk.topUp().ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前编号为[W1]的读者的借书证处于[正常]状态，无需充值！"));
    QCOMPARE(f.count(QStringLiteral("select count(*) from 包租充值")), 1);
}

QTEST_GUILESS_MAIN(TestTopUp)
#include "tst_topup.moc"
