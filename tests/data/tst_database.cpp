#include "data/money.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void moneySumsExactToTheFen();
    void datesStoreAndCompare();
    void transactionRollsBackUnlessCommitted();
    void innerFailureDoomsOuterTransaction();
    void conditionalUpdateClaimsOnce();
    void errorsCarryStatementAndText();
};

namespace {
void makeTable(TestDb &t)
{
    t.bast().CreateTableIfMissing(QStringLiteral("样本"),
                                  QStringLiteral("id*int identity(1,1)|名称*nvarchar(100) NULL|金额*money default 0|"
                                                 "日期*datetime NULL|标记*bit default False|状态*nvarchar(10) NULL|备注*text NULL"));
}
} // namespace

void TestDatabase::hostileValuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("O'Brien") << QStringLiteral("O'Brien");
    QTest::newRow("double quote") << QStringLiteral("\"");
    QTest::newRow("percent") << QStringLiteral("%");
    QTest::newRow("comment") << QStringLiteral("--");
    QTest::newRow("injection") << QStringLiteral("'; drop table 样本; --");
    QTest::newRow("chinese") << QStringLiteral("红楼梦（上）");
    QTest::newRow("empty") << QString();
    QTest::newRow("question mark") << QStringLiteral("?");
    QTest::newRow("colon name") << QStringLiteral(":name");
    QTest::newRow("backslash") << QStringLiteral("C:\\书\\");
}

void TestDatabase::hostileValuesRoundTrip()
{
    QFETCH(QString, value);
    QANDOR_TESTDB(t);
    makeTable(t);
    t.db().exec(QStringLiteral("insert into 样本 (名称,备注) values (?,?)"), {value, value});
    QSqlQuery q = t.db().exec(QStringLiteral("select 名称,备注 from 样本 where 名称=?"), {value});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), value);
    QCOMPARE(q.value(1).toString(), value);
    // The same through quoted SQL text.
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本 where 名称=") + t.db().dialect().quote(value)).toInt(), 1);
    // A LIKE built from the value finds it literally and nothing else.
    t.db().exec(QStringLiteral("insert into 样本 (名称) values (?)"), {QStringLiteral("zzz")});
    if (!value.isEmpty())
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本 where 名称") + t.db().dialect().like(value)).toInt(), 1);
}

void TestDatabase::moneySumsExactToTheFen()
{
    QANDOR_TESTDB(t);
    makeTable(t);
    {
        Transaction tx(t.db());
        QSqlQuery ins = t.db().prepare(QStringLiteral("insert into 样本 (金额) values (?)"));
        const QVariant dime = QVariant::fromValue(*Money::parse(u"0.10"));
        for (int i = 0; i < 100000; ++i)
            t.db().execPrepared(ins, {dime});
        tx.commit();
    }
    const QVariant sum = t.db().scalar(QStringLiteral("select ") + t.db().dialect().moneySumOrZero(QStringLiteral("金额")) + QStringLiteral(" from 样本"));
    QCOMPARE(Money::fromVariant(sum).toString(), QStringLiteral("10000.00"));
    QCOMPARE(Money::fromVariant(sum).units(), qint64(100000000));
    // Single values come back exactly, fractions of a fen included.
    t.db().exec(QStringLiteral("delete from 样本"));
    t.db().exec(QStringLiteral("insert into 样本 (金额) values (?)"), {QVariant::fromValue(Money::fromUnits(12345678))});
    QCOMPARE(Money::fromVariant(t.db().scalar(QStringLiteral("select 金额 from 样本"))).units(), qint64(12345678));
    QCOMPARE(Money::fromVariant(t.db().scalar(QStringLiteral("select ") + t.db().dialect().moneySumOrZero(QStringLiteral("金额"))
                                              + QStringLiteral(" from 样本 where 1=0"))).units(), qint64(0));
}

void TestDatabase::datesStoreAndCompare()
{
    QANDOR_TESTDB(t);
    makeTable(t);
    const QDate today(2026, 12, 11);
    for (int d : {-1, 0, 1})
        t.db().exec(QStringLiteral("insert into 样本 (名称,日期) values (?,?)"), {QString::number(d), today.addDays(d)});
    // A literal date compares as a day, "<=" taking the day itself.
    const QString sql = QStringLiteral("select count(*) from 样本 where 日期<=") + t.db().dialect().dateLiteral(today);
    QCOMPARE(t.db().scalar(sql).toInt(), 2);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本 where 日期<?"), {today}).toInt(), 1);
    QCOMPARE(toDate(t.db().scalar(QStringLiteral("select max(日期) from 样本"))), today.addDays(1));
    QCOMPARE(toDate(t.db().scalar(QStringLiteral("select 日期 from 样本 where 名称='0'"))), today);
}

void TestDatabase::transactionRollsBackUnlessCommitted()
{
    QANDOR_TESTDB(t);
    makeTable(t);
    {
        Transaction tx(t.db());
        t.db().exec(QStringLiteral("insert into 样本 (名称) values ('a')"));
        t.db().exec(QStringLiteral("insert into 样本 (名称) values ('b')"));
        // No commit: as if the program died before the end of the action.
    }
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本")).toInt(), 0);
    {
        Transaction tx(t.db());
        t.db().exec(QStringLiteral("insert into 样本 (名称) values ('a')"));
        tx.commit();
    }
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本")).toInt(), 1);
    // Another connection sees only committed rows.
    auto other = t.openSecondConnection();
    QVERIFY(other);
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from 样本")).toInt(), 1);
}

void TestDatabase::innerFailureDoomsOuterTransaction()
{
    QANDOR_TESTDB(t);
    makeTable(t);
    Transaction outer(t.db());
    t.db().exec(QStringLiteral("insert into 样本 (名称) values ('outer')"));
    {
        Transaction inner(t.db());
        t.db().exec(QStringLiteral("insert into 样本 (名称) values ('inner')"));
    } // inner not committed
    QVERIFY_THROWS_EXCEPTION(DbError, outer.commit());
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 样本")).toInt(), 0);
    QVERIFY(!t.db().inTransaction());
}

void TestDatabase::conditionalUpdateClaimsOnce()
{
    QANDOR_TESTDB(t);
    makeTable(t);
    t.db().exec(QStringLiteral("insert into 样本 (名称,状态) values (?,?)"), {QStringLiteral("00012"), QStringLiteral("在馆")});
    auto desk2 = t.openSecondConnection();
    QVERIFY(desk2);
    const QString claim = QStringLiteral("update 样本 set 状态=? where 名称=? and 状态=?");
    const QVariantList args{QStringLiteral("借出"), QStringLiteral("00012"), QStringLiteral("在馆")};
    QCOMPARE(t.db().execAffected(claim, args), 1);
    QCOMPARE(desk2->execAffected(claim, args), 0);
}

void TestDatabase::errorsCarryStatementAndText()
{
    QANDOR_TESTDB(t);
    try {
        t.db().exec(QStringLiteral("select * from 不存在的表"), {}, "测试位置");
        QFAIL("no error");
    } catch (const DbError &e) {
        QCOMPARE(e.where(), QStringLiteral("测试位置"));
        QCOMPARE(e.sql(), QStringLiteral("select * from 不存在的表"));
        QVERIFY(!e.driverText().isEmpty());
        QVERIFY(e.userMessage().startsWith(QStringLiteral("数据库操作失败")));
        QVERIFY(e.details().contains(QStringLiteral("不存在的表")));
    }
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
