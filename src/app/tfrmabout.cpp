#include "app/tfrmabout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    auto *title = new QLabel(productName(), this);
    title->setObjectName(QStringLiteral("ProductName"));
    title->setStyleSheet(QStringLiteral("font-size: 18px; font-weight: bold; color: #1f5f8b;"));
    auto *text = new QLabel(QStringLiteral("版本：%1\n发布日期：%2\n\n适用于小型图书馆、阅览室和租书店的\n图书、期刊、读者与借阅管理。")
                                .arg(version(), releaseDate()),
                            this);
    text->setObjectName(QStringLiteral("VersionInfo"));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace qandor
