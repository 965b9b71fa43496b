#include "circulation/tfrmactivefixedrent.h"
#include "circulation/deskwidgets.h"
#include "circulation/tfrmunbackbookslist.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace qandor {

using namespace DeskUi;

namespace {
QDateEdit *dateBox(const char *name, QWidget *parent)
{
    auto *d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}
} // namespace

TfrmActiveFixedRent::TfrmActiveFixedRent(TBast &bast, const QString &operatorName, QWidget *parent)
    : QDialog(parent), m_desk(bast, operatorName), m_bast(bast), m_panel(this, QStringLiteral("包租模式读者信息"))
{
    setObjectName(QStringLiteral("frmActiveFixedRent"));
    setWindowTitle(QStringLiteral("包租充值"));
    resize(760, 520);

    m_inReader = input("Input_ReaderNum", this, [this] { loadReader(); });
    m_history = button("SeeHistory", QStringLiteral("查看当前读者未还的图书信息(&F)"), this);
    auto *inBox = inputBox(QStringLiteral("输入读者编号调出读者信息"), {{QStringLiteral("读者编号【F2】"), m_inReader}}, this);
    inBox->layout()->addWidget(m_history);
    connect(m_history, &QPushButton::clicked, this, &TfrmActiveFixedRent::seeHistory);

    // The prepaid terms take the place of the loan terms; status before type.
    m_panel.addField("R_Num", QStringLiteral("读者编号："));
    m_panel.addField("R_Name", QStringLiteral("读者姓名："));
    m_panel.addField("R_Sex", QStringLiteral("读者性别："));
    m_state = m_panel.addField("R_State", QStringLiteral("当前状态："));
    m_panel.addField("R_Type", QStringLiteral("当前类型："));
    m_fixedNum = m_panel.addField("FixedNum", QStringLiteral("包租数量："));
    m_fixRent = m_panel.addField("FixRent", QStringLiteral("包租金额："), true);
    m_fixedTime = m_panel.addField("FixedTime", QStringLiteral("包租期限："));

    m_payBox = new QGroupBox(QStringLiteral("包租模式充值信息"), this);
    auto *pg = new QGridLayout(m_payBox);
    m_active = dateBox("ActiveDate", m_payBox);
    m_lose = dateBox("LoseDate", m_payBox);
    m_pay = new QLineEdit(m_payBox);
    m_pay->setObjectName(QStringLiteral("CusPay"));
    m_pay->setAlignment(Qt::AlignRight);
    // Yuan with at most two decimals, so the amount is always exact.
    m_pay->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^\\d{0,9}(\\.\\d{0,2})?$")), m_pay));
    m_memo = new QLineEdit(m_payBox);
    m_memo->setObjectName(QStringLiteral("Memo"));
    addField(pg, 0, 0, QStringLiteral("生效日期"), m_active);
    addField(pg, 0, 1, QStringLiteral("失效日期"), m_lose);
    addField(pg, 1, 0, QStringLiteral("实收金额"), m_pay);
    addField(pg, 2, 0, QStringLiteral("备注信息"), m_memo);
    pg->addWidget(m_memo, 2, 1, 1, 3);
    pg->setColumnStretch(1, 1);
    pg->setColumnStretch(3, 1);
    m_active->setMinimumWidth(130);
    m_lose->setMinimumWidth(130);
    connect(m_active, &QDateEdit::editingFinished, this, &TfrmActiveFixedRent::activeDateLeft);
    connect(m_lose, &QDateEdit::dateChanged, this, [this](const QDate &d) {
        if (!m_filling)
            m_desk.setLoseDate(d);
    });

    auto *left = new QVBoxLayout;
    left->addWidget(inBox);
    left->addWidget(m_panel.box());
    QHBoxLayout *top = m_panel.besidePhoto(left);

    auto *clear = button("RzBitBtn2", QStringLiteral("清空当前所数据(&C)"), this);
    auto *save = button("RzBitBtn3", QStringLiteral("确定充值操作(&S)"), this);
    auto *quit = button("RzBitBtn4", QStringLiteral("退出当前操作(&Q)"), this);
    save->setStyleSheet(QStringLiteral("font-weight:bold;"));
    connect(clear, &QPushButton::clicked, this, &TfrmActiveFixedRent::clearAll);
    connect(save, &QPushButton::clicked, this, &TfrmActiveFixedRent::topUp);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = commandRow(operatorAndClock(operatorName, true, this), {clear, save, quit});

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(m_payBox);
    lay->addStretch();
    lay->addLayout(bottom);

    setTabOrder(m_inReader, m_active);
    setTabOrder(m_active, m_lose);
    setTabOrder(m_lose, m_pay);
    setTabOrder(m_pay, m_memo);
    setTabOrder(m_memo, save);
    refresh();
    m_inReader->setFocus();
}

void TfrmActiveFixedRent::refresh()
{
    const auto &r = m_desk.reader();
    m_filling = true;
    m_panel.show(r);
    m_state->setText(r ? r->status : QString());
    m_fixedNum->setText(count(r ? r->quota : 0, QStringLiteral("本")));
    m_fixRent->setText((r ? r->price : Money()).format());
    m_fixedTime->setText(count(r ? r->months : 0, QStringLiteral("月")));
    // The entry fields work only while a reader is shown.
    m_history->setEnabled(r.has_value());
    m_payBox->setEnabled(r.has_value());
    m_active->setDate(r ? m_desk.activeDate() : QDate::currentDate());
    m_lose->setDate(r ? m_desk.loseDate() : QDate::currentDate());
    m_pay->setText(r ? m_desk.amount().toString() : QStringLiteral("0"));
    m_memo->setText(r ? m_desk.memo() : QString());
    m_filling = false;
}

void TfrmActiveFixedRent::follow(const DeskOutcome &o)
{
    refresh();
    switch (o.focus) {
    case DeskFocus::ReaderNum: focusBox(m_inReader, o.selectInput); break;
    case DeskFocus::Amount:
        m_pay->setFocus();
        m_pay->selectAll();
        break;
    default: break;
    }
}

void TfrmActiveFixedRent::loadReader()
{
    const QString text = m_inReader->text();
    const DeskOutcome o = m_desk.loadPrepaidReader(text);
    if (text.trimmed().isEmpty() && m_desk.reader())
        m_inReader->setText(m_desk.reader()->number);
    else if (o.ok || !o.selectInput)
        m_inReader->clear();
    follow(o);
}

void TfrmActiveFixedRent::activeDateLeft()
{
    if (m_filling || !m_desk.reader())
        return;
    m_desk.setActiveDate(m_active->date());
    m_filling = true;
    m_lose->setDate(m_desk.loseDate());
    m_filling = false;
}

void TfrmActiveFixedRent::clearAll()
{
    m_desk.reset();
    m_inReader->clear();
    follow(DeskOutcome::quiet(DeskFocus::ReaderNum));
}

void TfrmActiveFixedRent::topUp()
{
    m_inReader->setFocus();
    if (m_desk.reader()) {
        m_desk.setLoseDate(m_lose->date());
        m_desk.setAmount(Money::parse(m_pay->text().trimmed()).value_or(Money()));
        m_desk.setMemo(m_memo->text());
    }
    const TopUpOutcome o = m_desk.topUp();
    follow(o);
    if (o.ok && !o.continueTopUp)
        accept();
}

void TfrmActiveFixedRent::seeHistory()
{
    if (m_desk.reader())
        TfrmUnbackBooksList::showFor(m_bast, m_desk.reader()->number, this);
}

void TfrmActiveFixedRent::keyPressEvent(QKeyEvent *event)
{
    if (!deskKey(event, {m_inReader}))
        QDialog::keyPressEvent(event);
}

} // namespace qandor
