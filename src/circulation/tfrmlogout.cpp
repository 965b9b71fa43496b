#include "circulation/tfrmlogout.h"

#include <QGridLayout>
#include <QLineEdit>

namespace qandor {

TfrmLogOut::TfrmLogOut(TBast &bast, const QString &operatorName, QWidget *parent)
    : CardScreen(m_desk, parent), m_desk(bast, operatorName)
{
    setObjectName(QStringLiteral("frmLogOut"));
    setWindowTitle(QStringLiteral("读者借书证注销操作"));

    m_refund = m_panel.addField("BackForegift", QStringLiteral("退还押金："), true);
    m_memo = new QLineEdit(m_panel.box());
    m_memo->setObjectName(QStringLiteral("LogOutMemo"));
    // The note takes a row of its own, across both columns.
    DeskUi::addField(m_panel.grid(), 4, 0, QStringLiteral("备注："), m_memo);
    m_panel.grid()->addWidget(m_memo, 4, 1, 1, 3);

    finishLayout();
    setTabOrder(m_inName, m_memo);
    resetScreen();
}

void TfrmLogOut::refreshMore() { m_refund->setText(m_desk.refund().format()); }

void TfrmLogOut::clearMore() { m_memo->clear(); }

void TfrmLogOut::beforeApply() { m_desk.setNote(m_memo->text().trimmed()); }

} // namespace qandor
