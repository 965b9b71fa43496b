#pragma once

#include "data/tbast.h"
#include "data/treetable.h"

#include <QString>

class QTreeWidget;

namespace qandor {

// What the class screens share: the tree cache and the choice of a class.
namespace ClassTreeLogic {

// The chooser's tree: from the cache file; when there is none yet (no
// maintenance closed on this installation) it is built from 书籍类别 and
// the cache written, so a new installation can classify at once.
bool loadForChoosing(QTreeWidget *tree, TBast &bast, const QString &treeFile);

// Writes the cache; a failure is reported ("类别缓存文件保存失败...").
bool saveCache(const QTreeWidget *tree, TBast &bast, const QString &treeFile);

// "选择选中类别": "当前书籍类别信息为空，没有可选对象！" for an empty tree,
// "请选中所要添加的书籍类别！" without a selection; otherwise the selected
// node text split at its first "-".
bool choose(const QTreeWidget *tree, TBast &bast, QString &code, QString &name);

} // namespace ClassTreeLogic
} // namespace qandor
