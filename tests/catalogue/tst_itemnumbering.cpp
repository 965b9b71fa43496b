#include "catalogue/itemnumbering.h"
#include "catalogue/tfrmcreatenum.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

Q_DECLARE_METATYPE(qandor::NumberKind)

namespace {
void addNumber(Database &db, NumberKind kind, const QString &number)
{
    db.exec(QStringLiteral("insert into ") + numberTable(kind) + QStringLiteral(" (") + numberColumn(kind)
                + QStringLiteral(") values (?)"),
            {number});
}
} // namespace

class TestItemNumbering : public QObject {
    Q_OBJECT
private slots:
    void nextNumber_data();
    void nextNumber();
    void nonNumericNewestIsReportedNotGuessed();
    void twoDesksTakingOneNumber();
    void settingsRowIsMadeAndClamped();
    void dialogFromBookEditor();
};

void TestItemNumbering::nextNumber_data()
{
    QTest::addColumn<NumberKind>("kind");
    QTest::addColumn<QStringList>("existing"); // in the order added
    QTest::addColumn<int>("deleteNewest");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty book table") << NumberKind::Book << QStringList{} << 0 << 5 << QStringLiteral("00001");
    QTest::newRow("reader after 0041") << NumberKind::Reader << QStringList{u"0040"_qs, u"0041"_qs} << 0 << 4 << QStringLiteral("0042");
    QTest::newRow("reader 0099 width 4") << NumberKind::Reader << QStringList{u"0099"_qs} << 0 << 4 << QStringLiteral("0100");
    QTest::newRow("width smaller keeps digits") << NumberKind::Reader << QStringList{u"0099"_qs} << 0 << 2 << QStringLiteral("100");
    QTest::newRow("newest row decides, not highest") << NumberKind::Book << QStringList{u"00012"_qs, u"2000"_qs} << 0 << 5
                                                     << QStringLiteral("02001");
    QTest::newRow("hand-typed low after high") << NumberKind::Magazine << QStringList{u"00050"_qs, u"7"_qs} << 0 << 5
                                               << QStringLiteral("00008");
    QTest::newRow("after deleting the newest") << NumberKind::Magazine << QStringList{u"00001"_qs, u"00002"_qs, u"00003"_qs} << 1
                                               << 5 << QStringLiteral("00003");
    QTest::newRow("blanks around the number") << NumberKind::Reader << QStringList{u" 12 "_qs} << 0 << 4 << QStringLiteral("0013");
}

void TestItemNumbering::nextNumber()
{
    QFETCH(NumberKind, kind);
    QFETCH(QStringList, existing);
    QFETCH(int, deleteNewest);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QANDOR_TESTDB(t);
    t.createDelivered();
    for (const QString &n : existing)
        addNumber(t.db(), kind, n);
    for (int i = 0; i < deleteNewest; ++i)
        t.db().exec(QStringLiteral("delete from ") + numberTable(kind) + QStringLiteral(" where id=(select max(id) from ")
                    + numberTable(kind) + QStringLiteral(")"));
    QCOMPARE(nextItemNumber(t.bast(), kind, length), expected);
    QCOMPARE(proposeItemNumber(t.bast(), kind, NumberRule{true, length}), std::optional<QString>(expected));
    QCOMPARE(proposeItemNumber(t.bast(), kind, NumberRule{false, length}), std::nullopt);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestItemNumbering::nonNumericNewestIsReportedNotGuessed()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    addNumber(t.db(), NumberKind::Reader, QStringLiteral("0007"));
    addNumber(t.db(), NumberKind::Reader, QStringLiteral("R-08"));
    QVERIFY_THROWS_EXCEPTION(DbError, nextItemNumber(t.bast(), NumberKind::Reader, 4));
    QCOMPARE(proposeItemNumber(t.bast(), NumberKind::Reader, 4), std::nullopt);
    QCOMPARE(t.sink.entries.size(), 1);
    QCOMPARE(t.sink.lastKind(), QStringLiteral("error"));
}

void TestItemNumbering::twoDesksTakingOneNumber()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    std::unique_ptr<Database> second = t.openSecondConnection();
    QVERIFY(second);
    TBast deskB(second.get(), &t.sink);
    addNumber(t.db(), NumberKind::Book, QStringLiteral("00004"));

    // Both desks propose before either saves.
    const QString a = nextItemNumber(t.bast(), NumberKind::Book, 5);
    const QString b = nextItemNumber(deskB, NumberKind::Book, 5);
    QCOMPARE(a, QStringLiteral("00005"));
    QCOMPARE(b, a);
    addNumber(*second, NumberKind::Book, b);
    // Another desk also took 00006 meanwhile: the offer must skip it.
    addNumber(*second, NumberKind::Book, QStringLiteral("00006"));

    // Desk A's save is refused by the unique index, not silently doubled.
    QVERIFY_THROWS_EXCEPTION(DbError, addNumber(t.db(), NumberKind::Book, a));
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 图书资料 where 图书编号=?"), {a}).toInt(), 1);

    const auto offer = numberAfterCollision(t.bast(), NumberKind::Book, a, 5);
    QCOMPARE(offer, std::optional<QString>(QStringLiteral("00007")));
    addNumber(t.db(), NumberKind::Book, *offer);
    // A failure that was not a collision gives no offer.
    QCOMPARE(numberAfterCollision(t.bast(), NumberKind::Book, QStringLiteral("09999"), 5), std::nullopt);
    QVERIFY(collisionMessage(a, *offer).contains(a) && collisionMessage(a, *offer).contains(*offer));
}

void TestItemNumbering::settingsRowIsMadeAndClamped()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("delete from SysParameter"));
    bool created = false;
    NumberingSettings s = loadNumberingSettings(t.db(), &created);
    QVERIFY(created);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from SysParameter")).toInt(), 1);
    QCOMPARE(s.reader.autoOn, true);
    QCOMPARE(s.reader.length, 4);
    QCOMPARE(s.book.length, 5);
    QCOMPARE(s.magazine.length, 5);
    QCOMPARE(t.db().scalar(QStringLiteral("select R_FrontMark from SysParameter")).toString(), QString());

    s.reader = {false, 0};
    s.book = {true, 11};
    s.magazine = {false, 7};
    saveNumberingSettings(t.db(), s);
    const NumberingSettings back = loadNumberingSettings(t.db(), &created);
    QVERIFY(!created);
    QCOMPARE(back.reader.autoOn, false);
    QCOMPARE(back.reader.length, 1);
    QCOMPARE(back.book.length, 10);
    QCOMPARE(back.magazine.autoOn, false);
    QCOMPARE(back.magazine.length, 7);
}

void TestItemNumbering::dialogFromBookEditor()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("update SysParameter set AutoCreateBookNum=?,B_Length=?"), {false, 3});
    addNumber(t.db(), NumberKind::Book, QStringLiteral("041"));

    TfrmCreateNum dlg(t.bast());
    dlg.setCaller(QStringLiteral("frmAddOrEditBookInfor"), true);
    QStringList proposals;
    int savedCount = 0;
    connect(&dlg, &TfrmCreateNum::numberProposed, this, [&](const QString &n) { proposals << n; });
    connect(&dlg, &TfrmCreateNum::saved, this, [&] { ++savedCount; });
    QVERIFY(dlg.loadSettings());
    QVERIFY(dlg.findChild<QGroupBox *>(QStringLiteral("R_Box"))->isHidden());
    QVERIFY(dlg.findChild<QGroupBox *>(QStringLiteral("M_Box"))->isHidden());
    QVERIFY(!dlg.findChild<QGroupBox *>(QStringLiteral("B_Box"))->isHidden());
    QCOMPARE(dlg.findChild<QSpinBox *>(QStringLiteral("B_Length"))->value(), 3);

    // Cancelling still refreshes the proposal, whatever the switch says.
    dlg.reject();
    QCOMPARE(proposals, QStringList{u"042"_qs});
    QCOMPARE(savedCount, 0);

    // Saving writes every kind (hidden panels too) and proposes with the new width.
    dlg.findChild<QSpinBox *>(QStringLiteral("B_Length"))->setValue(6);
    dlg.findChild<QCheckBox *>(QStringLiteral("R_Auto"))->setChecked(true);
    dlg.open();
    QVERIFY(dlg.saveAndClose());
    QCOMPARE(savedCount, 1);
    QCOMPARE(proposals.last(), QStringLiteral("000042"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("数据保存成功！"));
    const NumberingSettings s = loadNumberingSettings(t.db());
    QCOMPARE(s.book.length, 6);
    QVERIFY(s.reader.autoOn);
}

QTEST_MAIN(TestItemNumbering)
#include "tst_itemnumbering.moc"
