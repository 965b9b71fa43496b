#include "circulation/loancharges.h"

#include <QtTest>

using namespace qandor;

namespace {
QDate d(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }
} // namespace

class TestLoanCharges : public QObject {
    Q_OBJECT
private slots:
    void charges_data();
    void charges();
    void dueDate_data();
    void dueDate();
    void explanation_data();
    void explanation();
};

void TestLoanCharges::charges_data()
{
    QTest::addColumn<QDate>("lent");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("rentRate");
    QTest::addColumn<QString>("fineRate");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("rent");
    QTest::addColumn<QString>("overdue");
    QTest::addColumn<QString>("fine");
    QTest::addColumn<qint64>("totalFen");

    QTest::newRow("on time") << d("2024-03-01") << d("2024-03-31") << d("2024-03-08") << QStringLiteral("0.35") << QStringLiteral("0.10")
                             << QStringLiteral("7") << QStringLiteral("2.45") << QStringLiteral("0") << QStringLiteral("0") << qint64(245);
    QTest::newRow("overdue: rent covers every day, fine on top")
        << d("2024-03-01") << d("2024-03-31") << d("2024-04-02") << QStringLiteral("0.20") << QStringLiteral("0.50")
        << QStringLiteral("32") << QStringLiteral("6.40") << QStringLiteral("2") << QStringLiteral("1.00") << qint64(740);
    QTest::newRow("three overdue days at 0.10 is exactly 0.30")
        << d("2024-03-01") << d("2024-03-31") << d("2024-04-03") << QStringLiteral("0.35") << QStringLiteral("0.10")
        << QStringLiteral("33") << QStringLiteral("11.55") << QStringLiteral("3") << QStringLiteral("0.30") << qint64(1185);
    QTest::newRow("same day: one day shown, no rent") << d("2024-05-06") << d("2024-06-05") << d("2024-05-06")
                                                      << QStringLiteral("0.35") << QStringLiteral("0.10") << QStringLiteral("1") << QStringLiteral("0.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(0);
    QTest::newRow("same day, no rate") << d("2024-05-06") << d("2024-06-05") << d("2024-05-06")
                                       << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0") << qint64(0);
    QTest::newRow("on the due date: no fine") << d("2024-03-01") << d("2024-03-31") << d("2024-03-31")
                                              << QStringLiteral("0.20") << QStringLiteral("0.50") << QStringLiteral("30") << QStringLiteral("6.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(600);
    QTest::newRow("day after due: one overdue day") << d("2024-03-01") << d("2024-03-31") << d("2024-04-01")
                                                    << QStringLiteral("0.20") << QStringLiteral("0.50") << QStringLiteral("31") << QStringLiteral("6.20") << QStringLiteral("1") << QStringLiteral("0.50") << qint64(670);
    QTest::newRow("zero rates still count overdue days") << d("2024-03-01") << d("2024-03-31") << d("2024-04-05")
                                                         << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("35") << QStringLiteral("0") << QStringLiteral("5") << QStringLiteral("0") << qint64(0);
    QTest::newRow("leap February, month end") << d("2024-01-31") << d("2024-03-01") << d("2024-03-02")
                                              << QStringLiteral("0.10") << QStringLiteral("1.00") << QStringLiteral("31") << QStringLiteral("3.10") << QStringLiteral("1") << QStringLiteral("1.00") << qint64(410);
    QTest::newRow("across the year end") << d("2023-12-20") << d("2024-01-04") << d("2024-01-06")
                                         << QStringLiteral("0.05") << QStringLiteral("0.20") << QStringLiteral("17") << QStringLiteral("0.85") << QStringLiteral("2") << QStringLiteral("0.40") << qint64(125);
    QTest::newRow("over the leap day") << d("2024-02-28") << d("2024-03-10") << d("2024-03-01")
                                       << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("2") << QStringLiteral("2.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(200);
    QTest::newRow("no leap day in 2023") << d("2023-02-28") << d("2023-03-10") << d("2023-03-01")
                                         << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("1") << QStringLiteral("1.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(100);
    QTest::newRow("half a fen rounds away from zero") << d("2024-03-01") << d("2024-03-02") << d("2024-03-04")
                                                      << QStringLiteral("0.125") << QStringLiteral("0.0050") << QStringLiteral("3") << QStringLiteral("0.38") << QStringLiteral("2") << QStringLiteral("0.01") << qint64(39);
    QTest::newRow("below half a fen rounds down") << d("2024-03-01") << d("2024-03-31") << d("2024-03-04")
                                                  << QStringLiteral("0.0015") << QStringLiteral("0") << QStringLiteral("3") << QStringLiteral("0.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(0);
    QTest::newRow("lending date after today never refunds") << d("2024-03-05") << d("2024-04-04") << d("2024-03-03")
                                                            << QStringLiteral("0.35") << QStringLiteral("0.10") << QStringLiteral("1") << QStringLiteral("0.00") << QStringLiteral("0") << QStringLiteral("0") << qint64(0);
}

void TestLoanCharges::charges()
{
    QFETCH(QDate, lent);
    QFETCH(QDate, due);
    QFETCH(QDate, today);
    QFETCH(QString, rentRate);
    QFETCH(QString, fineRate);
    QFETCH(QString, days);
    QFETCH(QString, rent);
    QFETCH(QString, overdue);
    QFETCH(QString, fine);
    QFETCH(qint64, totalFen);

    const LoanCharges c = computeLoanCharges(today, lent, due, *Money::parse(rentRate), *Money::parse(fineRate));
    QCOMPARE(c.daysText(), days);
    QCOMPARE(c.rentText(), rent);
    QCOMPARE(c.overdueText(), overdue);
    QCOMPARE(c.fineText(), fine);
    QCOMPARE(c.shownDays, days.toInt());
    QCOMPARE(c.overdueDays, overdue.toInt());
    // Stored amounts are whole fen and add up to the total shown.
    QCOMPARE(c.rent.units() % 100, qint64(0));
    QCOMPARE(c.fine.units() % 100, qint64(0));
    QCOMPARE(c.total(), Money::fromFen(totalFen));
    QCOMPARE(c.rent, *Money::parse(rent));
    QCOMPARE(c.fine, *Money::parse(fine));
}

void TestLoanCharges::dueDate_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("period");
    QTest::addColumn<QDate>("due");
    QTest::newRow("thirty days") << d("2024-03-01") << 30 << d("2024-03-31");
    QTest::newRow("period 0 is due the same day") << d("2024-03-01") << 0 << d("2024-03-01");
    QTest::newRow("into the leap day") << d("2024-02-15") << 14 << d("2024-02-29");
    QTest::newRow("across the year end") << d("2024-12-15") << 30 << d("2025-01-14");
    QTest::newRow("renewal counts from the renewal day") << d("2024-03-20") << 30 << d("2024-04-19");
}

void TestLoanCharges::dueDate()
{
    QFETCH(QDate, day);
    QFETCH(int, period);
    QFETCH(QDate, due);
    QCOMPARE(loanDueDate(day, period), due);
}

void TestLoanCharges::explanation_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("rentRate");
    QTest::addColumn<QString>("fineRate");
    QTest::addColumn<QString>("text");
    // Lent 2024-03-01, due 2024-03-05.
    QTest::newRow("rent only") << d("2024-03-08") << QStringLiteral("0.35") << QStringLiteral("0") << QStringLiteral("租金：7天 × ￥0.35 = ￥2.45");
    QTest::newRow("rent and fine") << d("2024-03-08") << QStringLiteral("0.35") << QStringLiteral("0.10")
                                   << QStringLiteral("租金：7天 × ￥0.35 = ￥2.45\n罚金：超期3天 × ￥0.10 = ￥0.30");
    QTest::newRow("four-decimal rate shown in full") << d("2024-03-04") << QStringLiteral("0.125") << QStringLiteral("0")
                                                     << QStringLiteral("租金：3天 × ￥0.125 = ￥0.38");
    QTest::newRow("nothing charged") << d("2024-03-08") << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("不收费");
}

void TestLoanCharges::explanation()
{
    QFETCH(QDate, today);
    QFETCH(QString, rentRate);
    QFETCH(QString, fineRate);
    QFETCH(QString, text);
    const LoanCharges c = computeLoanCharges(today, d("2024-03-01"), d("2024-03-05"), *Money::parse(rentRate),
                                             *Money::parse(fineRate));
    QCOMPARE(c.explanation(), text);
}

QTEST_APPLESS_MAIN(TestLoanCharges)
#include "tst_loancharges.moc"
