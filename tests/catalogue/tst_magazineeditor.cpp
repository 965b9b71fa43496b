#include "catalogue/magazineeditorlogic.h"
#include "catalogue/tfrmaddoreditmagazineinfor.h"
#include "data/money.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }
int magazineCount(TestDb &t) { return t.db().scalar(s("select count(*) from 期刊资料")).toInt(); }
} // namespace

class TestMagazineEditor : public QObject {
    Q_OBJECT
private slots:
    void issueRange_data();
    void issueRange();
    void rangeRefusals();
    void takenNumberInRangeSavesNothing();
    void recallByIssnAndTitle();
    void hostileTextRoundTrip();
    void dialogRangeControls();
    void dialogFollowsMagazineRule_data();
    void dialogFollowsMagazineRule();
};

void TestMagazineEditor::issueRange_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("overall");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QStringList>("issues");
    QTest::addColumn<QStringList>("running");
    QTest::newRow("issues 3 to 5") << 3 << 5 << 27 << QStringList{s("00001"), s("00002"), s("00003")}
                                   << QStringList{s("2023年第3期"), s("2023年第4期"), s("2023年第5期")}
                                   << QStringList{s("27"), s("28"), s("29")};
    QTest::newRow("one issue") << 12 << 12 << 0 << QStringList{s("00001")} << QStringList{s("2023年第12期")}
                               << QStringList{s("0")};
    QTest::newRow("out of range held") << 0 << 150 << 100000 << QStringList{} << QStringList{} << QStringList{};
}

void TestMagazineEditor::issueRange()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, overall);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, issues);
    QFETCH(QStringList, running);
    QANDOR_TESTDB(t);
    t.createDelivered();
    MagazineEditorLogic ed(t.bast(), {true, 5});
    ed.setToday(QDate(2024, 5, 1));
    QVERIFY(ed.beginAdd());
    ed.record.insert(s("期刊名称"), s("读者"));
    ed.record.insert(s("刊期类别"), s("半月刊"));
    ed.record.insert(s("出版日期"), QDate(2023, 1, 1));
    ed.record.insert(s("定价"), QVariant::fromValue(Money::fromFen(500)));
    ed.checkMany = true;
    ed.year = 2023;
    ed.bNum = from;
    ed.eNum = to;
    ed.overallIndex = overall;
    const QList<EditorRecord> rows = ed.rowsToSave();
    if (numbers.isEmpty()) {
        // 0 -> 1, 150 -> 99, 100000 -> 99999: 99 issues, running 99999 on.
        QCOMPARE(rows.size(), 99);
        QCOMPARE(rows.first().value(s("刊次")).toString(), s("2023年第1期"));
        QCOMPARE(rows.last().value(s("刊次")).toString(), s("2023年第99期"));
        QCOMPARE(rows.first().value(s("总刊次")).toString(), s("99999"));
        return;
    }
    QVERIFY(ed.save());
    QSqlQuery q = t.db().exec(s("select 期刊编号,刊次,总刊次,出版日期,标准ISBN,刊期类别,定价,状态 from 期刊资料 order by 期刊编号"));
    for (int i = 0; i < numbers.size(); ++i) {
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), numbers.at(i));
        QCOMPARE(q.value(1).toString(), issues.at(i));
        QCOMPARE(q.value(2).toString(), running.at(i));
        // Each issue appears on its own date, unknown here.
        QVERIFY(q.value(3).isNull());
        QCOMPARE(q.value(5).toString(), s("半月刊"));
        QCOMPARE(Money::fromVariant(q.value(6)), Money::fromFen(500));
        QCOMPARE(q.value(7).toString(), s("在馆"));
    }
    QVERIFY(!q.next());
    // Copy-previous brings the description back for the next run.
    ed.beginAdd();
    QCOMPARE(ed.record.value(s("期刊编号")).toString(), QStringLiteral("%1").arg(numbers.size() + 1, 5, 10, QLatin1Char('0')));
    QVERIFY(ed.CopyPrior());
    QCOMPARE(ed.record.value(s("期刊名称")).toString(), s("读者"));
}

void TestMagazineEditor::rangeRefusals()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    MagazineEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    ed.record.insert(s("期刊名称"), s("读者"));
    ed.checkMany = true;
    ed.bNum = 6;
    ed.eNum = 2;
    QVERIFY(!ed.save());
    QVERIFY(t.sink.lastText().contains(s("起始期数不能大于结束期数")));
    ed.bNum = 1;
    ed.record.insert(s("期刊编号"), s("Q-1"));
    QVERIFY(!ed.save());
    QVERIFY(t.sink.lastText().contains(s("不是纯数字")));
    ed.record.insert(s("期刊编号"), QString());
    QVERIFY(!ed.save());
    QCOMPARE(t.sink.lastText(), s("期刊编号不能为空值!"));
    QCOMPARE(magazineCount(t), 0);

    // Unticking resets the range.
    ed.setToday(QDate(2024, 5, 1));
    ed.resetRange();
    QCOMPARE(ed.year, 2024);
    QCOMPARE(ed.bNum, 1);
    QCOMPARE(ed.eNum, 2);
    QCOMPARE(ed.overallIndex, 1);
}

void TestMagazineEditor::takenNumberInRangeSavesNothing()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(s("insert into 期刊资料 (期刊编号,期刊名称) values (?,?)"), {s("00012"), s("别的期刊")});
    MagazineEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    ed.record.insert(s("期刊编号"), s("00010"));
    ed.record.insert(s("期刊名称"), s("读者"));
    ed.checkMany = true;
    ed.bNum = 1;
    ed.eNum = 4;
    QVERIFY(!ed.save());
    QCOMPARE(t.sink.lastText(), s("期刊编号为[00012]的期刊已经存在，请重新输入！"));
    QCOMPARE(magazineCount(t), 1);
}

void TestMagazineEditor::recallByIssnAndTitle()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    MagazineEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    ed.record.insert(s("期刊名称"), s("读者"));
    ed.record.insert(s("标准ISSN"), s("1005-1805"));
    ed.record.insert(s("主编信息"), s("彭长城"));
    ed.record.insert(s("刊次"), s("2024年第1期"));
    QVERIFY(ed.save());
    QCOMPARE(t.db().scalar(s("select 标准ISBN from 期刊资料")).toString(), s("1005-1805"));

    MagazineEditorLogic byIssn(t.bast(), {true, 5});
    byIssn.beginAdd();
    byIssn.record.insert(s("标准ISSN"), s("1005-1805"));
    QVERIFY(byIssn.RecallByIssn());
    QCOMPARE(t.sink.lastText(), s("从库中检索到拥有相同ISBN号的期刊资料，是否调用其相关信息？"));
    QCOMPARE(byIssn.record.value(s("期刊名称")).toString(), s("读者"));
    QCOMPARE(byIssn.record.value(s("主编信息")).toString(), s("彭长城"));
    // Met again: no question, no restore.
    const int asked = t.sink.entries.size();
    QVERIFY(!byIssn.RecallByIssn());
    QCOMPARE(t.sink.entries.size(), asked);

    // The title recall fills the ISSN, so leaving the ISSN box asks nothing.
    MagazineEditorLogic byTitle(t.bast(), {true, 5});
    byTitle.beginAdd();
    byTitle.record.insert(s("期刊名称"), s("读者"));
    QVERIFY(byTitle.RecallByTitle());
    QCOMPARE(byTitle.record.value(s("标准ISSN")).toString(), s("1005-1805"));
    QCOMPARE(byTitle.record.value(s("刊次")).toString(), s("2024年第1期"));
    QVERIFY(!byTitle.RecallByIssn());
    QCOMPARE(t.sink.entries.size(), asked + 1);
}

void TestMagazineEditor::hostileTextRoundTrip()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    MagazineEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    const QString hostile = s("O'Brien \"%_\\ --;");
    for (const QString &c : MagazineEditorLogic::columns()) {
        if (EditorRecords::isDateColumn(c) || EditorRecords::isMoneyColumn(c) || EditorRecords::isPictureColumn(c)
            || c == s("期刊编号"))
            continue;
        ed.record.insert(c, QString(hostile + c));
    }
    QVERIFY(ed.save());
    MagazineEditorLogic back(t.bast(), {true, 5});
    QVERIFY(back.beginEdit(ed.lastSavedIds().value(0)));
    for (const QString &c : MagazineEditorLogic::columns())
        QCOMPARE(back.record.value(c), ed.record.value(c));
    back.beginAdd();
    back.record.insert(s("期刊名称"), QString(hostile + s("期刊名称")));
    QVERIFY(back.RecallByTitle());
    QCOMPARE(back.record.value(s("标准ISSN")).toString(), hostile + s("标准ISSN"));
}

void TestMagazineEditor::dialogRangeControls()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    CatalogueContext ctx;
    ctx.bast = &t.bast();
    TfrmAddOrEditMagazineInfor dlg(ctx);
    QVERIFY(dlg.startAdd());
    QCOMPARE(dlg.windowTitle(), s("添加期刊信息"));
    auto *many = dlg.findChild<QCheckBox *>(s("CheckMany"));
    auto *year = dlg.findChild<QComboBox *>(s("YearEdit"));
    auto *bNum = dlg.findChild<QSpinBox *>(s("BNum"));
    auto *eNum = dlg.findChild<QSpinBox *>(s("ENum"));
    auto *overall = dlg.findChild<QSpinBox *>(s("overall_index"));
    QCOMPARE(year->count(), 11);
    QVERIFY(!bNum->isEnabled());
    many->setChecked(true);
    QVERIFY(bNum->isEnabled() && eNum->isEnabled() && overall->isEnabled() && year->isEnabled());
    bNum->setValue(0);
    QCOMPARE(bNum->value(), 1);
    overall->setValue(100000);
    QCOMPARE(overall->value(), 99999);
    year->setCurrentIndex(1);
    bNum->setValue(1);
    eNum->setValue(3);
    overall->setValue(40);
    dlg.findChild<QLineEdit *>(s("Magazine_Name"))->setText(s("故事会"));
    QVERIFY(dlg.saveAndContinue());
    QCOMPARE(magazineCount(t), 3);
    const QString lastYear = QString::number(QDate::currentDate().year() - 1);
    QCOMPARE(t.db().scalar(s("select 刊次 from 期刊资料 where 总刊次=?"), {s("42")}).toString(), lastYear + s("年第3期"));
    // The next record gets the next free number.
    QCOMPARE(dlg.findChild<QLineEdit *>(s("Magazine_NO"))->text(), s("00004"));
    many->setChecked(false);
    QVERIFY(!bNum->isEnabled());
    QCOMPARE(bNum->value(), 1);
    QCOMPARE(eNum->value(), 2);
    QCOMPARE(overall->value(), 1);
}

void TestMagazineEditor::dialogFollowsMagazineRule_data()
{
    QTest::addColumn<bool>("bookOn");
    QTest::addColumn<bool>("magazineOn");
    QTest::addColumn<int>("magazineLength");
    QTest::addColumn<QString>("number");
    QTest::newRow("magazine off, book on") << true << false << 5 << QString();
    QTest::newRow("magazine on, book off") << false << true << 3 << s("001");
    QTest::newRow("magazine width") << true << true << 7 << s("0000001");
}

// The magazine editor numbers with AutoCreateMagazineNum and M_Length,
// whatever the book rule says.
void TestMagazineEditor::dialogFollowsMagazineRule()
{
    QFETCH(bool, bookOn);
    QFETCH(bool, magazineOn);
    QFETCH(int, magazineLength);
    QFETCH(QString, number);
    QANDOR_TESTDB(t);
    t.createDelivered();
    CatalogueContext ctx;
    ctx.bast = &t.bast();
    ctx.bookRule = {bookOn, 5};
    ctx.magazineRule = {magazineOn, magazineLength};
    TfrmAddOrEditMagazineInfor dlg(ctx);
    QVERIFY(dlg.startAdd());
    QCOMPARE(dlg.findChild<QLineEdit *>(s("Magazine_NO"))->text(), number);
    QCOMPARE(dlg.logic().rule().autoOn, magazineOn);
}

QTEST_MAIN(TestMagazineEditor)
#include "tst_magazineeditor.moc"
