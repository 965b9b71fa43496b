#include "circulation/cardactions.h"
#include "circulation/lendingdesk.h"
#include "deskfixture.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
const QString Op = QStringLiteral("管理员");

void stock(DeskFixture &f)
{
    f.addType({QStringLiteral("普通"), 3, 30});
    DeskFixture::Reader r{QStringLiteral("R1"), QStringLiteral("O'Brien"), QStringLiteral("普通")};
    r.deposit = yuan("50.50");
    f.addReader(r);
    f.addReader({QStringLiteral("R2"), QStringLiteral("张三"), QStringLiteral("普通"), QStringLiteral("过期")});
    f.addReader({QStringLiteral("R3"), QStringLiteral("张三丰"), QStringLiteral("普通")});
    f.addReader({QStringLiteral("R4"), QStringLiteral("李%"), QStringLiteral("普通"), QStringLiteral("注销")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("书"));
}
} // namespace

class TestCardActions : public QObject {
    Q_OBJECT
private slots:
    void lossRecoveryAndCancellation();
    void statusRuleOnTheRadioButtons();
    void findReader_data();
    void findReader();
    void statusChangedElsewhereWritesNoLog();
    void invalidOperationDateIsToday();
};

void TestCardActions::lossRecoveryAndCancellation()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    CardLossDesk loss(t.bast(), Op);
    loss.setToday(day("2024-05-01"));
    QVERIFY(loss.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    QCOMPARE(loss.operation(), CardLossDesk::Operation::Loss);
    loss.setOperationDate(day("2024-04-30"));
    QVERIFY(loss.apply().ok);
    QCOMPARE(t.sink.entries.at(0).text, QStringLiteral("是否确定对编号为[R1]的读者进行借书证挂失操作？"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("借书证挂失操作成功！"));
    QCOMPARE(f.readerStatus(QStringLiteral("R1")), QStringLiteral("挂失"));

    // A lost card cannot borrow.
    LendingDesk lend(t.bast(), Op);
    QVERIFY(!lend.loadReader(QStringLiteral("R1")).ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前编号为[R1]的读者的借书证处于[挂失]状态，不能借书！"));

    QVERIFY(loss.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    QCOMPARE(loss.operation(), CardLossDesk::Operation::Recovery);
    QVERIFY(loss.apply().ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("借书证解除挂失操作成功！"));
    QCOMPARE(f.readerStatus(QStringLiteral("R1")), QStringLiteral("正常"));
    QSqlQuery q = t.db().exec(QStringLiteral("select 操作日期,操作方式,读者编号,读者姓名,读者性别,读者类型,操作员 from 读者挂失记录 order by ID"));
    QVERIFY(q.next());
    QCOMPARE(toDate(q.value(0)), day("2024-04-30"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("挂失"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("O'Brien"));
    QCOMPARE(q.value(5).toString(), QStringLiteral("普通"));
    QCOMPARE(q.value(6).toString(), Op);
    QVERIFY(q.next());
    QCOMPARE(toDate(q.value(0)), day("2024-05-01")); // the reset brought the date back to today
    QCOMPARE(q.value(1).toString(), QStringLiteral("解除挂失"));
    QVERIFY(!q.next());
    q.finish();

    // Cancellation refunds the deposit the reader paid.
    CardCancelDesk cancel(t.bast(), Op);
    cancel.setToday(day("2024-05-02"));
    QVERIFY(cancel.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    QCOMPARE(cancel.refund(), yuan("50.50"));
    cancel.setNote(QStringLiteral("  搬家 "));
    QVERIFY(cancel.apply().ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("借书证注销操作成功！"));
    QCOMPARE(f.readerStatus(QStringLiteral("R1")), QStringLiteral("注销"));
    QSqlQuery c = t.db().exec(QStringLiteral("select 注销日期,读者编号,读者姓名,退还押金,备注,操作员 from 读者注销记录"));
    QVERIFY(c.next());
    QCOMPARE(toDate(c.value(0)), day("2024-05-02"));
    QCOMPARE(c.value(1).toString(), QStringLiteral("R1"));
    QCOMPARE(Money::fromVariant(c.value(3)), yuan("50.50"));
    QCOMPARE(c.value(4).toString(), QStringLiteral("搬家"));
    QVERIFY(!c.next());
    c.finish();

    // Once only.
    QVERIFY(!cancel.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前编号为[R1]的读者的借书证处于[注销]状态，不能再次进行注销的操作！"));
    QVERIFY(!loss.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前编号为[R1]的读者的借书证处于[注销]状态，不能进行挂失或者解除挂失的操作！"));
    QCOMPARE(cancel.apply().message, QStringLiteral("请先输入读者编号或者读者姓名，调出读者信息！"));
}

void TestCardActions::statusRuleOnTheRadioButtons()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    CardLossDesk loss(t.bast(), Op);
    QVERIFY(loss.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    t.sink.clear();
    loss.chooseOperation(CardLossDesk::Operation::Recovery);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前读者借书证处于[正常]状态，只能进行挂失操作！"));
    QCOMPARE(loss.operation(), CardLossDesk::Operation::Loss);
    t.sink.clear();
    loss.chooseOperation(CardLossDesk::Operation::Loss);
    QVERIFY(t.sink.entries.isEmpty());

    t.db().exec(QStringLiteral("update 读者资料 set 状态='挂失' where 编号='R3'"));
    QVERIFY(loss.findReader(QStringLiteral("R3"), CardLookup::Number).ok);
    QCOMPARE(loss.operation(), CardLossDesk::Operation::Recovery);
    loss.chooseOperation(CardLossDesk::Operation::Loss);
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前读者借书证处于[挂失]状态，只能进行解除挂失操作！"));
    QCOMPARE(loss.operation(), CardLossDesk::Operation::Recovery);

    loss.reset();
    loss.chooseOperation(CardLossDesk::Operation::Loss);
    QCOMPARE(loss.operation(), CardLossDesk::Operation::None);
}

void TestCardActions::findReader_data()
{
    QTest::addColumn<bool>("cancelScreen");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::newRow("expired card cannot be reported lost")
        << false << 1 << "R2" << "" << "当前编号为[R2]的读者的借书证处于[过期]状态，不能进行挂失或者解除挂失的操作！";
    QTest::newRow("expired card can be cancelled") << true << 1 << "R2" << "R2" << "";
    QTest::newRow("name matching two readers shows nothing") << true << 2 << "张三" << "" << "";
    QTest::newRow("name matching one") << false << 2 << "三丰" << "R3" << "";
    QTest::newRow("quote in a name") << true << 2 << "O'Bri" << "R1" << "";
    QTest::newRow("percent matches itself only") << true << 2 << "%" << ""
                                                 << "当前编号为[R4]的读者的借书证处于[注销]状态，不能再次进行注销的操作！";
    QTest::newRow("unknown number") << false << 1 << "R'9" << "" << "未检索到拥有此编号的读者信息，请检查读者编号输入是否正确！";
    QTest::newRow("unknown name") << true << 2 << "王" << "" << "未检索到拥有此姓名的读者信息，请检查读者姓名输入是否正确！";
    QTest::newRow("empty number") << false << 1 << " " << "" << "请输入读者编号编号！";
    QTest::newRow("empty name") << true << 2 << "" << "" << "请输入读者姓名！";
}

void TestCardActions::findReader()
{
    QFETCH(bool, cancelScreen);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    CardLossDesk loss(t.bast(), Op);
    CardCancelDesk cancel(t.bast(), Op);
    CardDeskBase &desk = cancelScreen ? static_cast<CardDeskBase &>(cancel) : loss;
    const DeskOutcome o = desk.findReader(text, CardLookup(kind));
    QCOMPARE(o.ok, !shown.isEmpty());
    QCOMPARE(desk.reader() ? desk.reader()->number : QString(), shown);
    QCOMPARE(t.sink.lastText(), message);
}

void TestCardActions::statusChangedElsewhereWritesNoLog()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    CardLossDesk loss(t.bast(), Op);
    QVERIFY(loss.findReader(QStringLiteral("R1"), CardLookup::Number).ok);
    t.db().exec(QStringLiteral("update 读者资料 set 状态='注销' where 编号='R1'"));
    QVERIFY(!loss.apply().ok);
    QCOMPARE(f.readerStatus(QStringLiteral("R1")), QStringLiteral("注销"));
    QCOMPARE(f.count(QStringLiteral("select count(*) from 读者挂失记录")), 0);

    CardCancelDesk cancel(t.bast(), Op);
    QVERIFY(cancel.findReader(QStringLiteral("R3"), CardLookup::Number).ok);
    t.db().exec(QStringLiteral("update 读者资料 set 状态='注销' where 编号='R3'"));
    QVERIFY(!cancel.apply().ok);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 读者注销记录")), 0);
}

void TestCardActions::invalidOperationDateIsToday()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    CardCancelDesk cancel(t.bast(), Op);
    cancel.setToday(day("2024-03-01"));
    cancel.setOperationDate(QDate(2024, 2, 30)); // invalid
    QCOMPARE(cancel.operationDate(), day("2024-03-01"));
    QVERIFY(cancel.findReader(QStringLiteral("R3"), CardLookup::Number).ok);
    QVERIFY(cancel.apply().ok);
    QCOMPARE(f.date(QStringLiteral("select 注销日期 from 读者注销记录")), day("2024-03-01"));
}

QTEST_GUILESS_MAIN(TestCardActions)
#include "tst_cardactions.moc"
