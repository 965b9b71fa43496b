#include "app/changepaslogic.h"
#include "app/hub.h"
#include "app/tfrmchangepas.h"
#include "data/passwordhash.h"
#include "data/schema.h"
#include "support/recordingsink.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

bool storedIs(TestDb &tdb, const QString &user, const QString &password)
{
    return PasswordHash::verify(password, tdb.db()
                                              .scalar(QStringLiteral("select 密码 from 用户管理 where 用户名=?"), {user})
                                              .toString());
}

} // namespace

class TestChangePas : public QObject {
    Q_OBJECT
private slots:
    void init();
    void checksInOrder_data();
    void checksInOrder();
    void secondChangeAcceptsFirstNewPassword();
    void vanishedOperatorIsNotReportedAsChanged();
    void screenClosesAfterChange();

private:
    std::unique_ptr<TestDb> m_tdb;
    std::unique_ptr<Hub> m_hub;
};

void TestChangePas::init()
{
    m_hub.reset();
    m_tdb = std::make_unique<TestDb>();
    if (!m_tdb->ok()) {
        if (m_tdb->skipped())
            QSKIP(qPrintable(m_tdb->error()));
        QFAIL(qPrintable(m_tdb->error()));
    }
    m_tdb->createDelivered();
    m_hub = std::make_unique<Hub>(&m_tdb->sink);
    m_hub->useDatabase(&m_tdb->db());
    m_hub->g.CurrentUser = Schema::BuiltInUser;
    m_hub->g.CurrentPassword = Schema::DefaultPassword;
}

void TestChangePas::checksInOrder_data()
{
    QTest::addColumn<QString>("oldPas");
    QTest::addColumn<QString>("newPas");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("kind");
    const QString wrong = QStringLiteral("原有密码输入不正确，请检查密码输入是否有误！");
    QTest::newRow("no old, nothing else") << " " << "" << "" << "请输入原有密码！" << "warn";
    QTest::newRow("wrong old") << "52618" << "n" << "n" << wrong << "error";
    QTest::newRow("old with a blank") << "52617 " << "n" << "n" << wrong << "error";
    QTest::newRow("no new") << "52617" << "  " << "x" << "请输入新密码！" << "warn";
    QTest::newRow("no confirmation") << "52617" << "n" << "" << "请输入确认密码！" << "warn";
    QTest::newRow("differs by case") << "52617" << "Abc" << "abc" << "当前输入新密码与确认密码不一致，请检查输入是否有误！" << "warn";
    QTest::newRow("differs by a blank") << "52617" << "abc" << "abc " << "当前输入新密码与确认密码不一致，请检查输入是否有误！" << "warn";
    QTest::newRow("good") << "52617" << "it's \"new\"" << "it's \"new\"" << "密码修改成功！请牢记您的新密码！" << "infor";
}

void TestChangePas::checksInOrder()
{
    QFETCH(QString, oldPas);
    QFETCH(QString, newPas);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, kind);
    ChangePasLogic logic(*m_hub);
    const auto outcome = logic.change(oldPas, newPas, confirm);
    QCOMPARE(m_tdb->sink.texts(), QStringList{message});
    QCOMPARE(m_tdb->sink.lastKind(), kind);
    const bool changed = outcome == ChangePasLogic::Outcome::Changed;
    QCOMPARE(changed, kind == QLatin1String("infor"));
    const QString expected = changed ? newPas : Schema::DefaultPassword;
    QCOMPARE(m_hub->g.CurrentPassword, expected);
    QVERIFY(storedIs(*m_tdb, Schema::BuiltInUser, expected));
}

void TestChangePas::secondChangeAcceptsFirstNewPassword()
{
    ChangePasLogic logic(*m_hub);
    QCOMPARE(logic.change(QStringLiteral("52617"), QStringLiteral("first"), QStringLiteral("first")),
             ChangePasLogic::Outcome::Changed);
    QCOMPARE(logic.change(QStringLiteral("52617"), QStringLiteral("second"), QStringLiteral("second")),
             ChangePasLogic::Outcome::OldWrong);
    QCOMPARE(logic.change(QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("second")),
             ChangePasLogic::Outcome::Changed);
    QVERIFY(storedIs(*m_tdb, Schema::BuiltInUser, QStringLiteral("second")));
    QVERIFY(!storedIs(*m_tdb, Schema::BuiltInUser, QStringLiteral("first")));
}

void TestChangePas::vanishedOperatorIsNotReportedAsChanged()
{
    m_tdb->db().exec(QStringLiteral("update 用户管理 set 用户名=? where 用户名=?"), {QStringLiteral("别人"), Schema::BuiltInUser});
    ChangePasLogic logic(*m_hub);
    QCOMPARE(logic.change(QStringLiteral("52617"), QStringLiteral("n"), QStringLiteral("n")), ChangePasLogic::Outcome::Failed);
    QCOMPARE(m_tdb->sink.texts(), QStringList{QStringLiteral("密码修改失败了！")});
    QCOMPARE(m_tdb->sink.lastKind(), QStringLiteral("error"));
    QCOMPARE(m_hub->g.CurrentPassword, QStringLiteral("52617"));
    QVERIFY(storedIs(*m_tdb, QStringLiteral("别人"), QStringLiteral("52617")));
}

void TestChangePas::screenClosesAfterChange()
{
    TfrmChangePas screen(*m_hub);
    screen.show();
    screen.findChild<QLineEdit *>(QStringLiteral("inipas"))->setText(QStringLiteral("wrong"));
    screen.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.findChild<QLineEdit *>(QStringLiteral("inipas"))->selectedText(), QStringLiteral("wrong"));

    screen.findChild<QLineEdit *>(QStringLiteral("inipas"))->setText(QStringLiteral("52617"));
    screen.findChild<QLineEdit *>(QStringLiteral("newpas"))->setText(QStringLiteral("abc"));
    screen.findChild<QLineEdit *>(QStringLiteral("repas"))->setText(QStringLiteral("abc"));
    screen.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.result(), int(QDialog::Accepted));
    QVERIFY(storedIs(*m_tdb, Schema::BuiltInUser, QStringLiteral("abc")));
}

QTEST_MAIN(TestChangePas)
#include "tst_changepas.moc"
