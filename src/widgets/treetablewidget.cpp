#include "widgets/treetablewidget.h"

#include <QTreeWidgetItemIterator>

namespace qandor::TreeTableWidget {

std::optional<TNodeInfo> nodeInfo(const QTreeWidgetItem *item)
{
    if (!item)
        return std::nullopt;
    const QVariant v = item->data(0, NodeInfoRole);
    if (!v.canConvert<TNodeInfo>() || !v.isValid())
        return std::nullopt;
    return v.value<TNodeInfo>();
}

QTreeWidgetItem *makeItem(const TNodeInfo &info)
{
    auto *item = new QTreeWidgetItem(QStringList{info.text()});
    item->setData(0, NodeInfoRole, QVariant::fromValue(info));
    return item;
}

QTreeWidgetItem *selectedItem(const QTreeWidget *tree)
{
    QTreeWidgetItem *cur = tree->currentItem();
    if (cur && cur->isSelected())
        return cur;
    const QList<QTreeWidgetItem *> sel = tree->selectedItems();
    return sel.isEmpty() ? nullptr : sel.first();
}

void selectItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    if (!item) {
        tree->clearSelection();
        tree->setCurrentItem(nullptr);
        return;
    }
    tree->setCurrentItem(item);
    item->setSelected(true);
    tree->scrollToItem(item);
}

QTreeWidgetItem *findById(QTreeWidget *tree, qint64 id)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const auto info = nodeInfo(*it);
        if (info && info->id() == id)
            return *it;
    }
    return nullptr;
}

void fill(QTreeWidget *tree, const ClassTree &classes)
{
    QList<QTreeWidgetItem *> items(classes.nodes.size(), nullptr);
    for (qsizetype i = 0; i < classes.nodes.size(); ++i)
        items[i] = makeItem(classes.nodes[i].info);
    for (qsizetype i = 0; i < classes.nodes.size(); ++i) {
        const auto &children = classes.nodes[i].children;
        if (children.isEmpty())
            continue;
        QList<QTreeWidgetItem *> kids;
        kids.reserve(children.size());
        for (int c : children)
            kids.append(items[c]);
        items[i]->addChildren(kids);
    }
    QList<QTreeWidgetItem *> tops;
    tops.reserve(classes.roots.size());
    for (int r : classes.roots)
        tops.append(items[r]);

    tree->setUpdatesEnabled(false);
    tree->clear();
    tree->addTopLevelItems(tops);
    tree->setUpdatesEnabled(true);
}

bool LoadTree(QTreeWidget *tree, TreeTable &table)
{
    const std::optional<ClassTree> classes = table.load();
    if (!classes || classes->isEmpty())
        return false;
    fill(tree, *classes);
    return true;
}

bool GetSelectedTreeData(QTreeWidget *tree, TBast &bast, TNodeInfo &out)
{
    if (tree->topLevelItemCount() == 0) {
        bast.ShowMsg(QStringLiteral("当前数据为空,没有可修改的对象!"), QStringLiteral("warn"));
        return false;
    }
    const auto info = nodeInfo(selectedItem(tree));
    if (!info) {
        bast.ShowMsg(QStringLiteral("请选中所要修改的类别!"), QStringLiteral("warn"));
        return false;
    }
    out = *info;
    return true;
}

bool UpdateTreeNode(QTreeWidget *tree, TreeTable &table, const QString &name, const QString &code)
{
    TNodeInfo current;
    if (!table.checkCodeAndName(code, name))
        return false;
    if (!GetSelectedTreeData(tree, table.bast(), current))
        return false;
    const auto updated = table.update(current, name, code);
    if (!updated)
        return false;
    QTreeWidgetItem *item = selectedItem(tree);
    item->setData(0, NodeInfoRole, QVariant::fromValue(*updated));
    item->setText(0, updated->text());
    return true;
}

bool AddTreeNode(QTreeWidget *tree, TreeTable &table, bool asSibling, const QString &name, const QString &code)
{
    if (!table.checkCodeAndName(code, name))
        return false;
    QTreeWidgetItem *sel = selectedItem(tree);
    if (!sel && tree->topLevelItemCount() > 0) {
        sel = tree->topLevelItem(0);
        selectItem(tree, sel);
    }
    const auto selInfo = nodeInfo(sel);
    const auto added = table.add(selInfo ? &*selInfo : nullptr, asSibling, name, code);
    if (!added)
        return false;
    QTreeWidgetItem *item = makeItem(*added);
    if (added->parentId() == 0) {
        tree->addTopLevelItem(item);
    } else if (asSibling && sel && sel->parent()) {
        sel->parent()->addChild(item);
    } else if (!asSibling && sel) {
        sel->addChild(item);
        sel->setExpanded(true);
    } else {
        // The parent is not where the selection says: find it by identity.
        QTreeWidgetItem *parent = findById(tree, added->parentId());
        if (parent)
            parent->addChild(item);
        else
            tree->addTopLevelItem(item);
    }
    selectItem(tree, item);
    return true;
}

bool DeleteTreeNode(QTreeWidget *tree, TreeTable &table)
{
    if (tree->topLevelItemCount() == 0) {
        table.bast().ShowMsg(QStringLiteral("当前数据为空,没有可删除的对象!"), QStringLiteral("warn"));
        return false;
    }
    QTreeWidgetItem *sel = selectedItem(tree);
    const auto info = nodeInfo(sel);
    if (!info) {
        table.bast().ShowMsg(QStringLiteral("请选中所要删除的类别!"), QStringLiteral("warn"));
        return false;
    }
    const QList<qint64> deleted = table.removeSubtree(*info);
    if (deleted.isEmpty())
        return false;

    QTreeWidgetItem *parent = sel->parent();
    const int index = parent ? parent->indexOfChild(sel) : tree->indexOfTopLevelItem(sel);
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    QTreeWidgetItem *next = nullptr;
    if (index + 1 < count)
        next = parent ? parent->child(index + 1) : tree->topLevelItem(index + 1);
    else if (index > 0)
        next = parent ? parent->child(index - 1) : tree->topLevelItem(index - 1);
    else
        next = parent;
    delete sel; // takes its children with it
    selectItem(tree, next);
    return true;
}

bool MoveTreeNode(QTreeWidget *tree, TreeTable &table, QTreeWidgetItem *newParent)
{
    TNodeInfo current;
    if (!GetSelectedTreeData(tree, table.bast(), current))
        return false;
    QTreeWidgetItem *sel = selectedItem(tree);
    const auto parentInfo = nodeInfo(newParent);
    const auto moved = table.move(current, parentInfo ? parentInfo->id() : 0);
    if (!moved)
        return false;
    QTreeWidgetItem *oldParent = sel->parent();
    if (oldParent)
        oldParent->takeChild(oldParent->indexOfChild(sel));
    else
        tree->takeTopLevelItem(tree->indexOfTopLevelItem(sel));
    sel->setData(0, NodeInfoRole, QVariant::fromValue(*moved));
    if (newParent) {
        newParent->addChild(sel);
        newParent->setExpanded(true);
    } else {
        tree->addTopLevelItem(sel);
    }
    selectItem(tree, sel);
    return true;
}

bool LoadValueTree(QTreeWidget *tree, TBast &bast, const QString &table, const QString &column, const QString &rootCaption)
{
    QStringList values;
    try {
        if (!bast.FillStringsBySql(values, QStringLiteral("select distinct ") + column + QStringLiteral(" from ") + table
                                               + QStringLiteral(" order by ") + column))
            return false;
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return false;
    }
    if (values.isEmpty())
        return false;
    QList<QTreeWidgetItem *> items;
    items.reserve(values.size() + 1);
    items.append(new QTreeWidgetItem(QStringList{rootCaption}));
    for (const QString &v : std::as_const(values))
        items.append(new QTreeWidgetItem(QStringList{v}));
    tree->setUpdatesEnabled(false);
    tree->clear();
    tree->addTopLevelItems(items);
    tree->setUpdatesEnabled(true);
    return true;
}

} // namespace qandor::TreeTableWidget
