#include "app/tfrmlogin.h"
#include "app/hub.h"
#include "data/schema.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmLogin::TfrmLogin(Hub &hub, QWidget *parent) : QDialog(parent), m_hub(hub), m_logic(hub)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Qandor图书管理系统"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
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
    if (!m_hub.db())
        return;
    const LoginLogic::Startup s = m_logic.runStartup(QDate::currentDate(), m_progress);
    m_hint->setVisible(s.defaultPassword);
    m_userNameList->clear();
    m_userNameList->addItems(s.userNames);
    if (s.defaultPassword) {
        m_userNameList->setCurrentText(Schema::BuiltInUser);
        m_pasEdit->setText(Schema::DefaultPassword);
    } else {
        m_userNameList->setCurrentText(QString());
    }
    m_userNameList->setFocus();
    if (m_userNameList->lineEdit())
        m_userNameList->lineEdit()->selectAll();
}

bool TfrmLogin::tryLogin()
{
    switch (m_logic.login(m_userNameList->currentText(), m_pasEdit->text())) {
    case LoginLogic::Outcome::LoggedIn:
        return true;
    case LoginLogic::Outcome::NoUserName:
        m_userNameList->setFocus();
        break;
    case LoginLogic::Outcome::NoPassword:
        m_pasEdit->setFocus();
        break;
    case LoginLogic::Outcome::UnknownUser:
        m_userNameList->setFocus();
        if (m_userNameList->lineEdit())
            m_userNameList->lineEdit()->selectAll();
        break;
    case LoginLogic::Outcome::WrongPassword:
        m_pasEdit->setFocus();
        m_pasEdit->selectAll();
        break;
    }
    return false;
}

void TfrmLogin::reject()
{
    m_logic.confirmExit();
    QDialog::reject();
}

} // namespace qandor
