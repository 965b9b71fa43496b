#include "data/money.h"
#include "data/passwordhash.h"
#include "data/rights.h"
#include "data/schema.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void deliveredDatabaseHasEveryTable();
    void builtInOperatorHasEveryRight();
    void systemParameterDefaults();
    void uniqueNumbersRefuseSecondCopy_data();
    void uniqueNumbersRefuseSecondCopy();
    void sameStatementsOnBothKinds();
    void indexesCanBeLaidAgain();
};

void TestSchema::deliveredDatabaseHasEveryTable()
{
    QANDOR_TESTDB(t);
    QVERIFY(Schema::isEmpty(t.db()));
    t.createDelivered();
    QVERIFY(!Schema::isEmpty(t.db()));
    for (const char *name : {"图书资料", "期刊资料", "书籍类别", "出版社", "读者类型", "读者资料", "图书借阅信息", "期刊借阅信息",
                             "图书续借记录", "期刊续借记录", "读者挂失记录", "读者注销记录", "单位部门", "刊期类别", "密级",
                             "存放位置", "条码", "用户管理", "SysParameter", "ZTR_FLAG", "Book", "Magazine", "placard",
                             "预定记录", "包租充值"})
        QVERIFY2(t.db().hasTable(QString::fromUtf8(name)), name);
    const QStringList bookCols = t.db().columns(QStringLiteral("图书资料"));
    for (const char *c : {"ID", "状态", "图书编号", "标准ISBN", "ISBN", "种次号", "索书号", "定价", "批次", "入库时间", "借出次数", "图片"})
        QVERIFY2(bookCols.contains(QString::fromUtf8(c), Qt::CaseInsensitive), c);
    const QStringList readerCols = t.db().columns(QStringLiteral("读者资料"));
    for (const char *c : {"包租", "当前包租量", "当前可用量", "当前已用量", "照片", "密码"})
        QVERIFY2(readerCols.contains(QString::fromUtf8(c), Qt::CaseInsensitive), c);
}

void TestSchema::builtInOperatorHasEveryRight()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QCOMPARE(allRights().size(), 50);
    QSqlQuery q = t.db().exec(QStringLiteral("select * from 用户管理"));
    QVERIFY(q.next());
    QCOMPARE(q.value(QStringLiteral("用户名")).toString(), QStringLiteral("超级用户"));
    const QString stored = q.value(QStringLiteral("密码")).toString();
    QVERIFY(PasswordHash::isHash(stored));
    QVERIFY(PasswordHash::verify(QStringLiteral("52617"), stored));
    QVERIFY(!PasswordHash::verify(QStringLiteral("52617 "), stored));
    for (const QString &right : allRightColumns())
        QVERIFY2(toBool(q.value(right)), qPrintable(right));
    QVERIFY(!q.next());
}

void TestSchema::systemParameterDefaults()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QSqlQuery q = t.db().exec(QStringLiteral("select * from SysParameter"));
    QVERIFY(q.next());
    QVERIFY(toBool(q.value(QStringLiteral("AutoCreateBookNum"))));
    QVERIFY(!toBool(q.value(QStringLiteral("AutoCreateReaderNum"))));
    QCOMPARE(q.value(QStringLiteral("B_Length")).toInt(), 5);
    QCOMPARE(q.value(QStringLiteral("R_Length")).toInt(), 4);
    QCOMPARE(q.value(QStringLiteral("PageSize")).toInt(), 100);
    QCOMPARE(q.value(QStringLiteral("CardTitle")).toString(), QStringLiteral("借书证"));
    QVERIFY(q.value(QStringLiteral("CardBackInfor")).toString().contains(QStringLiteral("使用说明")));
}

void TestSchema::uniqueNumbersRefuseSecondCopy_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::newRow("book") << QStringLiteral("图书资料") << QStringLiteral("图书编号");
    QTest::newRow("magazine") << QStringLiteral("期刊资料") << QStringLiteral("期刊编号");
    QTest::newRow("reader") << QStringLiteral("读者资料") << QStringLiteral("编号");
    QTest::newRow("reader type") << QStringLiteral("读者类型") << QStringLiteral("类型名称");
    QTest::newRow("operator") << QStringLiteral("用户管理") << QStringLiteral("用户名");
}

void TestSchema::uniqueNumbersRefuseSecondCopy()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QANDOR_TESTDB(t);
    t.createDelivered();
    const QString sql = QStringLiteral("insert into ") + table + QStringLiteral(" (") + column + QStringLiteral(") values (?)");
    t.db().exec(sql, {QStringLiteral("00001")});
    QVERIFY_THROWS_EXCEPTION(DbError, t.db().exec(sql, {QStringLiteral("00001")}));
}

void TestSchema::sameStatementsOnBothKinds()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Database &db = t.db();
    const Dialect &d = db.dialect();
    db.exec(QStringLiteral("insert into 读者类型 (类型名称,办证押金,图书可借数量,图书可借天数,图书每日租金,图书超期罚金,期限限制,有效期限,包租) "
                           "values (?,?,?,?,?,?,?,?,?)"),
            {QStringLiteral("学生"), QVariant::fromValue(Money::fromYuan(20)), 3, 30, QVariant::fromValue(Money::fromFen(10)),
             QVariant::fromValue(Money::fromFen(5)), QStringLiteral("有"), 12, false});
    db.exec(QStringLiteral("insert into 读者资料 (状态,编号,姓名,类型,有效期限制,截止日期,包租,当前可用量) values (?,?,?,?,?,?,?,?)"),
            {QStringLiteral("正常"), QStringLiteral("0001"), QStringLiteral("O'Brien"), QStringLiteral("学生"), QStringLiteral("有"),
             QDate(2026, 12, 11), false, 0});
    db.exec(QStringLiteral("insert into 图书资料 (状态,图书编号,图书名称,分类号,种次号,定价,入库时间) values (?,?,?,?,?,?,?)"),
            {QStringLiteral("在馆"), QStringLiteral("00001"), QStringLiteral("红楼梦"), QStringLiteral("I242"), 1,
             QVariant::fromValue(*Money::parse(u"35.50")), QDate(2026, 1, 1)});
    // The statements the desk and the sweeps are made of.
    QCOMPARE(db.scalar(QStringLiteral("select ") + d.countOrZero(QStringLiteral("ID")) + QStringLiteral(" from 图书借阅信息 where 状态=")
                       + d.quote(QStringLiteral("未还")) + QStringLiteral(" and 读者编号=") + d.quote(QStringLiteral("0001"))).toInt(), 0);
    QCOMPARE(db.execAffected(QStringLiteral("update 读者资料 set 状态=") + d.quote(QStringLiteral("过期"))
                             + QStringLiteral(" where (有效期限制=") + d.quote(QStringLiteral("有")) + QStringLiteral(" and 截止日期<=")
                             + d.dateLiteral(QDate(2026, 12, 11)) + QStringLiteral(") or (包租=") + d.trueValue()
                             + QStringLiteral(" and 当前可用量<=0)")),
             1);
    db.exec(QStringLiteral("insert into 包租充值 (状态,读者编号) values (?,?)"), {QStringLiteral("有效"), QStringLiteral("0001")});
    db.exec(QStringLiteral("update 读者资料 set 包租=") + d.trueValue());
    db.exec(d.joinedUpdate(QStringLiteral("包租充值"), QStringLiteral("状态 = ") + d.quote(QStringLiteral("失效")), QStringLiteral("读者资料"),
                           QStringLiteral("(读者编号=编号) and (包租=") + d.trueValue() + QStringLiteral(") and (读者资料.状态=")
                               + d.quote(QStringLiteral("过期")) + QStringLiteral(") and (包租充值.状态=") + d.quote(QStringLiteral("有效"))
                               + QStringLiteral(")")));
    QCOMPARE(db.scalar(QStringLiteral("select 状态 from 包租充值")).toString(), QStringLiteral("失效"));
    QCOMPARE(db.scalar(QStringLiteral("select ") + d.subStrExpr(QStringLiteral("分类号"), 1, 1) + QStringLiteral(" from 图书资料")).toString(),
             QStringLiteral("I"));
    QCOMPARE(Money::fromVariant(db.scalar(QStringLiteral("select ") + d.moneySumOrZero(QStringLiteral("定价")) + QStringLiteral(" from 图书资料"))),
             *Money::parse(u"35.50"));
    QCOMPARE(db.scalar(QStringLiteral("select 图书名称 from 图书资料 order by 种次号 desc") + d.limit(1)).toString(), QStringLiteral("红楼梦"));
    if (!d.serverDateSql().isEmpty())
        QVERIFY(toDateTime(db.scalar(d.serverDateSql())).isValid());
    const qint64 id = db.insertReturningId(QStringLiteral("insert into 图书借阅信息 (状态,读者编号,图书编号) values (?,?,?)"),
                                           {QStringLiteral("未还"), QStringLiteral("0001"), QStringLiteral("00001")}, QStringLiteral("ID"));
    QVERIFY(id > 0);
    QCOMPARE(db.scalar(QStringLiteral("select 图书编号 from 图书借阅信息 where ID=?"), {id}).toString(), QStringLiteral("00001"));
}

void TestSchema::indexesCanBeLaidAgain()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Schema::createIndexes(t.db());
    // A second delivery into a filled database fails as a whole and leaves it as it was.
    QVERIFY_THROWS_EXCEPTION(DbError, t.createDelivered());
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 用户管理")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
