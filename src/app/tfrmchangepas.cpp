#include "app/tfrmchangepas.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmChangePas::TfrmChangePas(Hub &hub, QWidget *parent) : QDialog(parent), m_logic(hub)
{
    setObjectName(QStringLiteral("frmChangePas"));
    setWindowTitle(QStringLiteral("修改当前登录用户的密码"));
    auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf8(name));
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_old = field("inipas");
    m_new = field("newpas");
    m_repeat = field("repas");
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("原有密码"), m_old);
    form->addRow(QStringLiteral("新的密码"), m_new);
    form->addRow(QStringLiteral("确认密码"), m_repeat);

    auto *ok = new QPushButton(QStringLiteral("确定修改(&S)"), this);
    ok->setObjectName(QStringLiteral("RzBitBtn1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消退出(&Q)"), this);
    cancel->setObjectName(QStringLiteral("RzBitBtn2"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TfrmChangePas::confirmChange);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedWidth(340);
}

bool TfrmChangePas::confirmChange()
{
    const auto outcome = m_logic.change(m_old->text(), m_new->text(), m_repeat->text());
    switch (outcome) {
    case ChangePasLogic::Outcome::OldEmpty:
        m_old->setFocus();
        break;
    case ChangePasLogic::Outcome::OldWrong:
        m_old->setFocus();
        m_old->selectAll();
        break;
    case ChangePasLogic::Outcome::NewEmpty:
        m_new->setFocus();
        break;
    case ChangePasLogic::Outcome::ConfirmEmpty:
        m_repeat->setFocus();
        break;
    case ChangePasLogic::Outcome::Mismatch:
        m_repeat->setFocus();
        m_repeat->selectAll();
        break;
    case ChangePasLogic::Outcome::Changed:
        accept();
        break;
    case ChangePasLogic::Outcome::Failed:
        reject();
        break;
    }
    return ChangePasLogic::closesScreen(outcome);
}

} // namespace qandor
