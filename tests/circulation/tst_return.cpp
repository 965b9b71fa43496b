#include "circulation/returndesk.h"
#include "deskfixture.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
const QString Op = QStringLiteral("还书员");
} // namespace

class TestReturn : public QObject {
    Q_OBJECT
private slots:
    void storesExactlyTheChargesShown_data();
    void storesExactlyTheChargesShown();
    void lookupByBookTicksThatBookOnly();
    void ratesComeFromEachLoansType();
    void refusalsAndMessages();
    void returnedAtAnotherDeskWritesNothing();
    void moneySumsStayExact();
};

void TestReturn::storesExactlyTheChargesShown_data()
{
    QTest::addColumn<QDate>("lent");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("rent");
    QTest::addColumn<QString>("fine");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("rentShown");
    QTest::addColumn<int>("overdue");
    QTest::addColumn<QString>("fineShown");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("overdue two days") << day("2024-03-01") << day("2024-03-31") << day("2024-04-02") << "0.20" << "0.50" << 32
                                      << "6.40" << 2 << "1.00" << "32天 × ￥0.20 = ￥6.40";
    QTest::newRow("same day") << day("2024-05-06") << day("2024-06-05") << day("2024-05-06") << "0.35" << "0.10" << 1 << "0.00" << 0
                              << "0" << "0天 × ￥0.35 = ￥0.00";
    QTest::newRow("on the due date") << day("2024-03-01") << day("2024-03-31") << day("2024-03-31") << "0.20" << "0.50" << 30
                                     << "6.00" << 0 << "0" << "30天 × ￥0.20 = ￥6.00";
    QTest::newRow("zero rates") << day("2024-03-01") << day("2024-03-31") << day("2024-04-05") << "0" << "0" << 35 << "0" << 5 << "0"
                                << "不收费";
    QTest::newRow("over the year end") << day("2023-12-20") << day("2024-01-04") << day("2024-01-06") << "0.05" << "0.20" << 17
                                       << "0.85" << 2 << "0.40" << "17天 × ￥0.05 = ￥0.85";
}

void TestReturn::storesExactlyTheChargesShown()
{
    QFETCH(QDate, lent);
    QFETCH(QDate, due);
    QFETCH(QDate, today);
    QFETCH(QString, rent);
    QFETCH(QString, fine);
    QFETCH(int, days);
    QFETCH(QString, rentShown);
    QFETCH(int, overdue);
    QFETCH(QString, fineShown);
    QFETCH(QString, explanation);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 3, 30, *Money::parse(rent), *Money::parse(fine)});
    f.addReader({QStringLiteral("R1"), QStringLiteral("O'Brien"), QStringLiteral("普通")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("红楼梦"));
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), lent, due);

    ReturnDesk desk(t.bast(), Op);
    desk.setToday(today);
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    QCOMPARE(desk.reader()->rentRate, *Money::parse(rent));
    QCOMPARE(desk.rows().size(), 1);
    const ReturnRow row = desk.rows().first();
    QCOMPARE(row.charges.daysText(), QString::number(days));
    QCOMPARE(row.charges.rentText(), rentShown);
    QCOMPARE(row.charges.overdueText(), QString::number(overdue));
    QCOMPARE(row.charges.fineText(), fineShown);
    QVERIFY2(row.charges.explanation().contains(explanation), qPrintable(row.charges.explanation()));
    QCOMPARE(desk.totals().sum(), Money()); // nothing ticked yet
    desk.setTicked(0, true);
    QCOMPARE(desk.totals().sum(), row.charges.total());

    const ReturnOutcome o = desk.returnBooks();
    QVERIFY2(o.ok, qPrintable(t.sink.texts().join(QLatin1Char('|'))));
    QCOMPARE(t.sink.entries.first().text, QStringLiteral("是否确定归还图书借阅列表中已经打钩选中的1本图书？"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("图书归还操作成功！"));
    QSqlQuery q = t.db().exec(QStringLiteral("select 状态,实还日期,借阅天数,借阅租金,超期天数,超期罚金,操作员 from 图书借阅信息"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("已还"));
    QCOMPARE(toDate(q.value(1)), today);
    QCOMPARE(q.value(2).toInt(), days);
    QCOMPARE(Money::fromVariant(q.value(3)), row.charges.rent);
    QCOMPARE(Money::fromVariant(q.value(3)).toString(), rentShown == QLatin1String("0") ? QStringLiteral("0.00") : rentShown);
    QCOMPARE(q.value(4).toInt(), overdue);
    QCOMPARE(Money::fromVariant(q.value(5)), row.charges.fine);
    QCOMPARE(q.value(6).toString(), Op);
    QCOMPARE(f.bookStatus(QStringLiteral("B1")), QStringLiteral("在馆"));
    QVERIFY(!desk.reader());
}

void TestReturn::lookupByBookTicksThatBookOnly()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 5, 30, yuan("0.20"), yuan("0.50")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("甲"), QStringLiteral("普通")});
    for (const char *b : {"B1", "B2", "B3"}) {
        f.addBook(QString::fromLatin1(b), QStringLiteral("书"));
        f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QString::fromLatin1(b), day("2024-03-01"), day("2024-03-31"));
    }
    ReturnDesk desk(t.bast(), Op);
    desk.setToday(day("2024-04-02"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral(" B2 "), LoanLookup::Book).ok);
    QCOMPARE(desk.reader()->number, QStringLiteral("R1"));
    QCOMPARE(desk.rows().size(), 3);
    QCOMPARE(desk.tickedCount(), 1);
    QVERIFY(desk.rows().at(1).ticked);
    QCOMPARE(desk.totals().rent, yuan("6.40"));
    QCOMPARE(desk.totals().fine, yuan("1.00"));
    QCOMPARE(desk.totals().sum(), yuan("7.40"));
    QVERIFY(desk.tickAll().ok);
    QCOMPARE(desk.totals().sum(), yuan("22.20"));
    QVERIFY(desk.untickAll().ok);
    QCOMPARE(desk.totals().sum(), Money());
    desk.setTicked(1, true);
    QVERIFY(desk.returnBooks().ok);
    QCOMPARE(f.openLoans(QStringLiteral("R1")), 2);
    QCOMPARE(f.text(QStringLiteral("select 状态 from 图书借阅信息 where 图书编号='B2'")), QStringLiteral("已还"));
    QCOMPARE(f.bookStatus(QStringLiteral("B1")), QStringLiteral("借出"));

    desk.loadOpenLoans(QStringLiteral("B2"), LoanLookup::Book);
    QCOMPARE(t.sink.lastText(), QStringLiteral("未检索到拥有此编号的图书的借出信息，请检查图书编号输入是否正确！"));
    QVERIFY(!desk.reader());
}

void TestReturn::ratesComeFromEachLoansType()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 5, 30, yuan("0.20"), yuan("0.50")});
    f.addType({QStringLiteral("学生"), 5, 30, yuan("0.10"), yuan("0.05")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("甲"), QStringLiteral("学生")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("书"));
    f.addBook(QStringLiteral("B2"), QStringLiteral("书"));
    // Lent under the old type, then the reader changed type.
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("学生"), QStringLiteral("B2"), day("2024-03-01"), day("2024-03-31"));
    ReturnDesk desk(t.bast(), Op);
    desk.setToday(day("2024-04-02"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    QCOMPARE(desk.rows().at(0).charges.total(), yuan("7.40"));
    QCOMPARE(desk.rows().at(1).charges.total(), yuan("3.30"));
    desk.tickAll();
    QVERIFY(desk.returnBooks().ok);
    QCOMPARE(f.money(QStringLiteral("select ") + t.db().dialect().moneySumOrZero(QStringLiteral("借阅租金+超期罚金"))
                     + QStringLiteral(" from 图书借阅信息")),
             yuan("10.70"));
}

void TestReturn::refusalsAndMessages()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 5, 30, yuan("0.20"), yuan("0.50")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("甲"), QStringLiteral("普通")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("书"));
    ReturnDesk desk(t.bast(), Op);

    QCOMPARE(desk.returnBooks().message,
             QStringLiteral("请先输入需要归还图书的读者编号或者输入需要被归还的图书编号调出读者信息及其借阅信息，然后再进行归还操作！"));
    QCOMPARE(desk.tickAll().message, QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！"));
    QCOMPARE(desk.loadOpenLoans(QString(), LoanLookup::Reader).message, QStringLiteral("请输入读者编号！"));
    QCOMPARE(desk.loadOpenLoans(QString(), LoanLookup::Book).message, QStringLiteral("请输入图书编号！"));
    QCOMPARE(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).message,
             QStringLiteral("未检索到拥有此编号的读者的借阅信息，请检查读者编号输入是否正确！"));

    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    QCOMPARE(desk.returnBooks().message, QStringLiteral("请先在图书借阅列表中给需要进行归还操作的图书打钩！"));
    desk.tickAll();
    t.sink.answers.enqueue(false);
    QVERIFY(!desk.returnBooks().ok);
    QCOMPARE(f.openLoans(QStringLiteral("R1")), 1);
    QCOMPARE(desk.rows().size(), 1); // still on screen after "取消"
}

void TestReturn::returnedAtAnotherDeskWritesNothing()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 5, 30, yuan("0.20"), yuan("0.50")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("甲"), QStringLiteral("普通")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("书"));
    f.addBook(QStringLiteral("B2"), QStringLiteral("书"));
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B2"), day("2024-03-01"), day("2024-03-31"));

    ReturnDesk desk(t.bast(), Op);
    desk.setToday(day("2024-04-10"));
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    desk.tickAll();

    OtherDesk<ReturnDesk> other(t, day("2024-04-02"));
    QVERIFY(other.ok());
    auto &desk2 = other.desk;
    QVERIFY(desk2.loadOpenLoans(QStringLiteral("B2"), LoanLookup::Book).ok);
    QVERIFY(desk2.returnBooks().ok);

    const ReturnOutcome o = desk.returnBooks();
    QVERIFY(!o.ok);
    QCOMPARE(o.refusedBook, QStringLiteral("B2"));
    QVERIFY(t.sink.lastText().startsWith(QStringLiteral("编号为[B2]的图书已经归还")));
    // B1 stays open; B2 keeps the other desk's figures, not charged twice.
    QCOMPARE(f.text(QStringLiteral("select 状态 from 图书借阅信息 where 图书编号='B1'")), QStringLiteral("未还"));
    QCOMPARE(f.bookStatus(QStringLiteral("B1")), QStringLiteral("借出"));
    QCOMPARE(f.money(QStringLiteral("select 超期罚金 from 图书借阅信息 where 图书编号='B2'")), yuan("1.00"));
    QCOMPARE(f.value(QStringLiteral("select 操作员 from 图书借阅信息 where 图书编号='B2'")).toString(), QStringLiteral("二号台"));
}

void TestReturn::moneySumsStayExact()
{
    // 0.35 and 0.10 have no exact binary form: thirty returns must still add up to the fen.
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("普通"), 40, 30, yuan("0.35"), yuan("0.10")});
    f.addReader({QStringLiteral("R1"), QStringLiteral("甲"), QStringLiteral("普通")});
    for (int i = 0; i < 30; ++i) {
        const QString b = QStringLiteral("B%1").arg(i);
        f.addBook(b, QStringLiteral("书"));
        f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), b, day("2024-03-01"), day("2024-03-05"));
    }
    ReturnDesk desk(t.bast(), Op);
    desk.setToday(day("2024-03-08")); // 7 days: 2.45 rent, 3 overdue: 0.30 fine
    QVERIFY(desk.loadOpenLoans(QStringLiteral("R1"), LoanLookup::Reader).ok);
    desk.tickAll();
    QCOMPARE(desk.totals().rent, yuan("73.50"));
    QCOMPARE(desk.totals().fine, yuan("9.00"));
    QVERIFY(desk.returnBooks().ok);
    const Dialect &d = t.db().dialect();
    QCOMPARE(f.money(QStringLiteral("select ") + d.moneySumOrZero(QStringLiteral("借阅租金")) + QStringLiteral(" from 图书借阅信息")),
             yuan("73.50"));
    QCOMPARE(f.money(QStringLiteral("select ") + d.moneySumOrZero(QStringLiteral("超期罚金")) + QStringLiteral(" from 图书借阅信息")),
             yuan("9.00"));
}

QTEST_GUILESS_MAIN(TestReturn)
#include "tst_return.moc"
