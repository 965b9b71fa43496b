#include "gen/bulkload.h"

#include "data/money.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

const QString Table = QStringLiteral("批量表");
const QStringList Columns = QStringLiteral("名称,数量,金额,日期,标志,照片").split(QLatin1Char(','));

void createTable(TestDb &t)
{
    t.bast().CreateTableIfMissing(Table, QStringLiteral("ID*int identity(1,1)|名称*nvarchar(100) NULL|数量*int NULL|"
                                                        "金额*money NULL|日期*datetime NULL|标志*bit NULL|照片*Image NULL"));
    // A unique key, so a duplicate row can show how a refused row is reported.
    t.db().exec(QStringLiteral("create unique index ix_批量表_名称 on 批量表 (名称)"));
}

} // namespace

class TestBulkLoad : public QObject {
    Q_OBJECT
private slots:
    void valuesReadBackAsBound();
    void manyRowsAcrossBlocks();
    void refusedRowThrowsAndRollsBack();
};

// Every kind of value the generator writes, and the texts that break a
// hand-made COPY line or SQL text, read back exactly.
void TestBulkLoad::valuesReadBackAsBound()
{
    QANDOR_TESTDB(t);
    createTable(t);
    const QString hostile[] = {
        QStringLiteral("O'Brien"), QStringLiteral("say \"hi\""), QStringLiteral("100%_done"), QStringLiteral("a -- b"),
        QStringLiteral("tab\there"), QStringLiteral("line\nbreak\r\n"), QStringLiteral("back\\slash \\N"),
        QStringLiteral("平凡的世界（上册）"), QString(),
    };
    const QByteArray photo("\x00\x01\\\t\n\xff", 6);
    {
        Transaction tx(t.db());
        auto load = gen::BulkLoad::open(t.db(), Table, Columns);
        int n = 0;
        for (const QString &name : hostile) {
            ++n;
            load->add({name, n, QVariant::fromValue(Money::fromUnits(n * 12345)), QDate(2024, 2, n),
                       n % 2 == 0, n == 1 ? QVariant(photo) : QVariant()});
        }
        // NULLs of every column type but the name.
        load->add({QStringLiteral("空值"), QVariant(), QVariant(), QVariant(QMetaType(QMetaType::QDate)), QVariant(), QVariant()});
        load->finish();
        QCOMPARE(load->rows(), qint64(std::size(hostile) + 1));
        tx.commit();
    }

    QSqlQuery q = t.db().exec(QStringLiteral("select 名称,数量,金额,日期,标志,照片 from 批量表 order by ID"));
    int n = 0;
    for (const QString &name : hostile) {
        ++n;
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), name.isNull() ? QStringLiteral("") : name);
        QCOMPARE(q.value(1).toInt(), n);
        QCOMPARE(Money::fromVariant(q.value(2)), Money::fromUnits(n * 12345));
        QCOMPARE(toDate(q.value(3)), QDate(2024, 2, n));
        QCOMPARE(toBool(q.value(4)), n % 2 == 0);
        QCOMPARE(q.value(5).toByteArray(), n == 1 ? photo : QByteArray());
    }
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("空值"));
    for (int c = 1; c < 6; ++c)
        QVERIFY2(q.value(c).isNull(), qPrintable(QString::number(c)));
    QVERIFY(!q.next());
    // Dates compare as days with the dialect's own literals.
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 批量表 where 日期>=?"), {QDate(2024, 2, 8)}).toInt(), 2);
}

// Enough rows to fill several COPY blocks; two tables filled side by side.
void TestBulkLoad::manyRowsAcrossBlocks()
{
    QANDOR_TESTDB(t);
    createTable(t);
    t.bast().CreateTableIfMissing(QStringLiteral("批量表二"), QStringLiteral("ID*int identity(1,1)|说明*text NULL"));
    const QString filler(400, QChar(0x4e66)); // 1,200 bytes in UTF-8
    const int rows = 20000;                   // about 24 MB: three blocks and a tail
    Transaction tx(t.db());
    auto a = gen::BulkLoad::open(t.db(), Table, Columns);
    auto b = gen::BulkLoad::open(t.db(), QStringLiteral("批量表二"), {QStringLiteral("说明")});
    for (int i = 0; i < rows; ++i) {
        b->add({QString(QString::number(i) + filler)});
        if (i % 10 == 0)
            a->add({QString::number(i), i, QVariant::fromValue(Money::fromFen(10)), QDate(2024, 1, 1), true, QVariant()});
    }
    a->finish();
    b->finish();
    tx.commit();
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 批量表")).toInt(), rows / 10);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 批量表二")).toInt(), rows);
    QCOMPARE(t.db().scalar(QStringLiteral("select 说明 from 批量表二 where ID=(select max(ID) from 批量表二)")).toString(),
             QString(QString::number(rows - 1) + filler));
    const QString sum = QStringLiteral("select ") + t.db().dialect().moneySumOrZero(QStringLiteral("金额")) + QStringLiteral(" from 批量表");
    QCOMPARE(Money::fromVariant(t.db().scalar(sum)), Money::fromFen(10) * (rows / 10));
    QCOMPARE(t.db().scalar(QStringLiteral("select max(数量) from 批量表")).toInt(), rows - 10);
}

void TestBulkLoad::refusedRowThrowsAndRollsBack()
{
    QANDOR_TESTDB(t);
    createTable(t);
    bool thrown = false;
    try {
        Transaction tx(t.db());
        auto load = gen::BulkLoad::open(t.db(), Table, Columns);
        load->add({QStringLiteral("甲"), 1, QVariant(), QVariant(), QVariant(), QVariant()});
        load->add({QStringLiteral("甲"), 2, QVariant(), QVariant(), QVariant(), QVariant()});
        load->finish();
        tx.commit();
    } catch (const DbError &e) {
        thrown = true;
        QVERIFY(!e.driverText().isEmpty());
    }
    QVERIFY(thrown);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 批量表")).toInt(), 0);
    // The connection is usable afterwards.
    t.db().exec(QStringLiteral("insert into 批量表 (名称) values (?)"), {QStringLiteral("乙")});
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 批量表")).toInt(), 1);

    // A table that does not exist is refused when the loader is opened or at the first block.
    thrown = false;
    try {
        auto load = gen::BulkLoad::open(t.db(), QStringLiteral("没有这张表"), {QStringLiteral("名称")});
        load->add({QStringLiteral("丙")});
        load->finish();
    } catch (const DbError &) {
        thrown = true;
    }
    QVERIFY(thrown);
}

QTEST_GUILESS_MAIN(TestBulkLoad)
#include "tst_bulkload.moc"
