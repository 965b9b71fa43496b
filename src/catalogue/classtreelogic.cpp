#include "catalogue/classtreelogic.h"
#include "catalogue/catalogueservices.h"
#include "widgets/treetablewidget.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

namespace qandor::ClassTreeLogic {

bool loadForChoosing(QTreeWidget *tree, TBast &bast, const QString &treeFile)
{
    if (QFileInfo::exists(treeFile))
        return LoadClassTree(tree, treeFile);
    tree->clear();
    TreeTable table(bast, TreeTableSpec::bookClasses());
    if (!TreeTableWidget::LoadTree(tree, table))
        return false;
    saveCache(tree, bast, treeFile);
    return true;
}

bool saveCache(const QTreeWidget *tree, TBast &bast, const QString &treeFile)
{
    QDir().mkpath(QFileInfo(treeFile).absolutePath());
    if (SaveClassTree(tree, treeFile))
        return true;
    bast.ShowMsg(QStringLiteral("类别缓存文件保存失败，请检查文件") + QDir::toNativeSeparators(treeFile)
                     + QStringLiteral("是否可写！"),
                 QStringLiteral("error"));
    return false;
}

bool choose(const QTreeWidget *tree, TBast &bast, QString &code, QString &name)
{
    if (tree->topLevelItemCount() == 0) {
        bast.ShowMsg(QStringLiteral("当前书籍类别信息为空，没有可选对象！"), QStringLiteral("warn"));
        return false;
    }
    if (!TreeTableWidget::selectedItem(tree)) {
        bast.ShowMsg(QStringLiteral("请选中所要添加的书籍类别！"), QStringLiteral("warn"));
        return false;
    }
    GetTreeCodeAndName(tree, code, name);
    return true;
}

} // namespace qandor::ClassTreeLogic
