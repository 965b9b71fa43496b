#include "app/hubservices.h"
#include "data/gbk.h"
#include "data/schema.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestHubServices : public QObject {
    Q_OBJECT
private slots:
    void isbnTo13_data();
    void isbnTo13();
    void parseRecordPosition_data();
    void parseRecordPosition();
    void treeCode_data();
    void treeCode();
    void treeCodeWithoutSelection();
    void colorByStatus_data();
    void colorByStatus();
    void monthsLater_data();
    void monthsLater();
    void escapeAndCard();
    void arrangeToolPanel();
    void classTreeRoundTripInGbk();
    void classTreeToleratesDeepJump();
    void makeCallNumber_data();
    void makeCallNumber();
    void loansAndHolders();
    void readerLookups();
    void loadSysParameter();
    void serverDate();
};

void TestHubServices::isbnTo13_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("10 digits with X check") << QStringLiteral("7-5063-2512-X") << QStringLiteral("9787506325127");
    QTest::newRow("13 digits recomputed") << QStringLiteral("978-7-5063-2512-0") << QStringLiteral("9787506325127");
    QTest::newRow("10 digits") << QStringLiteral("7-111-07127-1") << QStringLiteral("9787111071273");
    QTest::newRow("blanks around") << QStringLiteral("  7111071271 ") << QStringLiteral("9787111071273");
    QTest::newRow("check digit 0") << QStringLiteral("9787111071280") << QStringLiteral("9787111071280");
    QTest::newRow("letter kept: unchanged") << QStringLiteral("7-11A-07127-1") << QStringLiteral("7-11A-07127-1");
    QTest::newRow("empty") << QString() << QStringLiteral("0");
}

void TestHubServices::isbnTo13()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(IsbnTo13(in), out);
}

void TestHubServices::parseRecordPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("total");
    QTest::newRow("page text") << QStringLiteral("第 3 条记录(共 25 条)") << 3 << 25;
    QTest::newRow("around other text") << QStringLiteral("书目：第 12 条记录(共 140 条)  下一条") << 12 << 140;
    QTest::newRow("unreadable current") << QStringLiteral("第 x 条记录(共 25 条)") << 1 << 25;
    QTest::newRow("no total") << QStringLiteral("第 7 条记录") << 7 << 1;
    QTest::newRow("empty") << QString() << 1 << 1;
}

void TestHubServices::parseRecordPosition()
{
    QFETCH(QString, text);
    QFETCH(int, current);
    QFETCH(int, total);
    int t = -5, c = -5;
    ParseRecordPosition(text, t, c);
    QCOMPARE(c, current);
    QCOMPARE(t, total);
}

void TestHubServices::treeCode_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("pairCode");
    QTest::addColumn<QString>("pairName");
    QTest::newRow("code-name") << QStringLiteral("TP311-程序设计") << QStringLiteral("TP311") << QStringLiteral("TP311") << QStringLiteral("程序设计");
    QTest::newRow("no dash") << QStringLiteral(" TP311 ") << QStringLiteral("TP311") << QString() << QString();
    QTest::newRow("first dash splits") << QStringLiteral(" I247-小说-长篇 ") << QStringLiteral("I247") << QStringLiteral("I247")
                                       << QStringLiteral("小说-长篇");
}

void TestHubServices::treeCode()
{
    QFETCH(QString, node);
    QFETCH(QString, code);
    QFETCH(QString, pairCode);
    QFETCH(QString, pairName);
    QTreeWidget tree;
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("A-其他")});
    auto *item = new QTreeWidgetItem(&tree, QStringList{node});
    tree.setCurrentItem(item);
    QCOMPARE(GetTreeCode(&tree), code);
    QString c = QStringLiteral("x"), n = QStringLiteral("x");
    GetTreeCodeAndName(&tree, c, n);
    QCOMPARE(c, pairCode);
    QCOMPARE(n, pairName);
}

void TestHubServices::treeCodeWithoutSelection()
{
    QTreeWidget tree;
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("A-其他")});
    tree.setCurrentItem(nullptr);
    tree.clearSelection();
    QCOMPARE(GetTreeCode(&tree), QString());
    QString c = QStringLiteral("x"), n = QStringLiteral("x");
    GetTreeCodeAndName(&tree, c, n);
    QVERIFY(c.isEmpty() && n.isEmpty());
}

void TestHubServices::colorByStatus_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QColor>("color");
    const QString readers = QStringLiteral("正常, 过期 ,挂失,注销");
    QTest::newRow("first") << QStringLiteral("正常") << readers << QColor(0, 128, 0);
    QTest::newRow("second, item trimmed") << QStringLiteral("过期") << readers << QColor(0, 0, 255);
    QTest::newRow("third") << QStringLiteral("挂失") << readers << QColor(255, 0, 0);
    QTest::newRow("fourth") << QStringLiteral("注销") << readers << QColor(128, 0, 0);
    QTest::newRow("not found") << QStringLiteral("等待") << readers << QColor(0, 0, 0);
    QTest::newRow("placeholder never matches") << QStringLiteral("Null") << QStringLiteral("在馆,Null,借出,Null") << QColor(0, 0, 0);
    QTest::newRow("third after placeholder") << QStringLiteral("借出") << QStringLiteral("在馆,Null,借出,Null") << QColor(255, 0, 0);
}

void TestHubServices::colorByStatus()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QFETCH(QColor, color);
    QCOMPARE(ColorByStatus(text, words), color);
}

void TestHubServices::monthsLater_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("months");
    QTest::addColumn<QDate>("to");
    QTest::newRow("plain") << QDate(2009, 5, 1) << 12 << QDate(2010, 5, 2);
    QTest::newRow("month end clamps, then a day") << QDate(2009, 1, 31) << 1 << QDate(2009, 3, 1);
    QTest::newRow("leap year") << QDate(2008, 1, 31) << 1 << QDate(2008, 3, 1);
    QTest::newRow("zero months") << QDate(2009, 12, 31) << 0 << QDate(2010, 1, 1);
}

void TestHubServices::monthsLater()
{
    QFETCH(QDate, from);
    QFETCH(int, months);
    QFETCH(QDate, to);
    QCOMPARE(MonthsLater(months, from), to);
}

void TestHubServices::escapeAndCard()
{
    QCOMPARE(EscapeQuotes(QStringLiteral("O'Brien's")), QStringLiteral("O’Brien’s"));
    QString card;
    QVERIFY(ReadCard(card));
    QCOMPARE(card, QStringLiteral("9939"));
    QCOMPARE(nowText(QDateTime(QDate(2009, 5, 1), QTime(8, 5))), QStringLiteral("2009年05月01日 08时05分"));
}

void TestHubServices::arrangeToolPanel()
{
    QWidget panel;
    panel.resize(300, 40);
    auto *label = new QLabel(&panel);
    label->setGeometry(60, 5, 80, 20);
    auto *a = new QWidget(&panel);
    a->setGeometry(0, 5, 50, 20);
    auto *b = new QWidget(&panel);
    b->setGeometry(0, 5, 40, 20);
    ArrangeToolPanel(&panel, label, {a, b});
    QCOMPARE(label->x(), 10);
    QCOMPARE(a->geometry().right() + 1, 290);
    QCOMPARE(b->geometry().right() + 1, a->x() - 10);
}

void TestHubServices::classTreeRoundTripInGbk()
{
    QTreeWidget tree;
    auto *a = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("A-马克思主义")});
    auto *a1 = new QTreeWidgetItem(a, QStringList{QStringLiteral("A1-马克思著作")});
    new QTreeWidgetItem(a1, QStringList{QStringLiteral("A11-选集")});
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("TP311-程序设计")});
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("BFA.dat"));
    QVERIFY(SaveClassTree(&tree, file));

    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QString expected = QStringLiteral("A-马克思主义\r\n\tA1-马克思著作\r\n\t\tA11-选集\r\nTP311-程序设计\r\n");
    QCOMPARE(bytes, toGbk(expected));
    QVERIFY(bytes != expected.toUtf8());
    QVERIFY(bytes.startsWith(QByteArray("A-\xC2\xED", 4))); // 马 in GBK

    QTreeWidget back;
    new QTreeWidgetItem(&back, QStringList{QStringLiteral("旧节点")});
    QVERIFY(LoadClassTree(&back, file));
    QCOMPARE(back.topLevelItemCount(), 2);
    QCOMPARE(back.topLevelItem(0)->text(0), QStringLiteral("A-马克思主义"));
    QCOMPARE(back.topLevelItem(0)->child(0)->child(0)->text(0), QStringLiteral("A11-选集"));
    QCOMPARE(back.topLevelItem(1)->text(0), QStringLiteral("TP311-程序设计"));
    QCOMPARE(back.topLevelItem(1)->childCount(), 0);
    QCOMPARE(classTreeBytes(&back), bytes);
    QVERIFY(!LoadClassTree(&back, dir.filePath(QStringLiteral("missing.dat"))));
}

void TestHubServices::classTreeToleratesDeepJump()
{
    QTreeWidget tree;
    classTreeFromBytes(&tree, toGbk(QStringLiteral("A-甲\r\n\t\t\tA1-乙\r\n\r\nB-丙")));
    QCOMPARE(tree.topLevelItemCount(), 2);
    QCOMPARE(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("A1-乙"));
    QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("B-丙"));
}

void TestHubServices::makeCallNumber_data()
{
    QTest::addColumn<QString>("classCode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("isbn");
    QTest::addColumn<int>("serial");
    QTest::addColumn<QString>("callNumber");
    QTest::newRow("class without books") << QStringLiteral("TP311") << QStringLiteral("新书") << QStringLiteral("9787111071273") << 1
                                         << QStringLiteral("TP311/1");
    QTest::newRow("next serial of the class") << QStringLiteral("I247") << QStringLiteral("新书") << QStringLiteral("9787111071273") << 13
                                              << QStringLiteral("I247/13");
    QTest::newRow("class code trimmed for the highest serial") << QStringLiteral(" I247 ") << QStringLiteral("新书") << QString() << 13
                                                                << QStringLiteral(" I247 /13");
    QTest::newRow("another copy shares the call number") << QStringLiteral("I247") << QStringLiteral("O'Brien's \"tale\" --")
                                                         << QStringLiteral("9787506325127") << 5 << QStringLiteral("I247/5");
    QTest::newRow("same title, other ISBN") << QStringLiteral("I247") << QStringLiteral("O'Brien's \"tale\" --")
                                            << QStringLiteral("9780000000002") << 13 << QStringLiteral("I247/13");
}

void TestHubServices::makeCallNumber()
{
    QFETCH(QString, classCode);
    QFETCH(QString, title);
    QFETCH(QString, isbn);
    QFETCH(int, serial);
    QFETCH(QString, callNumber);
    QANDOR_TESTDB(t);
    t.createDelivered();
    const QString sql = QStringLiteral("insert into 图书资料 (图书编号,图书名称,分类号,种次号,索书号,标准ISBN) values (?,?,?,?,?,?)");
    t.db().exec(sql, {QStringLiteral("00001"), QStringLiteral("O'Brien's \"tale\" --"), QStringLiteral("I247"), 5, QStringLiteral("I247/5"),
                      QStringLiteral("9787506325127")});
    t.db().exec(sql, {QStringLiteral("00002"), QStringLiteral("旧书"), QStringLiteral("I247"), 12, QStringLiteral("I247/12"), QString()});
    // A copy without a serial must not hide the highest one.
    t.db().exec(sql, {QStringLiteral("00003"), QStringLiteral("无种次"), QStringLiteral("I247"), QVariant(), QVariant(), QString()});
    int s = -1;
    QString c;
    MakeCallNumber(t.db(), classCode, title, s, c, isbn);
    QCOMPARE(s, serial);
    QCOMPARE(c, callNumber);
}

void TestHubServices::loansAndHolders()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    const QString sql = QStringLiteral("insert into 图书借阅信息 (状态,读者编号,图书编号) values (?,?,?)");
    t.db().exec(sql, {QStringLiteral("未还"), QStringLiteral("R'1"), QStringLiteral("00012")});
    t.db().exec(sql, {QStringLiteral("未还"), QStringLiteral("R'1"), QStringLiteral("00013")});
    t.db().exec(sql, {QStringLiteral("已还"), QStringLiteral("R'1"), QStringLiteral("00014")});
    t.db().exec(sql, {QStringLiteral("已还"), QStringLiteral("R2"), QStringLiteral("00012")});
    t.db().exec(QStringLiteral("insert into 期刊借阅信息 (状态,读者编号,期刊编号) values (?,?,?)"),
                {QStringLiteral("未还"), QStringLiteral("R2"), QStringLiteral("M001")});
    QCOMPARE(BookLoanCount(t.db(), QStringLiteral(" R'1 ")), 2);
    QCOMPARE(BookLoanCount(t.db(), QStringLiteral("R2")), 0);
    QCOMPARE(MagazineLoanCount(t.db(), QStringLiteral("R2")), 1);
    QCOMPARE(MagazineLoanCount(t.db(), QStringLiteral("R'1")), 0);

    QString reader = QStringLiteral("x");
    QVERIFY(BookHolder(t.db(), QStringLiteral(" 00012 "), reader));
    QCOMPARE(reader, QStringLiteral("R'1"));
    QVERIFY(!BookHolder(t.db(), QStringLiteral("00014"), reader));
    QVERIFY(reader.isEmpty());
    QVERIFY(!BookHolder(t.db(), QStringLiteral("  "), reader));
    QVERIFY(MagazineHolder(t.db(), QStringLiteral("M001"), reader));
    QCOMPARE(reader, QStringLiteral("R2"));
}

void TestHubServices::readerLookups()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0" "photo") + '\0' + QByteArray("bytes");
    t.db().exec(QStringLiteral("insert into 读者资料 (编号,姓名,照片) values (?,?,?)"), {QStringLiteral("0001"), QStringLiteral("甲"), jpeg});
    t.db().exec(QStringLiteral("insert into 读者资料 (编号,姓名) values (?,?)"), {QStringLiteral("0002"), QStringLiteral("乙")});
    QCOMPARE(LoadReaderPhoto(t.db(), QStringLiteral(" 0001 ")).value_or(QByteArray()), jpeg);
    const auto none = LoadReaderPhoto(t.db(), QStringLiteral("0002"));
    QVERIFY(none.has_value() && none->isEmpty());
    QVERIFY(!LoadReaderPhoto(t.db(), QStringLiteral("0003")).has_value());

    t.db().exec(QStringLiteral("insert into 读者类型 (类型名称,包租) values (?,?)"), {QStringLiteral("包租'户"), true});
    t.db().exec(QStringLiteral("insert into 读者类型 (类型名称,包租) values (?,?)"), {QStringLiteral("普通"), false});
    QVERIFY(IsRentalType(t.db(), QStringLiteral("包租'户")));
    QVERIFY(!IsRentalType(t.db(), QStringLiteral("普通")));
    QVERIFY(!IsRentalType(t.db(), QStringLiteral("不存在")));
}

void TestHubServices::loadSysParameter()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("update SysParameter set B_FrontMark=?,R_Length=?,PageSize=?,CardTitle=?,AutoBookOutTimeWarn=?,"
                               "AutoCreateReaderNum=?"),
                {QStringLiteral(" BK "), 7, 30, QStringLiteral(" 读者证 "), false, true});
    SysParams p;
    p.PageSize = -1;
    LoadSysParameter(t.db(), p);
    QCOMPARE(p.B_FrontMark, QStringLiteral("BK"));
    QCOMPARE(p.R_Length, 7);
    QCOMPARE(p.B_Length, 5);
    QCOMPARE(p.PageSize, 30);
    QCOMPARE(p.CardTitle, QStringLiteral(" 读者证 "));
    QVERIFY(!p.AutoBookOutTimeWarn);
    QVERIFY(p.AutoMagazineOutTimeWarn);
    QVERIFY(p.AutoCreateReaderNum);

    t.db().exec(QStringLiteral("delete from SysParameter"));
    LoadSysParameter(t.db(), p);
    QCOMPARE(p.PageSize, 100);
    QCOMPARE(p.R_Length, 4);
    QVERIFY(!p.AutoCreateReaderNum);
    QVERIFY(p.AutoBookOutTimeWarn);
    QCOMPARE(p.CardTitle, QStringLiteral("借书证"));
    QCOMPARE(p.CardBackInfor, Schema::defaultCardBackInfor());
}

void TestHubServices::serverDate()
{
    QANDOR_TESTDB(t);
    const QDateTime dt = ServerDate(t.db());
    QVERIFY(dt.isValid());
    QVERIFY(qAbs(dt.date().daysTo(QDate::currentDate())) <= 1);
    if (!t.server())
        QCOMPARE(dt, QDate::currentDate().startOfDay());
}

QTEST_MAIN(TestHubServices)
#include "tst_hubservices.moc"
