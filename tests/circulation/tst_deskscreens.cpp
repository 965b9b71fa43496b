#include "circulation/tfrmactivefixedrent.h"
#include "circulation/tfrmbackbook.h"
#include "circulation/tfrmbookchoselist.h"
#include "circulation/tfrmlogout.h"
#include "circulation/tfrmlostorunlost.h"
#include "circulation/tfrmreletbook.h"
#include "circulation/tfrmrentbook.h"
#include "deskfixture.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace qandor;
using namespace qandor::test;

namespace {
const QString Op = QStringLiteral("管理员");

QLineEdit *box(QWidget &w, const char *name)
{
    auto *e = w.findChild<QLineEdit *>(QString::fromLatin1(name));
    if (!e)
        qWarning("no line edit %s", name);
    return e;
}
QString textOf(QWidget &w, const char *name) { return box(w, name)->text(); }
void click(QWidget &w, const char *name) { w.findChild<QPushButton *>(QString::fromLatin1(name))->click(); }
QTreeWidget *list(QWidget &w) { return w.findChild<QTreeWidget *>(QStringLiteral("BookList")); }

// Types into a look-up box and presses Enter, as the operator does.
void enter(QWidget &w, const char *name, const QString &text)
{
    QLineEdit *e = box(w, name);
    e->setFocus();
    e->clear();
    e->insert(text); // keyClicks takes Latin-1 only
    QTest::keyClick(e, Qt::Key_Return);
}

// "￥1,234.50" back to money.
Money shown(const QString &text)
{
    QString t = text;
    t.remove(QStringLiteral("￥")).remove(QLatin1Char(','));
    return Money::parse(t).value_or(Money::fromYuan(-999999));
}

void stock(DeskFixture &f)
{
    f.addType({QStringLiteral("普通"), 3, 30, yuan("0.20"), yuan("0.50")});
    f.addType({QStringLiteral("包租"), 5, 10, Money(), Money(), true, yuan("200"), 50, 6});
    f.addReader({QStringLiteral("R1"), QStringLiteral("O'Brien"), QStringLiteral("普通")});
    f.addBook(QStringLiteral("B1"), QStringLiteral("红楼梦"), QStringLiteral("7-5063-2512-X"));
    f.addBook(QStringLiteral("B2"), QStringLiteral("水浒传"), QStringLiteral("978-7-333"));
    f.addBook(QStringLiteral("B3"), QStringLiteral("西游记"), QStringLiteral("978-7-222"));
}

std::unique_ptr<QDialog> deskScreen(const QString &name, TBast &bast)
{
    if (name == QLatin1String("rent"))
        return std::make_unique<TfrmRentBook>(bast, Op);
    if (name == QLatin1String("return"))
        return std::make_unique<TfrmBackBook>(bast, Op);
    if (name == QLatin1String("renew"))
        return std::make_unique<TfrmReletBook>(bast, Op);
    if (name == QLatin1String("topup"))
        return std::make_unique<TfrmActiveFixedRent>(bast, Op);
    if (name == QLatin1String("loss"))
        return std::make_unique<TfrmLostOrUnLost>(bast, Op);
    return std::make_unique<TfrmLogOut>(bast, Op);
}

bool activate(QWidget &w)
{
    w.show();
    return QTest::qWaitForWindowActive(&w);
}
} // namespace

class TestDeskScreens : public QObject {
    Q_OBJECT
private slots:
    void lendingFromTheKeyboard();
    void chooserListsThePickedCopy();
    void functionKeysFocusTheirBoxes_data();
    void functionKeysFocusTheirBoxes();
    void returnTotalsAreWhatIsStored();
    void renewalHonoursOncePerDay();
    void topUpWritesTheAmountTyped();
    void cardLossRecoveryAndCancellation();
    void everyDeskShowsTheReader_data();
    void everyDeskShowsTheReader();
};

void TestDeskScreens::lendingFromTheKeyboard()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B3"), day("2024-02-20"), day("2024-03-21"));
    TfrmRentBook s(t.bast(), Op);
    s.desk().setToday(day("2024-03-01"));
    QVERIFY(activate(s));
    QVERIFY(!s.findChild<QPushButton *>(QStringLiteral("SeeHistory"))->isEnabled());

    enter(s, "Input_ReaderNum", QStringLiteral("R1"));
    QCOMPARE(textOf(s, "R_Num"), QStringLiteral("R1"));
    QCOMPARE(textOf(s, "R_Name"), QStringLiteral("O'Brien"));
    QCOMPARE(textOf(s, "CountLimit"), QStringLiteral("2本")); // 3 allowed, 1 held
    QCOMPARE(textOf(s, "DateLimit"), QStringLiteral("30天"));
    QVERIFY(!s.findChild<QLabel *>(QStringLiteral("FixedRentFlag"))->isVisible());
    QVERIFY(s.findChild<QPushButton *>(QStringLiteral("SeeHistory"))->isEnabled());
    QVERIFY(textOf(s, "Input_ReaderNum").isEmpty());
    QVERIFY(box(s, "Input_BookNum")->hasFocus());

    enter(s, "Input_BookNum", QStringLiteral("B1"));
    enter(s, "Input_BookNum", QStringLiteral("B1")); // twice: refused by the desk
    QCOMPARE(list(s)->topLevelItemCount(), 1);
    QTreeWidgetItem *row = list(s)->topLevelItem(0);
    QCOMPARE(row->text(0), QStringLiteral("B1"));
    QCOMPARE(row->text(1), QStringLiteral("红楼梦"));
    QCOMPARE(row->text(4), QStringLiteral("2024-03-01"));
    QCOMPARE(row->text(5), QStringLiteral("2024-03-31"));
    QVERIFY(textOf(s, "Input_BookNum").isEmpty());
    // Enter ran only the look-ups: the one message is the desk's refusal, said once.
    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("本书已添加到借阅列表中！")});
    QCOMPARE(f.loanRows(), 1);

    enter(s, "Input_BookISBN", QStringLiteral("978-7-333"));
    QCOMPARE(list(s)->topLevelItemCount(), 2);
    // A third book is beyond the allowance; the typed text stays for another try.
    enter(s, "Input_BookName", QStringLiteral("西游"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("当前读者目前只能借阅2本图书！"));
    QCOMPARE(list(s)->topLevelItemCount(), 2);
    QCOMPARE(textOf(s, "Input_BookName"), QStringLiteral("西游"));

    t.sink.clear();
    click(s, "RzBitBtn3");
    QCOMPARE(t.sink.texts(), (QStringList{QStringLiteral("是否确定将图书借阅列表中列举的图书借出？"), QStringLiteral("图书借出操作成功！")}));
    QCOMPARE(f.openLoans(QStringLiteral("R1")), 3);
    for (const char *b : {"B1", "B2"}) {
        QCOMPARE(f.bookStatus(QString::fromLatin1(b)), QStringLiteral("借出"));
        QCOMPARE(f.text(QStringLiteral("select 操作员 from 图书借阅信息 where 图书编号=? and 状态='未还'"), {QString::fromLatin1(b)}), Op);
        QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号=?"), {QString::fromLatin1(b)}), day("2024-03-31"));
    }
    // The screen is back to idle.
    QVERIFY(textOf(s, "R_Num").isEmpty());
    QCOMPARE(textOf(s, "CountLimit"), QStringLiteral("0本"));
    QCOMPARE(list(s)->topLevelItemCount(), 0);
    QVERIFY(box(s, "Input_ReaderNum")->hasFocus());
}

void TestDeskScreens::chooserListsThePickedCopy()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addBook(QStringLiteral("B4"), QStringLiteral("红楼梦"), QStringLiteral("7-5063-2512-X"), QStringLiteral("借出"));
    LendingDesk desk(t.bast(), Op);
    QVERIFY(desk.loadReader(QStringLiteral("R1")).ok);
    const BookSearchOutcome o = desk.addBookBySearch(QStringLiteral("红楼"), BookSearch::Title);
    QVERIFY(o.needsChoice);
    TfrmBookChoseList chooser(desk, o.candidates);
    QCOMPARE(chooser.grid()->model()->rowCount(), 2);
    QCOMPARE(chooser.grid()->model()->footerText(0, 1), QStringLiteral("2本"));

    // Sort by number descending: the lent copy B4 comes first; picking it keeps the chooser open.
    chooser.grid()->sortByColumn(1);
    chooser.grid()->sortByColumn(1);
    chooser.grid()->view()->setCurrentIndex(chooser.grid()->model()->index(0, 0));
    QCOMPARE(chooser.grid()->model()->text(0, 1), QStringLiteral("B4"));
    chooser.choose();
    QCOMPARE(t.sink.lastText(), QStringLiteral("本书已借出！"));
    QCOMPARE(chooser.result(), int(QDialog::Rejected));
    QVERIFY(desk.pending().isEmpty());

    chooser.grid()->view()->setCurrentIndex(chooser.grid()->model()->index(1, 0));
    chooser.choose();
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QCOMPARE(desk.pending().size(), 1);
    QCOMPARE(desk.pending().first().number, QStringLiteral("B1"));
}

void TestDeskScreens::functionKeysFocusTheirBoxes_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::newRow("lend F3") << "rent" << int(Qt::Key_F3) << "Input_BookNum";
    QTest::newRow("lend F4") << "rent" << int(Qt::Key_F4) << "Input_BookISBN";
    QTest::newRow("lend F5") << "rent" << int(Qt::Key_F5) << "Input_BookName";
    QTest::newRow("lend F2") << "rent" << int(Qt::Key_F2) << "Input_ReaderNum";
    QTest::newRow("return F3") << "back" << int(Qt::Key_F3) << "Input_BookNum";
    QTest::newRow("renew F3") << "relet" << int(Qt::Key_F3) << "Input_BookNum";
    QTest::newRow("loss F3") << "lost" << int(Qt::Key_F3) << "Input_ReaderName";
    QTest::newRow("cancel F3") << "logout" << int(Qt::Key_F3) << "Input_ReaderName";
    QTest::newRow("top-up F2") << "topup" << int(Qt::Key_F2) << "Input_ReaderNum";
}

void TestDeskScreens::functionKeysFocusTheirBoxes()
{
    QFETCH(QString, screen);
    QFETCH(int, key);
    QFETCH(QString, target);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    std::unique_ptr<QDialog> s;
    if (screen == QLatin1String("rent"))
        s = std::make_unique<TfrmRentBook>(t.bast(), Op);
    else if (screen == QLatin1String("back"))
        s = std::make_unique<TfrmBackBook>(t.bast(), Op);
    else if (screen == QLatin1String("relet"))
        s = std::make_unique<TfrmReletBook>(t.bast(), Op);
    else if (screen == QLatin1String("lost"))
        s = std::make_unique<TfrmLostOrUnLost>(t.bast(), Op);
    else if (screen == QLatin1String("logout"))
        s = std::make_unique<TfrmLogOut>(t.bast(), Op);
    else
        s = std::make_unique<TfrmActiveFixedRent>(t.bast(), Op);
    QVERIFY(activate(*s));
    auto *start = QApplication::focusWidget();
    QVERIFY(start);
    // Leave some text in the target so the key is seen to select it.
    QLineEdit *e = s->findChild<QLineEdit *>(target);
    QVERIFY(e);
    if (start == e) { // move away first
        s->findChild<QPushButton *>(QStringLiteral("RzBitBtn2"))->setFocus();
        QVERIFY(!e->hasFocus());
    }
    e->setText(QStringLiteral("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(e->hasFocus());
    QCOMPARE(e->selectedText(), QStringLiteral("x"));
    QVERIFY(t.sink.entries.isEmpty());
}

void TestDeskScreens::returnTotalsAreWhatIsStored()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B2"), day("2024-03-25"), day("2024-04-24"));
    TfrmBackBook s(t.bast(), Op);
    s.desk().setToday(day("2024-04-02"));
    QVERIFY(activate(s));

    // Called up by one book: all the holder's loans, only that one ticked.
    enter(s, "Input_BookNum", QStringLiteral("B1"));
    QCOMPARE(textOf(s, "R_Num"), QStringLiteral("R1"));
    QCOMPARE(textOf(s, "R_Rent"), QStringLiteral("￥0.20/本"));
    QCOMPARE(textOf(s, "R_Mulct"), QStringLiteral("￥0.50/本/天"));
    QTreeWidget *l = list(s);
    QCOMPARE(l->topLevelItemCount(), 2);
    QTreeWidgetItem *b1 = l->topLevelItem(0);
    QCOMPARE(b1->checkState(0), Qt::Checked);
    QCOMPARE(l->topLevelItem(1)->checkState(0), Qt::Unchecked);
    QCOMPARE((QStringList{b1->text(4), b1->text(5), b1->text(6), b1->text(7)}),
             (QStringList{QStringLiteral("32"), QStringLiteral("6.40"), QStringLiteral("2"), QStringLiteral("1.00")}));
    // The explanation shows the figures that make the amounts.
    QVERIFY2(b1->text(TfrmBackBook::ExplainColumn).contains(QStringLiteral("32天")), qPrintable(b1->text(TfrmBackBook::ExplainColumn)));
    QVERIFY(b1->text(TfrmBackBook::ExplainColumn).contains(QStringLiteral("￥6.40")));
    QVERIFY(b1->text(TfrmBackBook::ExplainColumn).contains(QStringLiteral("￥1.00")));
    QVERIFY(s.findChild<QLabel *>(QStringLiteral("ChargeDetail"))->text().contains(QStringLiteral("B1")));
    QCOMPARE(textOf(s, "T_Rent"), QStringLiteral("￥6.40"));
    QCOMPARE(textOf(s, "T_Mulct"), QStringLiteral("￥1.00"));
    QCOMPARE(textOf(s, "T_Sum"), QStringLiteral("￥7.40"));

    // Ticking the second loan (8 days, not overdue) updates the totals at once.
    l->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QCOMPARE(textOf(s, "T_Rent"), QStringLiteral("￥8.00"));
    QCOMPARE(textOf(s, "T_Sum"), QStringLiteral("￥9.00"));
    const Money onScreen = shown(textOf(s, "T_Sum"));

    click(s, "RzBitBtn3");
    QCOMPARE(t.sink.lastText(), QStringLiteral("图书归还操作成功！"));
    QCOMPARE(t.sink.texts().count(QStringLiteral("图书归还操作成功！")), 1);
    QCOMPARE(f.money(QStringLiteral("select sum(借阅租金)+sum(超期罚金) from 图书借阅信息 where 状态='已还'")), onScreen);
    QCOMPARE(f.money(QStringLiteral("select 借阅租金 from 图书借阅信息 where 图书编号='B2'")), yuan("1.60"));
    QCOMPARE(f.bookStatus(QStringLiteral("B1")), QStringLiteral("在馆"));
    QCOMPARE(f.bookStatus(QStringLiteral("B2")), QStringLiteral("在馆"));
    QCOMPARE(l->topLevelItemCount(), 0);
    QCOMPARE(textOf(s, "T_Sum"), QStringLiteral("￥0.00"));

    // The list buttons on an empty list say so (the desk's message, once).
    t.sink.clear();
    click(s, "RzBitBtn1");
    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("当前图书借阅列表为空，没有可以操作的对象！")});
}

void TestDeskScreens::renewalHonoursOncePerDay()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    TfrmReletBook s(t.bast(), Op);
    s.desk().setToday(day("2024-03-20"));
    QVERIFY(activate(s));

    enter(s, "Input_BookNum", QStringLiteral("B1"));
    QCOMPARE(textOf(s, "DateLimit"), QStringLiteral("30天"));
    QCOMPARE(list(s)->topLevelItem(0)->checkState(0), Qt::Checked);
    click(s, "RzBitBtn3");
    QCOMPARE(t.sink.lastText(), QStringLiteral("图书续借操作成功！"));
    QCOMPARE(f.date(QStringLiteral("select 应还日期 from 图书借阅信息 where 图书编号='B1'")), day("2024-04-19"));
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录 where 图书编号='B1'")), 1);

    // Same day again: a tick by mouse is taken back with the once-a-day message.
    enter(s, "Input_ReaderNum", QStringLiteral("R1"));
    QTreeWidgetItem *row = list(s)->topLevelItem(0);
    QCOMPARE(row->checkState(0), Qt::Unchecked);
    row->setCheckState(0, Qt::Checked);
    QCOMPARE(row->checkState(0), Qt::Unchecked);
    QCOMPARE(t.sink.lastText(), QStringLiteral("编号为[B1]的图书今日已经被进行过一次续借操作！"));
    click(s, "RzBitBtn3");
    QCOMPARE(t.sink.lastText(), QStringLiteral("请先在图书借阅列表中给需要进行续借操作的图书打钩！"));
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书续借记录")), 1);
}

void TestDeskScreens::topUpWritesTheAmountTyped()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addReader({QStringLiteral("P1"), QStringLiteral("张三"), QStringLiteral("包租"), QStringLiteral("等待")});
    TfrmActiveFixedRent s(t.bast(), Op);
    s.desk().setToday(day("2024-01-15"));
    QVERIFY(activate(s));
    auto *payBox = s.findChild<QWidget *>(QStringLiteral("CusPay"))->parentWidget();
    QVERIFY(!payBox->isEnabled());

    enter(s, "Input_ReaderNum", QStringLiteral("P1"));
    QVERIFY(payBox->isEnabled());
    QCOMPARE(textOf(s, "FixRent"), QStringLiteral("￥200.00"));
    QCOMPARE(textOf(s, "FixedNum"), QStringLiteral("50本"));
    QCOMPARE(textOf(s, "FixedTime"), QStringLiteral("6月"));
    QCOMPARE(s.findChild<QDateEdit *>(QStringLiteral("LoseDate"))->date(), day("2024-07-16"));
    QVERIFY(box(s, "CusPay")->hasFocus());

    // Moving the first day moves the last one.
    auto *active = s.findChild<QDateEdit *>(QStringLiteral("ActiveDate"));
    active->setDate(day("2024-02-01"));
    s.activeDateLeft();
    QCOMPARE(s.findChild<QDateEdit *>(QStringLiteral("LoseDate"))->date(), day("2024-08-02"));

    box(s, "CusPay")->selectAll();
    QTest::keyClicks(box(s, "CusPay"), QStringLiteral("180.5"));
    box(s, "Memo")->insert(QStringLiteral("半价'--"));
    t.sink.answers.enqueue(false); // no further top-up: the screen closes
    click(s, "RzBitBtn3");
    QCOMPARE(t.sink.lastText(), QStringLiteral("充值成功！是否继续进行充值操作？"));
    QCOMPARE(s.result(), int(QDialog::Accepted));
    QCOMPARE(f.money(QStringLiteral("select 充值金额 from 包租充值 where 读者编号='P1'")), yuan("180.50"));
    QCOMPARE(f.text(QStringLiteral("select 备注 from 包租充值 where 读者编号='P1'")), QStringLiteral("半价'--"));
    QCOMPARE(f.date(QStringLiteral("select 失效日期 from 包租充值 where 读者编号='P1'")), day("2024-08-02"));
    QCOMPARE(f.readerStatus(QStringLiteral("P1")), QStringLiteral("正常"));
    QCOMPARE(f.count(QStringLiteral("select 当前可用量 from 读者资料 where 编号='P1'")), 50);
}

void TestDeskScreens::cardLossRecoveryAndCancellation()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addReader({QStringLiteral("R2"), QStringLiteral("李四"), QStringLiteral("普通"), QStringLiteral("正常"), QStringLiteral("女"),
                 false, 0, 0, yuan("50")});
    {
        TfrmLostOrUnLost s(t.bast(), Op);
        s.desk().setToday(day("2024-05-06"));
        QVERIFY(activate(s));
        QCOMPARE(textOf(s, "Control_date"), QStringLiteral("2024-05-06"));
        auto *lost = s.findChild<QRadioButton *>(QStringLiteral("LostCheck"));
        auto *unlost = s.findChild<QRadioButton *>(QStringLiteral("UnLostCheck"));
        enter(s, "Input_ReaderName", QStringLiteral("李"));
        QCOMPARE(textOf(s, "R_Num"), QStringLiteral("R2"));
        QVERIFY(lost->isChecked() && !unlost->isChecked());
        // The wrong button for a valid card: warned, the loss stays chosen.
        unlost->click();
        QCOMPARE(t.sink.lastText(), QStringLiteral("当前读者借书证处于[正常]状态，只能进行挂失操作！"));
        QVERIFY(lost->isChecked() && !unlost->isChecked());
        click(s, "RzBitBtn1");
        QCOMPARE(t.sink.lastText(), QStringLiteral("借书证挂失操作成功！"));
        QCOMPARE(f.readerStatus(QStringLiteral("R2")), QStringLiteral("挂失"));
        QVERIFY(textOf(s, "R_Num").isEmpty());

        // Back again, dated by the operator; an impossible date means today.
        enter(s, "Input_ReaderNum", QStringLiteral("R2"));
        QVERIFY(unlost->isChecked() && !lost->isChecked());
        box(s, "Control_date")->setText(QStringLiteral("2024-02-30"));
        click(s, "RzBitBtn1");
        QCOMPARE(f.readerStatus(QStringLiteral("R2")), QStringLiteral("正常"));
        QCOMPARE(f.count(QStringLiteral("select count(*) from 读者挂失记录 where 读者编号='R2'")), 2);
        QCOMPARE(f.date(QStringLiteral("select 操作日期 from 读者挂失记录 where 操作方式='解除挂失'")), day("2024-05-06"));
    }
    {
        TfrmLogOut s(t.bast(), Op);
        s.desk().setToday(day("2024-05-07"));
        QVERIFY(activate(s));
        enter(s, "Input_ReaderNum", QStringLiteral("R2"));
        QCOMPARE(textOf(s, "BackForegift"), QStringLiteral("￥50.00"));
        box(s, "LogOutMemo")->insert(QStringLiteral("搬家"));
        click(s, "RzBitBtn1");
        QCOMPARE(t.sink.lastText(), QStringLiteral("借书证注销操作成功！"));
        QCOMPARE(f.readerStatus(QStringLiteral("R2")), QStringLiteral("注销"));
        QCOMPARE(f.money(QStringLiteral("select 退还押金 from 读者注销记录 where 读者编号='R2'")), yuan("50"));
        QCOMPARE(f.text(QStringLiteral("select 备注 from 读者注销记录 where 读者编号='R2'")), QStringLiteral("搬家"));
        QCOMPARE(textOf(s, "BackForegift"), QStringLiteral("￥0.00"));
        enter(s, "Input_ReaderNum", QStringLiteral("R2"));
        QCOMPARE(t.sink.lastText(), QStringLiteral("当前编号为[R2]的读者的借书证处于[注销]状态，不能再次进行注销的操作！"));
    }
}

void TestDeskScreens::everyDeskShowsTheReader_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("name");
    // The return and renewal desks show the name written on the loan row.
    QTest::newRow("lending") << "rent" << "R1" << "普通" << "O'Brien";
    QTest::newRow("return") << "return" << "R1" << "普通" << "读者R1";
    QTest::newRow("renewal") << "renew" << "R1" << "普通" << "读者R1";
    QTest::newRow("top-up") << "topup" << "W1" << "包租" << "王'五";
    QTest::newRow("card loss") << "loss" << "R1" << "普通" << "O'Brien";
    QTest::newRow("cancellation") << "logout" << "R1" << "普通" << "O'Brien";
}

// The reader panel each desk shares: the fields, read-only, filled from the
// desk's reader and emptied again.
void TestDeskScreens::everyDeskShowsTheReader()
{
    QFETCH(QString, screen);
    QFETCH(QString, reader);
    QFETCH(QString, type);
    QFETCH(QString, name);
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    stock(f);
    f.addReader({QStringLiteral("W1"), QStringLiteral("王'五"), QStringLiteral("包租"), QStringLiteral("等待"), QStringLiteral("女")});
    f.addOpenLoan(QStringLiteral("R1"), QStringLiteral("普通"), QStringLiteral("B1"), day("2024-03-01"), day("2024-03-31"));
    std::unique_ptr<QDialog> s = deskScreen(screen, t.bast());
    QVERIFY(s->findChild<QLabel *>(QStringLiteral("Pic")));
    for (const char *name : {"R_Num", "R_Name", "R_Sex", "R_Type"}) {
        QVERIFY2(box(*s, name), name);
        QVERIFY(box(*s, name)->isReadOnly());
        QVERIFY(textOf(*s, name).isEmpty());
    }
    enter(*s, "Input_ReaderNum", reader);
    QCOMPARE(textOf(*s, "R_Num"), reader);
    QCOMPARE(textOf(*s, "R_Name"), name);
    QCOMPARE(textOf(*s, "R_Sex"), reader == QLatin1String("W1") ? QStringLiteral("女") : QStringLiteral("男"));
    QCOMPARE(textOf(*s, "R_Type"), type);
    // An unknown number empties the panel again.
    enter(*s, "Input_ReaderNum", QStringLiteral("X9"));
    QVERIFY(textOf(*s, "R_Num").isEmpty());
    QVERIFY(textOf(*s, "R_Name").isEmpty());
}

QTEST_MAIN(TestDeskScreens)
#include "tst_deskscreens.moc"
