#include "circulation/tfrmlostorunlost.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace qandor {

TfrmLostOrUnLost::TfrmLostOrUnLost(TBast &bast, const QString &operatorName, QWidget *parent)
    : CardScreen(m_desk, parent), m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmLostOrUnLost"));
    setWindowTitle(QStringLiteral("读者借书证挂失与解除挂失操作"));

    auto *opBox = new QGroupBox(QStringLiteral("当前可操作方式："), this);
    auto *opLay = new QHBoxLayout(opBox);
    m_lost = new QRadioButton(QStringLiteral("借书证挂失操作"), opBox);
    m_lost->setObjectName(QStringLiteral("LostCheck"));
    m_unlost = new QRadioButton(QStringLiteral("借书证解除挂失操作"), opBox);
    m_unlost->setObjectName(QStringLiteral("UnLostCheck"));
    // The card's status decides which one is on; both may be off.
    m_lost->setAutoExclusive(false);
    m_unlost->setAutoExclusive(false);
    opLay->addWidget(m_lost);
    opLay->addWidget(m_unlost);
    opLay->addStretch();
    connect(m_lost, &QRadioButton::clicked, this, [this] { choose(CardLossDesk::Operation::Loss); });
    connect(m_unlost, &QRadioButton::clicked, this, [this] { choose(CardLossDesk::Operation::Recovery); });

    finishLayout(opBox);
    resetScreen();
}

void TfrmLostOrUnLost::refreshMore()
{
    m_lost->setChecked(m_desk.operation() == CardLossDesk::Operation::Loss);
    m_unlost->setChecked(m_desk.operation() == CardLossDesk::Operation::Recovery);
}

void TfrmLostOrUnLost::choose(CardLossDesk::Operation clicked) { follow(m_desk.chooseOperation(clicked)); }

} // namespace qandor
