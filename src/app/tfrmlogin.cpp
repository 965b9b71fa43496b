#include "app/tfrmlogin.h"
#include "app/hub.h"
#include "data/passwordhash.h"
#include "data/schema.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmLogin::TfrmLogin(Hub &hub, QWidget *parent) : QDialog(parent), m_hub(hub)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Qandor图书管理系统"));
    setFixedSize(380, 230);

    auto *banner = new QGroupBox(this);
    banner->setObjectName(QStringLiteral("RzGroupBox1"));
    auto *bannerLabel = new QLabel(QStringLiteral("  Qandor图书馆管理系统"), banner);
    bannerLabel->setObjectName(QStringLiteral("Image1"));
    bannerLabel->setStyleSheet(QStringLiteral(
        "QLabel { color: white; font-size: 20px; font-weight: bold; padding: 14px;"
        " background: qlineargradient(x1:0,y1:0,x2:1,y2:1, stop:0 #1f5f8b, stop:1 #3c9d9b); }"));
    auto *bannerLayout = new QVBoxLayout(banner);
    bannerLayout->setContentsMargins(0, 0, 0, 0);
    bannerLayout->addWidget(bannerLabel);

    auto *label1 = new QLabel(QStringLiteral("用户名"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = new QLabel(QStringLiteral("密  码"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_userNameList = new QComboBox(this);
    m_userNameList->setObjectName(QStringLiteral("UserNameList"));
    m_userNameList->setEditable(true);
    m_pasEdit = new QLineEdit(this);
    m_pasEdit->setObjectName(QStringLiteral("PasEdit"));
    m_pasEdit->setEchoMode(QLineEdit::Password);
    m_hint = new QLabel(QStringLiteral("缺省用户：超级用户\n缺省密码：52617"), this);
    m_hint->setObjectName(QStringLiteral("IniLoginInfor"));
    m_hint->setStyleSheet(QStringLiteral("color: #a33;"));

    m_buttons = new QDialogButtonBox(this);
    m_buttons->setObjectName(QStringLiteral("RzDialogButtons1"));
    m_buttons->addButton(QStringLiteral("登录"), QDialogButtonBox::AcceptRole);
    m_buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (tryLogin())
            emit loggedIn();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_userNameList, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_pasEdit, 1, 1);
    grid->addWidget(m_hint, 0, 2, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(banner);
    layout->addLayout(grid);
    layout->addWidget(m_buttons);
}

void TfrmLogin::prepare()
{
    Database *db = m_hub.db();
    if (!db)
        return;
    QSqlQuery q = db->exec(QStringLiteral("select 密码 from 用户管理 where 用户名=?"), {Schema::BuiltInUser});
    const bool defaultPassword = q.next() && PasswordHash::verify(Schema::DefaultPassword, q.value(0).toString());
    m_hint->setVisible(defaultPassword);
    QStringList names;
    m_hub.Bast1.FillDistinctList(names, QStringLiteral("用户管理"), QStringLiteral("用户名"));
    m_userNameList->clear();
    m_userNameList->addItems(names);
    if (defaultPassword) {
        m_userNameList->setCurrentText(Schema::BuiltInUser);
        m_pasEdit->setText(Schema::DefaultPassword);
    }
    m_userNameList->setFocus();
    if (m_userNameList->lineEdit())
        m_userNameList->lineEdit()->selectAll();
}

bool TfrmLogin::tryLogin()
{
    const QString user = m_userNameList->currentText();
    const QString pass = m_pasEdit->text();
    if (user.trimmed().isEmpty()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("请输入或者从列表中选择用户名！"), QStringLiteral("warn"));
        m_userNameList->setFocus();
        return false;
    }
    if (pass.trimmed().isEmpty()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("请输入密码！"), QStringLiteral("warn"));
        m_pasEdit->setFocus();
        return false;
    }
    QSqlQuery q = m_hub.db()->exec(QStringLiteral("select 用户名,密码 from 用户管理 where 用户名=?"), {user});
    if (!q.next()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("当前输入的用户名不存在，请检查输入是否正确！"), QStringLiteral("error"));
        m_userNameList->setFocus();
        return false;
    }
    if (!PasswordHash::verify(pass, q.value(1).toString())) {
        m_hub.Bast1.ShowMsg(QStringLiteral("当前输入的密码有误，请检查输入是否正确！"), QStringLiteral("error"));
        m_pasEdit->setFocus();
        m_pasEdit->selectAll();
        return false;
    }
    m_hub.g.CurrentUser = q.value(0).toString();
    m_hub.g.CurrentPassword = pass;
    return true;
}

} // namespace qandor
