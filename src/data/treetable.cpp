#include "data/treetable.h"

#include <QSet>
#include <algorithm>

namespace qandor {

QString treeNodeText(const QString &code, const QString &name)
{
    if (!code.trimmed().isEmpty() && !name.trimmed().isEmpty())
        return code + QLatin1Char('-') + name;
    return code + name;
}

QString TNodeInfo::text() const
{
    return treeNodeText(Code, Name);
}

TreeTableSpec TreeTableSpec::bookClasses()
{
    return {QStringLiteral("书籍类别"), QStringLiteral("ID"), QStringLiteral("父类"), QStringLiteral("分类号"),
            QStringLiteral("分类名")};
}

TreeTable::TreeTable(TBast &bast, TreeTableSpec spec) : m_bast(bast), m_spec(std::move(spec)) {}

QString TreeTable::idOf(const QVariant &v) const
{
    return v.isNull() ? QStringLiteral("0") : QString::number(v.toLongLong());
}

std::optional<ClassTree> TreeTable::load()
{
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return std::nullopt;
    }
    struct Row {
        qint64 id;
        qint64 parent;
        QString code;
        QString name;
    };
    QList<Row> rows;
    try {
        // One query for the whole table: a class scheme can hold tens of
        // thousands of rows, and a query per node made the load crawl.
        QSqlQuery q = db->exec(QStringLiteral("select ") + m_spec.idColumn + QLatin1Char(',') + m_spec.parentColumn
                                   + QLatin1Char(',') + m_spec.codeColumn + QLatin1Char(',') + m_spec.nameColumn
                                   + QStringLiteral(" from ") + m_spec.table,
                               {}, "TreeTable::load");
        while (q.next())
            rows.append({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString(), q.value(3).toString()});
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }

    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.id < b.id; });
    QHash<qint64, QList<int>> childRows; // parent id -> row indexes, in id order
    childRows.reserve(rows.size());
    QList<int> rootRows;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].parent == 0)
            rootRows.append(i);
        else if (rows[i].parent != rows[i].id)
            childRows[rows[i].parent].append(i);
    }
    std::stable_sort(rootRows.begin(), rootRows.end(), [&rows](int a, int b) { return rows[a].code < rows[b].code; });

    ClassTree tree;
    tree.rowCount = int(rows.size());
    tree.nodes.reserve(rows.size());
    auto makeNode = [&](int row) {
        const Row &r = rows[row];
        ClassTree::Node n;
        n.info = TNodeInfo{QString::number(r.id), QString::number(r.parent), r.code, r.name};
        tree.nodes.append(std::move(n));
        return int(tree.nodes.size() - 1);
    };
    // Breadth first from the top rows: each row has one parent, so a row is
    // reached at most once and cycles away from the top rows are never entered.
    QList<std::pair<int, int>> queue; // (node index, row index)
    queue.reserve(rows.size());
    for (int row : std::as_const(rootRows)) {
        const int n = makeNode(row);
        tree.roots.append(n);
        queue.append({n, row});
    }
    for (qsizetype head = 0; head < queue.size(); ++head) {
        const auto [node, row] = queue[head];
        const auto it = childRows.constFind(rows[row].id);
        if (it == childRows.constEnd())
            continue;
        for (int childRow : *it) {
            const int c = makeNode(childRow);
            tree.nodes[node].children.append(c);
            queue.append({c, childRow});
        }
    }
    tree.unreachable = tree.rowCount - int(tree.nodes.size());
    return tree;
}

bool TreeTable::checkCodeAndName(const QString &code, const QString &name) const
{
    if (code.trimmed().isEmpty()) {
        m_bast.ShowMsg(m_spec.codeColumn + QStringLiteral("不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    if (name.trimmed().isEmpty()) {
        m_bast.ShowMsg(m_spec.nameColumn + QStringLiteral("不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    return true;
}

std::optional<TNodeInfo> TreeTable::update(const TNodeInfo &node, const QString &name, const QString &code)
{
    if (!checkCodeAndName(code, name))
        return std::nullopt;
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return std::nullopt;
    }
    TNodeInfo out = node;
    out.Code = code.trimmed();
    out.Name = name.trimmed();
    try {
        const int n = db->execAffected(QStringLiteral("update ") + m_spec.table + QStringLiteral(" set ") + m_spec.codeColumn
                                           + QStringLiteral("=?,") + m_spec.nameColumn + QStringLiteral("=? where ")
                                           + m_spec.idColumn + QStringLiteral("=?"),
                                       {out.Code, out.Name, node.id()}, "TreeTable::update");
        if (n != 1) {
            m_bast.ShowMsg(QStringLiteral("所选类别已被删除，请重新打开类别表!"), QStringLiteral("warn"));
            return std::nullopt;
        }
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
    return out;
}

std::optional<TNodeInfo> TreeTable::add(const TNodeInfo *selected, bool asSibling, const QString &name, const QString &code)
{
    if (!checkCodeAndName(code, name))
        return std::nullopt;
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return std::nullopt;
    }
    TNodeInfo out;
    out.Code = code.trimmed();
    out.Name = name.trimmed();
    try {
        Transaction tx(*db);
        const bool tableEmpty = !db->exec(QStringLiteral("select ") + m_spec.idColumn + QStringLiteral(" from ") + m_spec.table
                                              + db->dialect().limit(1),
                                          {}, "TreeTable::add")
                                     .next();
        qint64 parent = 0;
        // Nothing to hang it on (empty table, or a tree showing no rows):
        // a new top row, so the class is visible at the next load.
        if (!tableEmpty && selected)
            parent = asSibling ? selected->parentId() : selected->id();
        if (parent != 0
            && !db->exec(QStringLiteral("select ") + m_spec.idColumn + QStringLiteral(" from ") + m_spec.table
                             + QStringLiteral(" where ") + m_spec.idColumn + QStringLiteral("=?"),
                         {parent}, "TreeTable::add")
                    .next()) {
            // Another desk deleted the parent: the new row would be an orphan
            // no tree ever shows.
            m_bast.ShowMsg(QStringLiteral("上级类别已被删除，请重新打开类别表!"), QStringLiteral("warn"));
            return std::nullopt;
        }
        const qint64 id = db->insertReturningId(QStringLiteral("insert into ") + m_spec.table + QStringLiteral(" (")
                                                    + m_spec.parentColumn + QLatin1Char(',') + m_spec.codeColumn
                                                    + QLatin1Char(',') + m_spec.nameColumn + QStringLiteral(") values (?,?,?)"),
                                                {parent, out.Code, out.Name}, m_spec.idColumn);
        tx.commit();
        out.Id = QString::number(id);
        out.ParentId = QString::number(parent);
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
    return out;
}

QHash<qint64, QList<qint64>> TreeTable::childrenMap()
{
    QHash<qint64, QList<qint64>> map;
    QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + m_spec.idColumn + QLatin1Char(',') + m_spec.parentColumn
                                              + QStringLiteral(" from ") + m_spec.table + QStringLiteral(" order by ")
                                              + m_spec.idColumn,
                                          {}, "TreeTable::childrenMap");
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        const qint64 parent = q.value(1).toLongLong();
        if (parent != id)
            map[parent].append(id);
    }
    return map;
}

QList<qint64> TreeTable::subtreeIds(qint64 id)
{
    const QHash<qint64, QList<qint64>> map = childrenMap();
    QList<qint64> out{id};
    QSet<qint64> seen{id};
    // Depth first, each node before its descendants; `seen` guards against
    // a damaged table whose parent links form a loop.
    QList<qint64> stack{id};
    while (!stack.isEmpty()) {
        const qint64 cur = stack.takeLast();
        if (cur != id)
            out.append(cur);
        const auto it = map.constFind(cur);
        if (it == map.constEnd())
            continue;
        for (auto c = it->crbegin(); c != it->crend(); ++c) {
            if (!seen.contains(*c)) {
                seen.insert(*c);
                stack.append(*c);
            }
        }
    }
    return out;
}

QList<qint64> TreeTable::removeSubtree(const TNodeInfo &node)
{
    if (!m_bast.AskMsg(QStringLiteral("删除[") + node.text() + QStringLiteral("]这个类别将会连同删除其子类,是否确定要进行删除操作?"),
                       QStringLiteral("yes")))
        return {};
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return {};
    }
    QList<qint64> deleted;
    try {
        Transaction tx(*db);
        // Descendants as the database holds them now, so classes another
        // desk added below this one go too and leave no orphans behind.
        QList<qint64> ids = subtreeIds(node.id());
        std::reverse(ids.begin(), ids.end()); // deepest first, the node last
        QSqlQuery del = db->prepare(QStringLiteral("delete from ") + m_spec.table + QStringLiteral(" where ")
                                        + m_spec.idColumn + QStringLiteral("=?"),
                                    "TreeTable::removeSubtree");
        for (qint64 id : std::as_const(ids)) {
            db->execPrepared(del, {id}, "TreeTable::removeSubtree");
            if (del.numRowsAffected() > 0)
                deleted.append(id);
        }
        tx.commit();
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return {};
    }
    return deleted;
}

std::optional<TNodeInfo> TreeTable::move(const TNodeInfo &node, qint64 newParentId)
{
    Database *db = m_bast.database();
    if (!db) {
        m_bast.ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
        return std::nullopt;
    }
    TNodeInfo out = node;
    try {
        Transaction tx(*db);
        if (newParentId != 0) {
            if (subtreeIds(node.id()).contains(newParentId)) {
                m_bast.ShowMsg(QStringLiteral("不能把类别移到它自身或它的下级类别之下!"), QStringLiteral("warn"));
                return std::nullopt;
            }
            if (!db->exec(QStringLiteral("select ") + m_spec.idColumn + QStringLiteral(" from ") + m_spec.table
                              + QStringLiteral(" where ") + m_spec.idColumn + QStringLiteral("=?"),
                          {newParentId}, "TreeTable::move")
                     .next()) {
                m_bast.ShowMsg(QStringLiteral("上级类别已被删除，请重新打开类别表!"), QStringLiteral("warn"));
                return std::nullopt;
            }
        }
        const int n = db->execAffected(QStringLiteral("update ") + m_spec.table + QStringLiteral(" set ") + m_spec.parentColumn
                                           + QStringLiteral("=? where ") + m_spec.idColumn + QStringLiteral("=?"),
                                       {newParentId, node.id()}, "TreeTable::move");
        if (n != 1) {
            m_bast.ShowMsg(QStringLiteral("所选类别已被删除，请重新打开类别表!"), QStringLiteral("warn"));
            return std::nullopt;
        }
        tx.commit();
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
    out.ParentId = QString::number(newParentId);
    return out;
}

} // namespace qandor
