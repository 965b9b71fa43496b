#include "catalogue/catalogueservices.h"

#include <QtTest>

using namespace qandor;

// The check on entry and the 13-digit form stored beside the typed ISBN.
class TestIsbn : public QObject {
    Q_OBJECT
private slots:
    void checkAndConvert_data();
    void checkAndConvert();
};

void TestIsbn::checkAndConvert_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("checks");
    QTest::addColumn<QString>("isbn13");
    QTest::newRow("10 digits, X check") << QStringLiteral("0-8044-2957-X") << true << QStringLiteral("9780804429573");
    QTest::newRow("10 digits, lower-case x") << QStringLiteral("080442957x") << true << QStringLiteral("9780804429573");
    QTest::newRow("10 digits, X where 8 belongs") << QStringLiteral("7-5063-2512-X") << false << QStringLiteral("9787506325127");
    QTest::newRow("10 digits, right check") << QStringLiteral("7-5063-2512-8") << true << QStringLiteral("9787506325127");
    QTest::newRow("10 digits, hyphenated") << QStringLiteral("7-111-07127-1") << true << QStringLiteral("9787111071273");
    QTest::newRow("10 digits, wrong check") << QStringLiteral("7-111-07127-2") << false << QStringLiteral("9787111071273");
    QTest::newRow("13 digits") << QStringLiteral("9787111071273") << true << QStringLiteral("9787111071273");
    QTest::newRow("13 digits, hyphenated") << QStringLiteral("978-7-5063-2512-7") << true << QStringLiteral("9787506325127");
    QTest::newRow("13 digits, wrong check") << QStringLiteral("978-7-5063-2512-0") << false << QStringLiteral("9787506325127");
    QTest::newRow("blanks around groups") << QStringLiteral(" 978 7 111 07127 3 ") << true << QStringLiteral(" 978 7 111 07127 3 ");
    QTest::newRow("too short") << QStringLiteral("7-111-0712") << false << QStringLiteral("71110714");
    QTest::newRow("X inside 13 digits") << QStringLiteral("978711107127X") << false << QStringLiteral("9787111071273");
    QTest::newRow("X not last of 10") << QStringLiteral("7X11071271") << false << QStringLiteral("7X11071271");
    QTest::newRow("letters") << QStringLiteral("ISBN-abc") << false << QStringLiteral("ISBN-abc");
    QTest::newRow("empty") << QString() << false << QStringLiteral("0");
}

void TestIsbn::checkAndConvert()
{
    QFETCH(QString, typed);
    QFETCH(bool, checks);
    QFETCH(QString, isbn13);
    QCOMPARE(IsbnChecks(typed), checks);
    QCOMPARE(IsbnTo13(typed), isbn13);
}

QTEST_APPLESS_MAIN(TestIsbn)
#include "tst_isbn.moc"
