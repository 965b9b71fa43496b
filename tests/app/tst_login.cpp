#include "app/hub.h"
#include "app/loginlogic.h"
#include "app/tfrmlogin.h"
#include "data/gbk.h"
#include "data/passwordhash.h"
#include "data/schema.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
// A hub on the test database with a set.ini of its own.
struct Desk {
    explicit Desk(TestDb &t, const QString &iniPath) : hub(&t.sink)
    {
        QFile f(iniPath);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(toGbk(QStringLiteral("[DF]\r\nDATAOBJECT=ACCESS\r\n[UPDATE]\r\nISBN=1\r\n")));
        f.close();
        hub.IniIo.setIniFilePath(iniPath);
        hub.useDatabase(&t.db());
    }
    Hub hub;
};

QString storedPassword(Database &db, const QString &user)
{
    return db.scalar(QStringLiteral("select 密码 from 用户管理 where 用户名=?"), {user}).toString();
}
} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void loginChecks_data();
    void loginChecks();
    void hintFollowsDefaultPassword();
    void plainTextPasswordIsUpgraded();
    void startupSequence();
    void startupErrorPropagates();
    void exitAsksAndBacksUp_data();
    void exitAsksAndBacksUp();

private:
    QTemporaryDir m_dir;
};

void TestLogin::loginChecks_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("kind");
    using O = LoginLogic::Outcome;
    const QString noUser = QStringLiteral("请输入或者从列表中选择用户名！");
    const QString unknown = QStringLiteral("当前输入的用户名不存在，请检查输入是否正确！");
    const QString wrong = QStringLiteral("当前输入的密码有误，请检查输入是否正确！");
    QTest::newRow("empty user") << QString() << QStringLiteral("x") << int(O::NoUserName) << noUser << QStringLiteral("warn");
    QTest::newRow("blank user, no password") << QStringLiteral("   ") << QString() << int(O::NoUserName) << noUser << QStringLiteral("warn");
    QTest::newRow("blank password") << QStringLiteral("O'Brien") << QStringLiteral("  ") << int(O::NoPassword) << QStringLiteral("请输入密码！")
                                    << QStringLiteral("warn");
    QTest::newRow("unknown user") << QStringLiteral("nobody") << QStringLiteral("x") << int(O::UnknownUser) << unknown << QStringLiteral("error");
    QTest::newRow("name is not trimmed") << QStringLiteral(" O'Brien") << QStringLiteral("Se cret") << int(O::UnknownUser) << unknown
                                         << QStringLiteral("error");
    QTest::newRow("wrong password") << QStringLiteral("O'Brien") << QStringLiteral("secret") << int(O::WrongPassword) << wrong
                                    << QStringLiteral("error");
    QTest::newRow("letter case differs") << QStringLiteral("O'Brien") << QStringLiteral("se cret") << int(O::WrongPassword) << wrong
                                         << QStringLiteral("error");
    QTest::newRow("trailing blank counts") << QStringLiteral("O'Brien") << QStringLiteral("Se cret ") << int(O::WrongPassword) << wrong
                                           << QStringLiteral("error");
    QTest::newRow("quote in the name logs in") << QStringLiteral("O'Brien") << QStringLiteral("Se cret") << int(O::LoggedIn) << QString()
                                               << QString();
    QTest::newRow("built-in operator") << QStringLiteral("超级用户") << QStringLiteral("52617") << int(O::LoggedIn) << QString() << QString();
}

void TestLogin::loginChecks()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(QString, kind);
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("insert into 用户管理 (用户名,密码) values (?,?)"),
                {QStringLiteral("O'Brien"), PasswordHash::make(QStringLiteral("Se cret"), QByteArray("fixed-salt"), 1000)});
    Desk desk(t, m_dir.filePath(QStringLiteral("checks.ini")));
    LoginLogic logic(desk.hub);
    QCOMPARE(int(logic.login(user, password)), outcome);
    if (message.isEmpty()) {
        QVERIFY(t.sink.entries.isEmpty());
        QCOMPARE(desk.hub.g.CurrentUser, user);
        QCOMPARE(desk.hub.g.CurrentPassword, password);
    } else {
        QCOMPARE(t.sink.texts(), QStringList{message});
        QCOMPARE(t.sink.lastKind(), kind);
        QVERIFY(desk.hub.g.CurrentUser.isEmpty());
    }
}

void TestLogin::hintFollowsDefaultPassword()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Desk desk(t, m_dir.filePath(QStringLiteral("hint.ini")));
    {
        TfrmLogin form(desk.hub);
        form.prepare();
        QVERIFY(!form.IniLoginInfor()->isHidden());
        QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("UserNameList"))->currentText(), QStringLiteral("超级用户"));
        QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("PasEdit"))->text(), QStringLiteral("52617"));
        QVERIFY(form.tryLogin());
    }
    t.db().exec(QStringLiteral("update 用户管理 set 密码=? where 用户名=?"),
                {PasswordHash::make(QStringLiteral("52618")), QStringLiteral("超级用户")});
    TfrmLogin form(desk.hub);
    form.prepare();
    QVERIFY(form.IniLoginInfor()->isHidden());
    QVERIFY(form.PasEdit()->text().isEmpty());
    QVERIFY(form.UserNameList()->currentText().isEmpty());
    QCOMPARE(form.UserNameList()->count(), 1);
    QVERIFY(!form.tryLogin());
    QCOMPARE(t.sink.lastText(), QStringLiteral("请输入或者从列表中选择用户名！"));
}

void TestLogin::plainTextPasswordIsUpgraded()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("insert into 用户管理 (用户名,密码) values (?,?)"), {QStringLiteral("张三"), QStringLiteral("abc")});
    Desk desk(t, m_dir.filePath(QStringLiteral("plain.ini")));
    LoginLogic logic(desk.hub);
    QCOMPARE(logic.login(QStringLiteral("张三"), QStringLiteral("ABC")), LoginLogic::Outcome::WrongPassword);
    QCOMPARE(storedPassword(t.db(), QStringLiteral("张三")), QStringLiteral("abc"));

    QCOMPARE(logic.login(QStringLiteral("张三"), QStringLiteral("abc")), LoginLogic::Outcome::LoggedIn);
    const QString stored = storedPassword(t.db(), QStringLiteral("张三"));
    QVERIFY(PasswordHash::isHash(stored));
    QVERIFY(PasswordHash::verify(QStringLiteral("abc"), stored));
    QCOMPARE(logic.login(QStringLiteral("张三"), QStringLiteral("abc")), LoginLogic::Outcome::LoggedIn);
    QCOMPARE(storedPassword(t.db(), QStringLiteral("张三")), stored);

    // A plain "52617" on the built-in operator still counts as the default.
    t.db().exec(QStringLiteral("update 用户管理 set 密码=? where 用户名=?"), {QStringLiteral("52617"), QStringLiteral("超级用户")});
    QVERIFY(logic.defaultPasswordActive());
}

void TestLogin::startupSequence()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Database &db = t.db();
    const QDate today = QDate::currentDate();
    db.exec(QStringLiteral("update SysParameter set PageSize=?,AutoBookOutTimeWarn=?,AutoMagazineOutTimeWarn=?"), {37, false, true});
    db.exec(QStringLiteral("insert into 读者资料 (编号,状态,有效期限制,截止日期) values (?,?,?,?)"),
            {QStringLiteral("R1"), QStringLiteral("正常"), QStringLiteral("有"), today});
    db.exec(QStringLiteral("insert into 图书资料 (图书编号,状态) values (?,?)"), {QStringLiteral("00012"), QStringLiteral("预定")});
    db.exec(QStringLiteral("insert into 预定记录 (书籍编号,类型,预定日期,状态) values (?,?,?,?)"),
            {QStringLiteral("00012"), QStringLiteral("图书"), today.addDays(-4), QStringLiteral("有效")});
    db.exec(QStringLiteral("insert into 用户管理 (用户名,密码) values (?,?)"), {QStringLiteral("O'Brien"), QStringLiteral("x")});
    db.exec(QStringLiteral("drop table ZTR_FLAG"));
    Desk desk(t, m_dir.filePath(QStringLiteral("startup.ini")));

    LoginLogic logic(desk.hub);
    const LoginLogic::Startup s = logic.runStartup(today);
    QVERIFY(db.hasTable(QStringLiteral("ZTR_FLAG")));
    QCOMPARE(desk.hub.sysParams.PageSize, 37);
    QVERIFY(s.defaultPassword);
    QCOMPARE(s.userNames.size(), 2);
    QVERIFY(s.userNames.contains(QStringLiteral("O'Brien")));
    QCOMPARE(db.scalar(QStringLiteral("select 状态 from 读者资料 where 编号=?"), {QStringLiteral("R1")}).toString(), QStringLiteral("过期"));
    QCOMPARE(db.scalar(QStringLiteral("select 状态 from 图书资料 where 图书编号=?"), {QStringLiteral("00012")}).toString(), QStringLiteral("在馆"));
    QVERIFY(!desk.hub.g.WarnBookOverdue);
    QVERIFY(desk.hub.g.WarnMagazineOverdue);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestLogin::startupErrorPropagates()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    // A damaged database: the operator table is gone.
    t.db().exec(QStringLiteral("drop table 用户管理"));
    Desk desk(t, m_dir.filePath(QStringLiteral("broken.ini")));
    TfrmLogin form(desk.hub);
    QVERIFY_THROWS_EXCEPTION(DbError, form.prepare());
    QVERIFY(!t.db().inTransaction());
}

void TestLogin::exitAsksAndBacksUp_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestLogin::exitAsksAndBacksUp()
{
    QFETCH(bool, answer);
    RecordingSink sink;
    Hub hub(&sink);
    int backups = 0;
    hub.exitBackup = [&backups] {
        ++backups;
        throw DbError(QStringLiteral("test"), QString(), QStringLiteral("备份出错"));
    };
    sink.answers.enqueue(answer);
    TfrmLogin form(hub);
    form.show();
    QAbstractButton *quit = nullptr;
    for (QAbstractButton *b : form.findChild<QDialogButtonBox *>(QStringLiteral("RzDialogButtons1"))->buttons())
        if (b->text() == QStringLiteral("退出"))
            quit = b;
    QVERIFY(quit);
    quit->click();
    QCOMPARE(sink.entries.size(), 1);
    QCOMPARE(sink.lastText(), QStringLiteral("确定要退出系统么?"));
    QCOMPARE(sink.lastKind(), QStringLiteral("ok"));
    QVERIFY(sink.entries.first().question);
    QCOMPARE(backups, answer ? 1 : 0);
    // The program ends whichever the answer.
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
