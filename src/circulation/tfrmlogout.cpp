#include "circulation/tfrmlogout.h"
#include "circulation/deskwidgets.h"
#include "circulation/tfrmlostorunlost.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

using namespace DeskUi;

TfrmLogOut::TfrmLogOut(TBast &bast, const QString &operatorName, QWidget *parent)
    : QDialog(parent), m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmLogOut"));
    setWindowTitle(QStringLiteral("读者借书证注销操作"));
    resize(640, 420);

    auto *inBox = new QGroupBox(QStringLiteral("输入读者编号调出读者信息"), this);
    auto *inLay = new QHBoxLayout(inBox);
    m_inNum = input("Input_ReaderNum", this, [this] { findReader(CardLookup::Number); });
    m_inName = input("Input_ReaderName", this, [this] { findReader(CardLookup::Name); });
    for (const auto &[caption, box] : {std::pair<QString, QLineEdit *>{QStringLiteral("读者编号【F2】"), m_inNum},
                                       std::pair<QString, QLineEdit *>{QStringLiteral("读者姓名【F3】"), m_inName}}) {
        auto *l = new QLabel(caption, inBox);
        l->setBuddy(box);
        inLay->addWidget(l);
        inLay->addWidget(box, 1);
        box->installEventFilter(this);
    }

    auto *readerBox = new QGroupBox(QStringLiteral("读者信息"), this);
    auto *rg = new QGridLayout(readerBox);
    m_num = field("R_Num", readerBox);
    m_name = field("R_Name", readerBox);
    m_sex = field("R_Sex", readerBox);
    m_type = field("R_Type", readerBox);
    m_state = field("R_State", readerBox);
    m_refund = field("BackForegift", readerBox);
    m_refund->setAlignment(Qt::AlignRight);
    m_date = new QLineEdit(readerBox);
    m_date->setObjectName(QStringLiteral("Control_date"));
    m_date->setInputMask(QStringLiteral("9999-99-99;_"));
    m_memo = new QLineEdit(readerBox);
    m_memo->setObjectName(QStringLiteral("LogOutMemo"));
    addField(rg, 0, 0, QStringLiteral("读者编号："), m_num);
    addField(rg, 0, 1, QStringLiteral("读者姓名："), m_name);
    addField(rg, 1, 0, QStringLiteral("读者性别："), m_sex);
    addField(rg, 1, 1, QStringLiteral("读者类型："), m_type);
    addField(rg, 2, 0, QStringLiteral("当前状态："), m_state);
    addField(rg, 2, 1, QStringLiteral("操作日期："), m_date);
    addField(rg, 3, 0, QStringLiteral("退还押金："), m_refund);
    addField(rg, 4, 0, QStringLiteral("备注："), m_memo);
    rg->addWidget(m_memo, 4, 1, 1, 3);
    connect(m_date, &QLineEdit::editingFinished, this, [this] {
        m_date->setText(operationDateFrom(m_date->text(), m_desk.today()).toString(QStringLiteral("yyyy-MM-dd")));
    });

    auto *photo = photoPanel(m_pic, this);
    auto *left = new QVBoxLayout;
    left->addWidget(inBox);
    left->addWidget(readerBox);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(photo, 0, Qt::AlignTop);

    auto *ok = button("RzBitBtn1", QStringLiteral("确定(&S)"), this);
    auto *quit = button("RzBitBtn2", QStringLiteral("取消(&Q)"), this);
    connect(ok, &QPushButton::clicked, this, &TfrmLogOut::apply);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(quit);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addStretch();
    lay->addLayout(bottom);
    setTabOrder(m_inNum, m_inName);
    setTabOrder(m_inName, m_memo);
    resetScreen();
}

void TfrmLogOut::resetScreen()
{
    m_desk.reset();
    m_inNum->clear();
    m_inName->clear();
    m_memo->clear();
    m_date->setText(m_desk.today().toString(QStringLiteral("yyyy-MM-dd")));
    refresh();
    m_inNum->setFocus();
}

void TfrmLogOut::refresh()
{
    const auto &r = m_desk.reader();
    m_num->setText(r ? r->number : QString());
    m_name->setText(r ? r->name : QString());
    m_sex->setText(r ? r->sex : QString());
    m_type->setText(r ? r->type : QString());
    m_state->setText(r ? r->status : QString());
    m_refund->setText(m_desk.refund().format());
    showPhoto(m_pic, r ? r->photo : QByteArray());
}

void TfrmLogOut::follow(const DeskOutcome &o)
{
    refresh();
    focusBox(o.focus == DeskFocus::ReaderName ? m_inName : o.focus == DeskFocus::ReaderNum ? m_inNum : nullptr, o.selectInput);
}

void TfrmLogOut::findReader(CardLookup kind)
{
    if (m_busy)
        return;
    m_busy = true;
    QLineEdit *box = kind == CardLookup::Number ? m_inNum : m_inName;
    const DeskOutcome o = m_desk.findReader(box->text(), kind);
    if (!m_desk.reader() && o.selectInput) { // refused: the screen was reset
        m_inNum->clear();
        m_inName->clear();
        m_memo->clear();
    }
    m_busy = false;
    follow(o);
}

void TfrmLogOut::apply()
{
    m_desk.setOperationDate(operationDateFrom(m_date->text(), m_desk.today()));
    m_desk.setNote(m_memo->text().trimmed());
    const DeskOutcome o = m_desk.apply();
    if (o.ok)
        resetScreen();
    else
        follow(o);
}

void TfrmLogOut::showEvent(QShowEvent *event)
{
    // Every showing starts from an empty screen dated today.
    if (!event->spontaneous())
        resetScreen();
    QDialog::showEvent(event);
}

void TfrmLogOut::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F2: focusBox(m_inNum, true); break;
    case Qt::Key_F3: focusBox(m_inName, true); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

bool TfrmLogOut::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_busy && !m_desk.reader()) {
        if (watched == m_inNum && !m_inNum->text().trimmed().isEmpty())
            findReader(CardLookup::Number);
        else if (watched == m_inName && !m_inName->text().trimmed().isEmpty())
            findReader(CardLookup::Name);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qandor
