#include "circulation/renewdesk.h"
#include "deskfixture.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
const QString Op = QStringLiteral("续借员");

void stock(DeskFixture &f, int days = 30)
{
    f.addType({QStringLiteral("普通"), 5, days, yuan("0.20"), yuan("0.50")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("O'Brien"), QStringLiteral("普通")});
    for (const char *b : {"B1", "B2", "B3"}) {
        f.addBook(QString::fromLatin1(b), QStringLiteral("书"));
        f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QString::fromLatin1(b), day("2024-03-01"), day("2024-03-31"));
    }
}
} // namespace

class TestRenewal : public QObject {
    Q_OBJECT
private slots:
    void newDueDateCountsFromToday_data();
    void newDueDateCountsFromToday();
    void renewingThreeBooksRecordsEach();
    void onceADayWhenTicking();
    void secondRenewalTheSameDayIsRefused();
    void renewedYesterdayRenewsToday();
    void refusalsAndMessages();
};

void TestRenewal::newDueDateCountsFromToday_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("due");
    QTest::newRow("before the old due date") << 30 << day("2024-03-20") << day("2024-04-19");
    QTest::newRow("overdue: from today, not from the old date") << 30 << day("2024-04-10") << day("2024-05-10");
    QTest::newRow("over the year end") << 30 << day("2024-12-20") << day("2025-01-19");
    QTest::newRow("onto a leap day") << 1 << day("2028-02-28") << day("2028-02-29");
    QTest::newRow("period 0: due today") << 0 << day("2024-03-20") << day("2024-03-20");
}

void TestRenewal::newDueDateCountsFromToday()
{
    QFETCH(int, days);
    QFETCH(QDate, today);
    QFETCH(QDate, due);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f, days);
    RenewDesk desk(t.bast(), Op);
    desk.setToday(today);
    QVERIFY(desk.loadOpenLoans(QStringLiteral("B2"), LoanLookup::Book).ok);
    QCOMPARE(desk.tickedCount(), 1);
    QVERIFY(desk.rows().at(1).ticked);
    QVERIFY(desk.renewBooks().ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("图书续借操作成功！"));
    QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号='B2'")), due);
    QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号='B1'")), day("2024-03-31"));
    QSqlQuery q = t.db().exec(QStringLiteral("select 续借日期,读者编号,读者类型,读者姓名,借阅日期,续借前应还日期,续借后应还日期,操作员,图书编号 "
                                             "from 图书续借记录"));
    QVERIFY(q.next());
    QCOMPARE(toDate(q.value(0)), today);
    QCOMPARE(q.value(1).toString(), QStringLiteral("R1"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("普通"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("读者R1"));
    QCOMPARE(toDate(q.value(4)), day("2024-03-01"));
    QCOMPARE(toDate(q.value(5)), day("2024-03-31"));
    QCOMPARE(toDate(q.value(6)), due);
    QCOMPARE(q.value(7).toString(), Op);
    QCOMPARE(q.value(8).toString(), QStringLiteral("B2"));
    QVERIFY(!q.next());
}

void TestRenewal::renewingThreeBooksRecordsEach()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    RenewDesk desk(t.bast(), Op);
    desk.setToday(day("2024-03-20"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    QCOMPARE(desk.reader()->allowance, 2);
    QCOMPARE(desk.reader()->loanDays, 30);
    QVERIFY(desk.tickAll().ok);
    QVERIFY(desk.renewBooks().ok);
    QCOMPARE(t.sink.entries.at(0).text, QStringLiteral("是否确定续借图书借阅列表中已经打钩选中的3本图书？"));
    QCOMPARE(f.count(QStringLiteral("select 借阅次数 from 读者资料 where 编号='R1'")), 3);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录")), 3);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书借阅信息 where 应还日期=?"), {day("2024-04-19")}), 3);
}

void TestRenewal::onceADayWhenTicking()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    RenewDesk desk(t.bast(), Op);
    desk.setToday(day("2024-03-20"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("B1"), LoanLookup::Book).ok);
    QVERIFY(desk.renewBooks().ok);

    // By its number: listed, not ticked.
    QVERIFY(desk.loadOpenLoans(QStringLiteral("B1"), LoanLookup::Book).ok);
    QCOMPARE(desk.tickedCount(), 0);
    QVERIFY(desk.rows().at(0).renewedToday);
    // By mouse: the tick comes off with the message.
    QVERIFY(!desk.setTicked(0, true).ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("编号为[B1]的图书今日已经被进行过一次续借操作！"));
    QVERIFY(!desk.rows().at(0).ticked);
    // "选中全部" skips it.
    QVERIFY(desk.tickAll().ok);
    QCOMPARE(desk.tickedCount(), 2);
    QVERIFY(!desk.rows().at(0).ticked);
    QVERIFY(desk.untickAll().ok);
    QCOMPARE(desk.tickedCount(), 0);
}

void TestRenewal::secondRenewalTheSameDayIsRefused()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    RenewDesk desk(t.bast(), Op);
    desk.setToday(day("2024-03-20"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    desk.tickAll();

    // Another desk renews B3 after this list was ticked.
    OtherDesk<RenewDesk> other(t, day("2024-03-20"));
    QVERIFY(other.ok());
    auto &desk2 = other.desk;
    QVERIFY(desk2.loadOpenLoans(QStringLiteral("B3"), LoanLookup::Book).ok);
    QVERIFY(desk2.renewBooks().ok);

    const RenewOutcome o = desk.renewBooks();
    QVERIFY(!o.ok);
    QCOMPARE(o.refusedBook, QStringLiteral("B3"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("编号为[B3]的图书今日已经被进行过一次续借操作！"));
    // Nothing of this desk's renewal stays: only the other desk's record and count.
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录")), 1);
    QCOMPARE(f.count(QStringLiteral("select 借阅次数 from 读者资料 where 编号='R1'")), 1);
    QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号='B1'")), day("2024-03-31"));
}

void TestRenewal::renewedYesterdayRenewsToday()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    RenewDesk desk(t.bast(), Op);
    desk.setToday(day("2024-03-19"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("B1"), LoanLookup::Book).ok);
    QVERIFY(desk.renewBooks().ok);
    desk.setToday(day("2024-03-20"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("B1"), LoanLookup::Book).ok);
    QCOMPARE(desk.tickedCount(), 1);
    QVERIFY(desk.renewBooks().ok);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录 where 图书编号='B1'")), 2);
    QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号='B1'")), day("2024-04-19"));
}

void TestRenewal::refusalsAndMessages()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    RenewDesk desk(t.bast(), Op);
    QCOMPARE(desk.renewBooks().message,
             QStringLiteral("请先输入需要续借图书的读者编号或者输入需要被续借的图书编号调出读者信息及其借阅信息，然后再进行续借操作！"));
    QCOMPARE(desk.tickAll().message, QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！"));
    QCOMPARE(desk.loadOpenLoans(QStringLiteral("B9"), LoanLookup::Book).message,
             QStringLiteral("未检索到拥有此编号的图书的借出信息，请检查图书编号输入是否正确！"));
    QCOMPARE(desk.loadOpenLoans(QStringLiteral("R9"), LoanLookup::Reader).message,
             QStringLiteral("未检索到拥有此编号的读者的借阅信息，请检查读者编号输入是否正确！"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    QCOMPARE(desk.renewBooks().message, QStringLiteral("请先在图书借阅列表中给需要进行续借操作的图书打钩！"));
    desk.setTicked(0, true);
    t.sink.answers.enqueue(false);
    QVERIFY(!desk.renewBooks().ok);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录")), 0);
}

QTEST_GUILESS_MAIN(TestRenewal)
#include "tst_renewal.moc"
