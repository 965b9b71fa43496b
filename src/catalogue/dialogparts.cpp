#include "catalogue/dialogparts.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor::DialogParts {

QPushButton *layOutFormDialog(QDialog *dialog, QFormLayout *form, const QString &saveCaption,
                              const QString &cancelCaption)
{
    auto *saveBtn = new QPushButton(saveCaption, dialog);
    saveBtn->setObjectName(QStringLiteral("RzBitBtn1"));
    auto *cancelBtn = new QPushButton(cancelCaption, dialog);
    cancelBtn->setObjectName(QStringLiteral("RzBitBtn2"));
    QObject::connect(cancelBtn, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveBtn);
    buttons->addWidget(cancelBtn);
    auto *lay = new QVBoxLayout(dialog);
    lay->addLayout(form);
    lay->addLayout(buttons);
    return saveBtn;
}

QTreeWidget *layOutClassTree(QDialog *dialog, QBoxLayout *buttons)
{
    auto *box = new QGroupBox(QStringLiteral("书籍类别表"), dialog);
    auto *tree = new QTreeWidget(box);
    tree->setObjectName(QStringLiteral("Tree"));
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *boxLay = new QVBoxLayout(box);
    boxLay->addWidget(tree);
    auto *lay = new QVBoxLayout(dialog);
    lay->addLayout(buttons);
    lay->addWidget(box);
    return tree;
}

} // namespace qandor::DialogParts
