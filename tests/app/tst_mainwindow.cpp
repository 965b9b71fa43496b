#include "app/hub.h"
#include "app/mainbackground.h"
#include "app/tfrmmain.h"
#include "data/gbk.h"
#include "data/rights.h"
#include "data/tiniio.h"
#include "support/recordingsink.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

// A hub on the test database with a program folder of its own.
struct Desk {
    TestDb &tdb;
    QTemporaryDir dir;
    Hub hub;
    explicit Desk(TestDb &t, const QString &ini = QStringLiteral("[DF]\r\nDATAOBJECT=ACCESS\r\n")) : tdb(t), hub(&t.sink)
    {
        tdb.createDelivered();
        hub.useDatabase(&tdb.db());
        hub.g.AppPath = dir.path() + QLatin1Char('/');
        QDir().mkpath(hub.g.AppPath + QStringLiteral("database"));
        QFile f(iniPath());
        f.open(QIODevice::WriteOnly);
        f.write(toGbk(ini));
        f.close();
        hub.IniIo.setIniFilePath(iniPath());
        hub.g.CurrentUser = QStringLiteral("超级用户");
    }
    QString iniPath() const { return hub.g.AppPath + QStringLiteral("database/set.ini"); }
    // An operator with every right except those listed.
    void addOperator(const QString &name, const QStringList &without)
    {
        QString cols = QStringLiteral("用户名,密码");
        QString marks = QStringLiteral("?,?");
        QVariantList values{name, QStringLiteral("x")};
        for (const QString &r : allRightColumns()) {
            cols += QLatin1Char(',') + r;
            marks += QStringLiteral(",?");
            values << !without.contains(r);
        }
        tdb.db().exec(QStringLiteral("insert into 用户管理 (") + cols + QStringLiteral(") values (") + marks + QLatin1Char(')'), values);
    }
};

QAction *action(QWidget &w, const QString &name)
{
    return w.findChild<QAction *>(name);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void keysCheckTheRight_data();
    void keysCheckTheRight();
    void menuStatesFollowRightsAndAvailability();
    void vanishedOperatorKeepsCommandsEnabled();
    void everyCommandAndTriggerIsPresent();
    void background_data();
    void background();
    void defaultBackgroundKeepsPictureUntilRestart();
    void exitAsksAndRunsBackupOnlyOnOk();
    void reconfigureRestartsWithoutExitQuestion();
    void missingHelpFileIsReported();
};

void TestMainWindow::keysCheckTheRight_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("command");
    QTest::newRow("F1 lending") << int(Qt::Key_F1) << "TB_RentBook" << "图书借阅" << "N_RentBook";
    QTest::newRow("F10 top-up") << int(Qt::Key_F10) << "TB_ActiveFixedRent" << "包租充值" << "N_ActiveFixedRent";
}

void TestMainWindow::keysCheckTheRight()
{
    QFETCH(int, key);
    QFETCH(QString, trigger);
    QFETCH(QString, right);
    QFETCH(QString, command);
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    // A quote in the name must not break the rights query.
    const QString without = QStringLiteral("O'Brien \"无权\"");
    desk.addOperator(without, {right});
    desk.addOperator(QStringLiteral("有权"), {});

    for (const bool granted : {false, true}) {
        tdb.sink.clear();
        desk.hub.g.CurrentUser = granted ? QStringLiteral("有权") : without;
        TfrmMain w(desk.hub);
        int opened = 0;
        w.setOpener(command, [&opened] { ++opened; });
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.operatorPanel()->text(), QStringLiteral("当前操作员：") + desk.hub.g.CurrentUser);

        QTest::keyClick(&w, Qt::Key(key));
        // The tool button takes the same way.
        auto *button = w.findChild<QToolButton *>(trigger);
        QVERIFY(button);
        QVERIFY(button->isEnabled()); // it re-checks the right when pressed
        button->click();

        QCOMPARE(action(w, command)->isEnabled(), granted);
        if (granted) {
            QCOMPARE(opened, 2);
            QVERIFY(tdb.sink.entries.isEmpty());
        } else {
            QCOMPARE(opened, 0);
            QCOMPARE(tdb.sink.texts(), QStringList(2, QStringLiteral("当前用户无此操作权限！")));
            QCOMPARE(tdb.sink.lastKind(), QStringLiteral("warn"));
        }
    }
}

void TestMainWindow::menuStatesFollowRightsAndAvailability()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    desk.addOperator(QStringLiteral("柜台"), {QStringLiteral("用户设置"), QStringLiteral("网络版设置")});
    desk.hub.g.CurrentUser = QStringLiteral("柜台");
    TfrmMain w(desk.hub);
    w.show();

    // Right missing: disabled although the screen exists.
    QVERIFY(!action(w, QStringLiteral("N_admin"))->isEnabled());
    QVERIFY(!action(w, QStringLiteral("N_DataSet"))->isEnabled());
    // Right present and screen present.
    QVERIFY(action(w, QStringLiteral("N_Sysparameter"))->isEnabled());
    // No right needed.
    for (const char *n : {"N_ChangePas", "N_Quit", "N_About", "N_IntroduceOfUse", "N_IniBackImage", "N_DIYBackImage"})
        QVERIFY2(action(w, QString::fromUtf8(n))->isEnabled(), n);
    // Right present but no screen yet: must not look usable anywhere.
    QVERIFY(!action(w, QStringLiteral("N_RentMagazine"))->isEnabled());
    QVERIFY(!action(w, QStringLiteral("N17"))->isEnabled());
    QVERIFY(!action(w, QStringLiteral("N5"))->isEnabled());
    QVERIFY(!w.findChild<QToolButton *>(QStringLiteral("TB_RentMagazine"))->isEnabled());
    QVERIFY(!w.findChild<QToolButton *>(QStringLiteral("TB_FindBookInfor"))->isEnabled());
    QVERIFY(!w.findChild<QToolButton *>(QStringLiteral("TB_RentMagazine"))->toolTip().isEmpty());
    QVERIFY(w.findChild<QToolButton *>(QStringLiteral("TB_QuitSys"))->isEnabled());

    // Giving the command a screen enables it (the operator has the right).
    w.setOpener(QStringLiteral("N_RentMagazine"), [] {});
    QVERIFY(action(w, QStringLiteral("N_RentMagazine"))->isEnabled());
    QVERIFY(w.findChild<QToolButton *>(QStringLiteral("TB_RentMagazine"))->isEnabled());
    // A drop-down button becomes usable as soon as one of its entries is.
    w.setOpener(QStringLiteral("N_FindMagazineInfor"), [] {});
    QVERIFY(w.findChild<QToolButton *>(QStringLiteral("TB_FindBookInfor"))->isEnabled());
    QVERIFY(!action(w, QStringLiteral("N5"))->isEnabled());
    QVERIFY(action(w, QStringLiteral("N15"))->isEnabled());
}

void TestMainWindow::vanishedOperatorKeepsCommandsEnabled()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    desk.hub.g.CurrentUser = QStringLiteral("已删除的操作员");
    TfrmMain w(desk.hub);
    w.show();
    QVERIFY(!w.rights().rowFound());
    QVERIFY(action(w, QStringLiteral("N_admin"))->isEnabled());
    QVERIFY(action(w, QStringLiteral("N_DataSet"))->isEnabled());
    QVERIFY(tdb.sink.entries.isEmpty());
}

void TestMainWindow::everyCommandAndTriggerIsPresent()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    TfrmMain w(desk.hub);
    QCOMPARE(w.windowTitle(), QStringLiteral("Qandor图书馆管理系统"));
    QSet<QString> rightsGated;
    for (const TfrmMain::CommandDef &c : TfrmMain::commands()) {
        QAction *a = action(w, QString::fromUtf8(c.name));
        QVERIFY2(a, c.name);
        QCOMPARE(a->text(), QString::fromUtf8(c.caption));
        if (c.right)
            rightsGated.insert(QString::fromUtf8(c.right));
    }
    // Every one of the fifty rights gates exactly one menu command.
    const QStringList all = allRightColumns();
    QCOMPARE(rightsGated, QSet<QString>(all.cbegin(), all.cend()));
    for (const TfrmMain::TriggerDef &t : TfrmMain::triggers()) {
        QObject *o = w.findChild<QObject *>(QString::fromUtf8(t.name));
        QVERIFY2(o, t.name);
        QVERIFY2(action(w, QString::fromUtf8(t.command)), t.command);
    }
    for (const char *n : {"TopToolBar", "LeftToolBar", "BottomShow", "MainBack", "BookFindMenu", "RentInforMenu", "TaxisCountMenu"})
        QVERIFY2(w.findChild<QWidget *>(QString::fromUtf8(n)), n);
    QCOMPARE(action(w, QStringLiteral("F10"))->shortcut(), QKeySequence(Qt::Key_F10));
}

void TestMainWindow::background_data()
{
    QTest::addColumn<QString>("picpath"); // "%pic" stands for a real picture, "%text" for a non-picture file
    QTest::addColumn<bool>("builtIn");
    QTest::newRow("missing file") << "/no/such/dir/背景.jpg" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("NULL") << "NULL" << true;
    QTest::newRow("not a picture") << "%text" << true;
    QTest::newRow("picture") << "%pic" << false;
}

void TestMainWindow::background()
{
    QFETCH(QString, picpath);
    QFETCH(bool, builtIn);
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    if (picpath == QLatin1String("%pic")) {
        picpath = desk.hub.g.AppPath + QStringLiteral("背景.png");
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(picpath));
    } else if (picpath == QLatin1String("%text")) {
        picpath = desk.hub.g.AppPath + QStringLiteral("readme.jpg");
        QFile f(picpath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    desk.hub.IniIo.WriteString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH"), picpath);
    TfrmMain w(desk.hub);
    w.show();
    QCOMPARE(w.background()->isBuiltIn(), builtIn);
    QVERIFY(tdb.sink.entries.isEmpty()); // silently, whatever happened
}

void TestMainWindow::defaultBackgroundKeepsPictureUntilRestart()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    const QString pic = desk.hub.g.AppPath + QStringLiteral("b.png");
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(pic));
    TfrmMain w(desk.hub);
    w.show();
    QVERIFY(w.applyChosenBackground(pic));
    QVERIFY(!w.background()->isBuiltIn());
    QCOMPARE(TIniIo(desk.iniPath()).ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH")), pic);

    action(w, QStringLiteral("N_IniBackImage"))->trigger();
    QCOMPARE(tdb.sink.lastText(), QStringLiteral("设置完成，该设置在下次启动软件时生效！"));
    QVERIFY(!w.background()->isBuiltIn());
    QCOMPARE(TIniIo(desk.iniPath()).ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH")), QString());

    // A chosen file that is no picture changes nothing.
    tdb.sink.clear();
    QVERIFY(!w.applyChosenBackground(desk.iniPath()));
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(TIniIo(desk.iniPath()).ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH")), QString());
}

void TestMainWindow::exitAsksAndRunsBackupOnlyOnOk()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    int backups = 0;
    desk.hub.exitBackup = [&backups] {
        ++backups;
        throw std::runtime_error("backup folder is gone"); // must not keep the program alive
    };
    TfrmMain w(desk.hub);
    int finished = 0;
    connect(&w, &TfrmMain::finished, this, [&finished] { ++finished; });
    w.show();

    tdb.sink.answers.clear();
    tdb.sink.answers << false << false << false;
    w.close();
    w.findChild<QToolButton *>(QStringLiteral("TB_QuitSys"))->click();
    action(w, QStringLiteral("N_Quit"))->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(backups, 0);
    QCOMPARE(finished, 0);
    QCOMPARE(tdb.sink.texts(), QStringList(3, QStringLiteral("确定要退出系统么?")));
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("ok"));

    tdb.sink.answers.clear();
    tdb.sink.answers << true;
    w.findChild<QToolButton *>(QStringLiteral("TB_QuitSys"))->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(backups, 1);
    QCOMPARE(finished, 1);
}

void TestMainWindow::reconfigureRestartsWithoutExitQuestion()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    int backups = 0;
    desk.hub.exitBackup = [&backups] { ++backups; };
    TfrmMain w(desk.hub);
    int restarts = 0;
    w.restartProgram = [&restarts] { ++restarts; return true; };
    w.show();

    tdb.sink.answers.clear();
    tdb.sink.answers << false;
    QVERIFY(!w.reconfigure());
    QVERIFY(w.isVisible());
    QVERIFY(!TIniIo(desk.iniPath()).ReadBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN")));
    QCOMPARE(restarts, 0);

    tdb.sink.clear();
    tdb.sink.answers.clear();
    tdb.sink.answers << true;
    QVERIFY(w.reconfigure());
    QCOMPARE(tdb.sink.entries.size(), 1);
    QVERIFY(tdb.sink.entries.first().text.startsWith(QStringLiteral("您确定要重新配制数据库么？")));
    QCOMPARE(tdb.sink.entries.first().kind, QStringLiteral("yes"));
    QVERIFY(TIniIo(desk.iniPath()).ReadBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN")));
    QCOMPARE(restarts, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(backups, 0);
}

void TestMainWindow::missingHelpFileIsReported()
{
    QANDOR_TESTDB(tdb);
    Desk desk(tdb);
    TfrmMain w(desk.hub);
    QVERIFY(!w.openHelp());
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("warn"));
    QVERIFY(tdb.sink.lastText().contains(QStringLiteral("help.htm")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
