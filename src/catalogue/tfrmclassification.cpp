#include "catalogue/tfrmclassification.h"
#include "catalogue/dialogparts.h"
#include "catalogue/classtreelogic.h"
#include "catalogue/tfrmeditclassification.h"
#include "widgets/treetablewidget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor {

Tfrmclassification::Tfrmclassification(TBast &bast, const QString &treeFile, const QString &caller, QWidget *parent)
    : QDialog(parent), m_bast(bast), m_table(bast, TreeTableSpec::bookClasses()), m_treeFile(treeFile), m_caller(caller)
{
    setObjectName(QStringLiteral("frmclassification"));
    setWindowTitle(QStringLiteral("书籍类别设置"));
    auto *buttons = new QHBoxLayout;
    auto button = [&](const char *name, const QString &caption, auto slot) {
        return DialogParts::rowButton(buttons, this, name, caption, slot, true);
    };
    button("SpeedButton1", QStringLiteral("添加同级类别(&A)"), &Tfrmclassification::addSibling);
    button("SpeedButton2", QStringLiteral("添加下级类别(&N)"), &Tfrmclassification::addChild);
    button("SpeedButton3", QStringLiteral("修改选中类别(&E)"), &Tfrmclassification::editSelected);
    button("SpeedButton4", QStringLiteral("删除选中类别(&D)"), &Tfrmclassification::deleteSelected);
    button("SpeedButton5", QStringLiteral("退出当前操作(&Q)"), &QDialog::reject);
    buttons->addStretch();

    m_tree = DialogParts::layOutClassTree(this, buttons);
    resize(640, 520);

    TreeTableWidget::LoadTree(m_tree, m_table);
}

bool Tfrmclassification::addClass(bool asSibling, const QString &code, const QString &name)
{
    return TreeTableWidget::AddTreeNode(m_tree, m_table, asSibling, name, code);
}

bool Tfrmclassification::updateSelected(const QString &code, const QString &name)
{
    return TreeTableWidget::UpdateTreeNode(m_tree, m_table, name, code);
}

void Tfrmclassification::addSibling()
{
    TfrmEditClassification dlg(QStringLiteral("添加同级类别"), QString(), QString(),
                               [this](const QString &c, const QString &n) { return addClass(true, c, n); }, this);
    dlg.exec();
}

void Tfrmclassification::addChild()
{
    TfrmEditClassification dlg(QStringLiteral("添加下级类别"), QString(), QString(),
                               [this](const QString &c, const QString &n) { return addClass(false, c, n); }, this);
    dlg.exec();
}

void Tfrmclassification::editSelected()
{
    TNodeInfo info;
    if (!TreeTableWidget::GetSelectedTreeData(m_tree, m_bast, info))
        return;
    TfrmEditClassification dlg(QStringLiteral("修改当前选中的书籍类别"), info.Code, info.Name,
                               [this](const QString &c, const QString &n) { return updateSelected(c, n); }, this);
    dlg.exec();
}

bool Tfrmclassification::deleteSelected()
{
    return TreeTableWidget::DeleteTreeNode(m_tree, m_table);
}

void Tfrmclassification::done(int result)
{
    if (!m_saved) {
        m_saved = true;
        ClassTreeLogic::saveCache(m_tree, m_bast, m_treeFile);
    }
    QDialog::done(result);
}

} // namespace qandor
