#include "catalogue/tfrmeditclassification.h"

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
    auto *saveBtn = new QPushButton(QStringLiteral("保存(&S)"), this);
    saveBtn->setObjectName(QStringLiteral("RzBitBtn1"));
    saveBtn->setDefault(true);
    auto *cancelBtn = new QPushButton(QStringLiteral("取消(&Q)"), this);
    cancelBtn->setObjectName(QStringLiteral("RzBitBtn2"));
    connect(saveBtn, &QPushButton::clicked, this, &TfrmEditClassification::save);
    connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveBtn);
    buttons->addWidget(cancelBtn);
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(buttons);
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
