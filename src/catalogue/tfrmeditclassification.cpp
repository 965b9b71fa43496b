#include "catalogue/tfrmeditclassification.h"
#include "catalogue/dialogparts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmEditClassification::TfrmEditClassification(const QString &mode, const QString &code, const QString &name, Operation op,
                                               QWidget *parent)
    : QDialog(parent), m_op(std::move(op))
{
    setObjectName(QStringLiteral("frmEditClassification"));
    setWindowTitle(mode);
    m_code = new QLineEdit(code, this);
    m_code->setObjectName(QStringLiteral("Edit1"));
    m_name = new QLineEdit(name, this);
    m_name->setObjectName(QStringLiteral("Edit2"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("类型号:"), m_code);
    form->addRow(QStringLiteral("类型名:"), m_name);
    auto *saveBtn = DialogParts::layOutFormDialog(this, form, QStringLiteral("保存(&S)"), QStringLiteral("取消(&Q)"));
    saveBtn->setDefault(true);
    connect(saveBtn, &QPushButton::clicked, this, &TfrmEditClassification::save);
    resize(320, 130);
    m_code->setFocus();
    m_code->selectAll();
}

bool TfrmEditClassification::save()
{
    if (!m_op(m_code->text().trimmed(), m_name->text().trimmed()))
        return false;
    accept();
    return true;
}

} // namespace qandor
