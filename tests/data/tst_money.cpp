#include "data/money.h"

#include <QtTest>

using namespace qandor;

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void formatting_data();
    void formatting();
    void arithmeticIsExact();
    void fromDatabaseValues();
};

void TestMoney::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("units");
    QTest::newRow("whole") << QStringLiteral("12") << true << qint64(120000);
    QTest::newRow("one decimal") << QStringLiteral("0.1") << true << qint64(1000);
    QTest::newRow("negative") << QStringLiteral("-0.05") << true << qint64(-500);
    QTest::newRow("display form") << QStringLiteral("￥1,234.50") << true << qint64(12345000);
    QTest::newRow("blanks") << QStringLiteral(" 3.5 ") << true << qint64(35000);
    QTest::newRow("fifth decimal rounds up") << QStringLiteral("0.00005") << true << qint64(1);
    QTest::newRow("fifth decimal rounds down") << QStringLiteral("1.23454") << true << qint64(12345);
    QTest::newRow("leading dot") << QStringLiteral(".5") << true << qint64(5000);
    QTest::newRow("empty") << QString() << false << qint64(0);
    QTest::newRow("letters") << QStringLiteral("1.2元") << false << qint64(0);
    QTest::newRow("two dots") << QStringLiteral("1.2.3") << false << qint64(0);
    QTest::newRow("sign only") << QStringLiteral("-") << false << qint64(0);
}

void TestMoney::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, units);
    const auto m = Money::parse(text);
    QCOMPARE(m.has_value(), valid);
    if (valid)
        QCOMPARE(m->units(), units);
}

void TestMoney::formatting_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("display");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("0.00") << QStringLiteral("￥0.00");
    QTest::newRow("thousands") << qint64(12345670000) << QStringLiteral("1234567.00") << QStringLiteral("￥1,234,567.00");
    QTest::newRow("half fen up") << qint64(50) << QStringLiteral("0.01") << QStringLiteral("￥0.01");
    QTest::newRow("below half fen") << qint64(49) << QStringLiteral("0.00") << QStringLiteral("￥0.00");
    QTest::newRow("negative") << qint64(-12345) << QStringLiteral("-1.23") << QStringLiteral("-￥1.23");
}

void TestMoney::formatting()
{
    QFETCH(qint64, units);
    QFETCH(QString, plain);
    QFETCH(QString, display);
    QCOMPARE(Money::fromUnits(units).toString(), plain);
    QCOMPARE(Money::fromUnits(units).format(), display);
}

void TestMoney::arithmeticIsExact()
{
    Money sum;
    for (int i = 0; i < 3; ++i)
        sum += *Money::parse(u"0.1");
    QCOMPARE(sum, *Money::parse(u"0.3"));
    QCOMPARE((Money::fromFen(15) * 7).toString(), QStringLiteral("1.05"));
    QCOMPARE(Money::fromUnits(12345).toDecimalString(), QStringLiteral("1.2345"));
}

void TestMoney::fromDatabaseValues()
{
    QCOMPARE(Money::fromVariant(QVariant(0.30000000000000004)).units(), qint64(3000));
    QCOMPARE(Money::fromVariant(QVariant(QStringLiteral("10000.0000"))).units(), qint64(100000000));
    QCOMPARE(Money::fromVariant(QVariant(7)).units(), qint64(70000));
    QCOMPARE(Money::fromVariant(QVariant()).units(), qint64(0));
    QCOMPARE(Money::fromVariant(QVariant::fromValue(Money::fromFen(3))).units(), qint64(300));
}

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
