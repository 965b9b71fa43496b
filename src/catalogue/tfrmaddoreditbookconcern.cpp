#include "catalogue/tfrmaddoreditbookconcern.h"
#include "catalogue/dialogparts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

TfrmAddOrEditBookConcern::TfrmAddOrEditBookConcern(TBast &bast, const Publisher &p, QWidget *parent)
    : QDialog(parent), m_list(bast), m_row(p)
{
    setObjectName(QStringLiteral("frmAddOrEditBookConcern"));
    setWindowTitle(p.id == 0 ? QStringLiteral("添加出版社信息") : QStringLiteral("修改当前选中的出版社信息"));
    auto edit = [this](const char *name, const QString &text) {
        auto *e = new QLineEdit(text, this);
        e->setObjectName(QString::fromUtf8(name));
        return e;
    };
    m_isbn = edit("ConcernISBN", p.isbn);
    m_name = edit("ConcernName", p.name);
    m_name->setStyleSheet(QStringLiteral("QLineEdit { color: blue; }"));
    m_city = edit("ConcernCity", p.city);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("出版社ISBN号"), m_isbn);
    form->addRow(QStringLiteral("出版社名称"), m_name);
    form->addRow(QStringLiteral("出版社所在地"), m_city);
    auto *saveBtn = DialogParts::layOutFormDialog(this, form, QStringLiteral("保存数据(&S)"), QStringLiteral("取消返回(&C)"));
    connect(saveBtn, &QPushButton::clicked, this, &TfrmAddOrEditBookConcern::save);
    resize(380, 160);
}

bool TfrmAddOrEditBookConcern::save()
{
    Publisher p = m_row;
    p.isbn = m_isbn->text();
    p.name = m_name->text();
    p.city = m_city->text();
    const auto saved = m_list.save(p);
    if (!saved) {
        if (p.name.trimmed().isEmpty())
            m_name->setFocus();
        return false;
    }
    m_saved = *saved;
    accept();
    return true;
}

} // namespace qandor
