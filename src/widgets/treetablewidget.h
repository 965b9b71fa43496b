#pragma once

#include "data/treetable.h"

#include <QTreeWidget>

namespace qandor {

// Keeps a QTreeWidget in step with a tree table. Each item carries its
// TNodeInfo in column 0 under NodeInfoRole; the item text is Code-Name.
namespace TreeTableWidget {

inline constexpr int NodeInfoRole = Qt::UserRole + 1;

// The record an item carries (nullopt for items without one, e.g. the
// value trees of LoadValueTree).
std::optional<TNodeInfo> nodeInfo(const QTreeWidgetItem *item);
QTreeWidgetItem *makeItem(const TNodeInfo &info);

// The selected item (the current one when it is selected), or nullptr.
QTreeWidgetItem *selectedItem(const QTreeWidget *tree);
void selectItem(QTreeWidget *tree, QTreeWidgetItem *item);
// The item whose record has this identity, or nullptr.
QTreeWidgetItem *findById(QTreeWidget *tree, qint64 id);

// Replaces the tree's items with the in-memory tree: items are built
// first and added with one call, without repainting per item.
void fill(QTreeWidget *tree, const ClassTree &classes);

// Loads the table into the tree. A table without top rows (or a database
// error) leaves the tree as it was and returns false.
bool LoadTree(QTreeWidget *tree, TreeTable &table);

// The selected node's record; false with "当前数据为空,没有可修改的对象!"
// for an empty tree and "请选中所要修改的类别!" without a selection.
bool GetSelectedTreeData(QTreeWidget *tree, TBast &bast, TNodeInfo &out);

// Updates the selected node's row and item.
bool UpdateTreeNode(QTreeWidget *tree, TreeTable &table, const QString &name, const QString &code);

// Appends a row and its item after the selected node's siblings or as the
// selected node's last child; selects it. Without a selection the first
// node is selected first.
bool AddTreeNode(QTreeWidget *tree, TreeTable &table, bool asSibling, const QString &name, const QString &code);

// After the operator's yes deletes the selected node with its subtree from
// the table and the tree; the selection moves to a neighbour.
bool DeleteTreeNode(QTreeWidget *tree, TreeTable &table);

// Moves the selected node under newParent (nullptr: to the top level),
// refusing a move into its own subtree.
bool MoveTreeNode(QTreeWidget *tree, TreeTable &table, QTreeWidgetItem *newParent);

// "select distinct column from table order by column": the root caption
// then every value as top-level items. No rows: the tree is left alone.
bool LoadValueTree(QTreeWidget *tree, TBast &bast, const QString &table, const QString &column, const QString &rootCaption);

} // namespace TreeTableWidget
} // namespace qandor
