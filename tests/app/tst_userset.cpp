#include "app/hub.h"
#include "app/operatorrights.h"
#include "app/tfrmuserset.h"
#include "app/usersetlogic.h"
#include "data/passwordhash.h"
#include "data/rights.h"
#include "support/recordingsink.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

const QString SaveFailed = QStringLiteral("数据保存失败！可能由于数据库文件是否被第三方软件独占打开或者数据库文件已经损坏！");

QString storedPassword(TestDb &tdb, const QString &user)
{
    return tdb.db().scalar(QStringLiteral("select 密码 from 用户管理 where 用户名=?"), {user}).toString();
}

int operatorCount(TestDb &tdb)
{
    return tdb.db().scalar(QStringLiteral("select count(*) from 用户管理")).toInt();
}

} // namespace

class TestUserSet : public QObject {
    Q_OBJECT
private slots:
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void newOperatorGetsAllRightsAndHashedPassword();
    void editKeepsPasswordAndRenameOntoExistingFails();
    void deleteAsksAndRefusesProtectedOperators();
    void emptyListMessages();
};

void TestUserSet::saveChecksInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message"); // empty: saved
    const QString nameEmpty = QStringLiteral("用户名不能为空！");
    const QString pasEmpty = QStringLiteral("密码不能为空！");
    const QString confirmEmpty = QStringLiteral("请输入确认密码！");
    const QString mismatch = QStringLiteral("密码与密码确认值不一致，请检查输入的密码！");
    const QString taken = QStringLiteral("当前输入的用户名已存在，请为用户设置其他用户名！");
    QTest::newRow("blank name first") << "  " << "" << "" << nameEmpty;
    QTest::newRow("blank password") << "张三" << "   " << "x" << pasEmpty;
    QTest::newRow("no confirmation") << "张三" << "abc" << " " << confirmEmpty;
    QTest::newRow("mismatch before duplicate") << "超级用户" << "abc" << "abd" << mismatch;
    QTest::newRow("duplicate") << "超级用户" << "abc" << "abc" << taken;
    QTest::newRow("duplicate with blanks") << " 超级用户 " << "abc" << "abc" << taken;
    QTest::newRow("blanks around both match") << "李四" << " abc" << "abc " << "";
    QTest::newRow("quotes and wildcards") << "O'Brien \"%--" << "p'w" << "p'w" << "";
}

void TestUserSet::saveChecksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QANDOR_TESTDB(tdb);
    tdb.createDelivered();
    Hub hub(&tdb.sink);
    hub.useDatabase(&tdb.db());
    UserSetLogic logic(hub);
    UserRecord r = UserSetLogic::newRecord();
    r.name = name;
    r.password = password;
    const int before = operatorCount(tdb);
    const auto outcome = logic.save(r, confirm, QString());
    if (message.isEmpty()) {
        QCOMPARE(outcome, UserSetLogic::Outcome::Saved);
        QVERIFY(tdb.sink.entries.isEmpty());
        QCOMPARE(operatorCount(tdb), before + 1);
        QVERIFY(PasswordHash::verify(password, storedPassword(tdb, name)));
    } else {
        QVERIFY(outcome != UserSetLogic::Outcome::Saved);
        QCOMPARE(tdb.sink.texts(), QStringList{message});
        QCOMPARE(tdb.sink.lastKind(), QStringLiteral("warn"));
        QCOMPARE(operatorCount(tdb), before);
    }
}

void TestUserSet::newOperatorGetsAllRightsAndHashedPassword()
{
    QANDOR_TESTDB(tdb);
    tdb.createDelivered();
    Hub hub(&tdb.sink);
    hub.useDatabase(&tdb.db());
    TfrmUserSet screen(hub);
    QVERIFY(!screen.editing());
    QCOMPARE(screen.userList()->count(), 1);

    screen.findChild<QPushButton *>(QStringLiteral("AddButton"))->click();
    QVERIFY(screen.addingNew());
    QVERIFY(!screen.findChild<QPushButton *>(QStringLiteral("AddButton"))->isEnabled());
    QVERIFY(screen.findChild<QPushButton *>(QStringLiteral("PostButton"))->isEnabled());
    const QStringList rights = allRightColumns();
    QCOMPARE(rights.size(), 50);
    for (const QString &r : rights) {
        QVERIFY2(screen.rightBox(r) && screen.rightBox(r)->isChecked(), qPrintable(r));
    }
    // One right taken away before saving.
    screen.rightBox(QStringLiteral("数据清理"))->setChecked(false);
    screen.findChild<QLineEdit *>(QStringLiteral("UserName"))->setText(QStringLiteral("王五"));
    screen.findChild<QLineEdit *>(QStringLiteral("UserPas"))->setText(QStringLiteral("Secret1"));
    screen.findChild<QLineEdit *>(QStringLiteral("PasOK"))->setText(QStringLiteral("Secret1"));
    screen.findChild<QPushButton *>(QStringLiteral("PostButton"))->click();
    QVERIFY(tdb.sink.entries.isEmpty());
    QVERIFY(!screen.editing());
    QCOMPARE(screen.userList()->count(), 2);
    QCOMPARE(screen.userList()->currentItem()->text(), QStringLiteral("王五"));

    const OperatorRights stored = OperatorRights::load(tdb.db(), QStringLiteral("王五"));
    QVERIFY(stored.rowFound());
    for (const QString &r : rights)
        QVERIFY2(stored.has(r) == (r != QStringLiteral("数据清理")), qPrintable(r));
    const QString digest = storedPassword(tdb, QStringLiteral("王五"));
    QVERIFY(!digest.contains(QStringLiteral("Secret1")));
    QVERIFY(PasswordHash::isHash(digest));
    QVERIFY(PasswordHash::verify(QStringLiteral("Secret1"), digest));
    QVERIFY(!PasswordHash::verify(QStringLiteral("secret1"), digest));
}

void TestUserSet::editKeepsPasswordAndRenameOntoExistingFails()
{
    QANDOR_TESTDB(tdb);
    tdb.createDelivered();
    Hub hub(&tdb.sink);
    hub.useDatabase(&tdb.db());
    UserSetLogic logic(hub);
    UserRecord r = UserSetLogic::newRecord();
    r.name = QStringLiteral("张三");
    r.password = QStringLiteral("pw1");
    QCOMPARE(logic.save(r, QStringLiteral("pw1"), QString()), UserSetLogic::Outcome::Saved);

    TfrmUserSet screen(hub);
    screen.userList()->setCurrentRow(1);
    screen.editSelected();
    QVERIFY(screen.editing());
    QVERIFY(!screen.addingNew());
    QVERIFY(!screen.findChild<QLineEdit *>(QStringLiteral("UserPas"))->isEnabled());
    QVERIFY(!screen.findChild<QLineEdit *>(QStringLiteral("PasOK"))->isEnabled());
    auto *name = screen.findChild<QLineEdit *>(QStringLiteral("UserName"));
    QCOMPARE(name->text(), QStringLiteral("张三"));

    // Renaming onto another operator passes the checks but the database refuses it.
    name->setText(QStringLiteral("超级用户"));
    QVERIFY(!screen.postData());
    QCOMPARE(tdb.sink.texts(), QStringList{SaveFailed});
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("error"));
    QVERIFY(screen.editing());

    tdb.sink.clear();
    name->setText(QStringLiteral("张三丰"));
    screen.rightBox(QStringLiteral("图书借阅"))->setChecked(false);
    QVERIFY(screen.postData());
    QVERIFY(tdb.sink.entries.isEmpty());
    QVERIFY(!OperatorRights::load(tdb.db(), QStringLiteral("张三丰")).has(QStringLiteral("图书借阅")));
    QVERIFY(PasswordHash::verify(QStringLiteral("pw1"), storedPassword(tdb, QStringLiteral("张三丰"))));
    QCOMPARE(operatorCount(tdb), 2);
    // The built-in operator is untouched.
    QVERIFY(OperatorRights::load(tdb.db(), QStringLiteral("超级用户")).has(QStringLiteral("图书借阅")));
}

void TestUserSet::deleteAsksAndRefusesProtectedOperators()
{
    QANDOR_TESTDB(tdb);
    tdb.createDelivered();
    Hub hub(&tdb.sink);
    hub.useDatabase(&tdb.db());
    hub.g.CurrentUser = QStringLiteral("值班员");
    UserSetLogic logic(hub);
    for (const char *n : {"值班员", "O'Neil"}) {
        UserRecord r = UserSetLogic::newRecord();
        r.name = QString::fromUtf8(n);
        r.password = QStringLiteral("p");
        QCOMPARE(logic.save(r, QStringLiteral("p"), QString()), UserSetLogic::Outcome::Saved);
    }
    const QString ask = QStringLiteral("是否确定要删除当前选中的用户信息？");

    // Refused without a question: nobody could log in to repair the accounts.
    for (const QString &n : {QStringLiteral("超级用户"), QStringLiteral("值班员")}) {
        tdb.sink.clear();
        QVERIFY(!logic.remove(n, false));
        QCOMPARE(tdb.sink.entries.size(), 1);
        QVERIFY(!tdb.sink.entries.first().question);
        QCOMPARE(tdb.sink.lastKind(), QStringLiteral("warn"));
    }
    QCOMPARE(operatorCount(tdb), 3);

    tdb.sink.clear();
    tdb.sink.answers.clear();
    tdb.sink.answers << false << true;
    QVERIFY(!logic.remove(QStringLiteral("O'Neil"), false));
    QCOMPARE(operatorCount(tdb), 3);
    QVERIFY(logic.remove(QStringLiteral("O'Neil"), false));
    QCOMPARE(operatorCount(tdb), 2);
    QCOMPARE(tdb.sink.texts(), QStringList(2, ask));
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("yes"));
}

void TestUserSet::emptyListMessages()
{
    QANDOR_TESTDB(tdb);
    tdb.createDelivered();
    Hub hub(&tdb.sink);
    hub.useDatabase(&tdb.db());
    UserSetLogic logic(hub);
    QVERIFY(!logic.checkNotEmptyForEdit(true));
    QVERIFY(!logic.remove(QString(), true));
    QCOMPARE(tdb.sink.texts(), (QStringList{QStringLiteral("当前数据为空，没有可以修改的对象！"),
                                            QStringLiteral("当前数据为空，没有可以删除的对象！")}));
    QCOMPARE(tdb.sink.lastKind(), QStringLiteral("ok"));
}

QTEST_MAIN(TestUserSet)
#include "tst_userset.moc"
