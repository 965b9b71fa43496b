#pragma once

#include "data/tbast.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <optional>

namespace qandor {

// The record each node of a class tree view carries: the row it stands for.
struct TNodeInfo {
    QString Id;
    QString ParentId = QStringLiteral("0");
    QString Code;
    QString Name;

    qint64 id() const { return Id.toLongLong(); }
    qint64 parentId() const { return ParentId.toLongLong(); }
    // Code-Name; without the dash when either part is blank.
    QString text() const;
    bool operator==(const TNodeInfo &) const = default;
};

QString treeNodeText(const QString &code, const QString &name);

// A parent/child table: identity, parent (0 for a top row), code and name
// columns. Names are the program's own, never operator text.
struct TreeTableSpec {
    QString table;
    QString idColumn;
    QString parentColumn;
    QString codeColumn;
    QString nameColumn;

    // The class table 书籍类别.
    static TreeTableSpec bookClasses();
};

// The whole table as a tree in memory, built from one query.
struct ClassTree {
    struct Node {
        TNodeInfo info;
        QList<int> children; // indexes into nodes
    };
    QList<Node> nodes;    // every row reachable from a top row
    QList<int> roots;     // top rows, ordered by code
    int rowCount = 0;     // rows in the table
    int unreachable = 0;  // rows whose parent chain does not reach a top row

    bool isEmpty() const { return roots.isEmpty(); }
};

// The SQL side of the tree-table operations. Every check and database
// error reaches the operator through the TBast's message sink; methods
// report success by their result.
class TreeTable {
public:
    TreeTable(TBast &bast, TreeTableSpec spec);

    const TreeTableSpec &spec() const { return m_spec; }
    TBast &bast() const { return m_bast; }

    // Reads the table in one query and builds the tree. Roots are ordered
    // by code, children by identity (the order they were added). Returns
    // nullopt on a database error.
    std::optional<ClassTree> load();

    // Code and name must not be blank (column name + "不能为空值!").
    bool checkCodeAndName(const QString &code, const QString &name) const;

    // Updates the node's row; the new record, or nullopt when refused or
    // the row is gone (another desk deleted it).
    std::optional<TNodeInfo> update(const TNodeInfo &node, const QString &name, const QString &code);

    // Appends a row as sibling or child of `selected` (nullptr or an empty
    // table: a top row). Refuses a parent whose row no longer exists.
    std::optional<TNodeInfo> add(const TNodeInfo *selected, bool asSibling, const QString &name, const QString &code);

    // After the operator's yes, deletes the node and every row below it,
    // deepest first, in one transaction. Returns the deleted identities
    // (empty when declined or failed).
    QList<qint64> removeSubtree(const TNodeInfo &node);

    // Re-parents the node under newParentId (0: a top row). Refuses a move
    // onto itself or into its own subtree and a parent that does not exist.
    std::optional<TNodeInfo> move(const TNodeInfo &node, qint64 newParentId);

    // The identities of the node and all its descendants as the database
    // holds them now, each after its parent (node first).
    QList<qint64> subtreeIds(qint64 id);

private:
    QHash<qint64, QList<qint64>> childrenMap();
    QString idOf(const QVariant &v) const;

    TBast &m_bast;
    TreeTableSpec m_spec;
};

} // namespace qandor

Q_DECLARE_METATYPE(qandor::TNodeInfo)
