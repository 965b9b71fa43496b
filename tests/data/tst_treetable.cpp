#include "data/treetable.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestTreeTable : public QObject {
    Q_OBJECT
private slots:
    void nodeText_data();
    void nodeText();
    void loadBuildsShape();
    void loadOtherTableShape();
    void addRows();
    void addRefusesBlankAndWritesNothing_data();
    void addRefusesBlankAndWritesNothing();
    void addUnderDeletedParentRefused();
    void updateHostileTexts_data();
    void updateHostileTexts();
    void updateDeletedRowRefused();
    void removeSubtreeDeepestFirst();
    void removeSubtreeDeclined();
    void moveNode();
    void moveIntoOwnSubtreeRefused_data();
    void moveIntoOwnSubtreeRefused();
    void loadLargeTree();
};

namespace {

void makeClassTable(TestDb &t)
{
    QVERIFY(t.bast().CreateTableIfMissing(QStringLiteral("书籍类别"),
                                          QStringLiteral("ID*int identity(1,1)|父类*int default 0|分类号*nvarchar(50) NULL|分类名*nvarchar(255) NULL")));
}

qint64 addRow(TestDb &t, qint64 parent, const QString &code, const QString &name)
{
    return t.db().insertReturningId(QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (?,?,?)"), {parent, code, name},
                                    QStringLiteral("ID"));
}

TNodeInfo infoOf(TestDb &t, qint64 id)
{
    QSqlQuery q = t.db().exec(QStringLiteral("select ID,父类,分类号,分类名 from 书籍类别 where ID=?"), {id});
    if (!q.next())
        return {};
    return {QString::number(q.value(0).toLongLong()), QString::number(q.value(1).toLongLong()), q.value(2).toString(),
            q.value(3).toString()};
}

int rowCount(TestDb &t)
{
    return t.db().scalar(QStringLiteral("select count(*) from 书籍类别")).toInt();
}

// Rows whose parent is neither 0 nor an existing row.
int orphanCount(TestDb &t)
{
    return t.db()
        .scalar(QStringLiteral("select count(*) from 书籍类别 c where c.父类<>0 and not exists "
                               "(select 1 from 书籍类别 p where p.ID=c.父类)"))
        .toInt();
}

// A small scheme:  A(1) { A1 { A11 }, A2 },  B
struct Fixture {
    qint64 a, a1, a11, a2, b;
};
Fixture makeFixture(TestDb &t)
{
    Fixture f{};
    f.b = addRow(t, 0, QStringLiteral("B"), QStringLiteral("哲学"));
    f.a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    f.a1 = addRow(t, f.a, QStringLiteral("A1"), QStringLiteral("马克思"));
    f.a2 = addRow(t, f.a, QStringLiteral("A2"), QStringLiteral("列宁"));
    f.a11 = addRow(t, f.a1, QStringLiteral("A11"), QStringLiteral("选集"));
    return f;
}

} // namespace

void TestTreeTable::nodeText_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("both") << QStringLiteral("TP3") << QStringLiteral("计算技术") << QStringLiteral("TP3-计算技术");
    QTest::newRow("no name") << QStringLiteral("TP3") << QString() << QStringLiteral("TP3");
    QTest::newRow("no code") << QString() << QStringLiteral("计算技术") << QStringLiteral("计算技术");
    QTest::newRow("blank code joins without dash") << QStringLiteral("  ") << QStringLiteral("M") << QStringLiteral("  M");
    QTest::newRow("dash in code kept") << QStringLiteral("I-2") << QStringLiteral("小说") << QStringLiteral("I-2-小说");
    QTest::newRow("both empty") << QString() << QString() << QString();
}

void TestTreeTable::nodeText()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(treeNodeText(code, name), text);
    QCOMPARE((TNodeInfo{QStringLiteral("1"), QStringLiteral("0"), code, name}.text()), text);
}

void TestTreeTable::loadBuildsShape()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    // Rows no top row leads to: a lost parent and a row that is its own parent.
    const qint64 lost = addRow(t, f.b + 1000, QStringLiteral("X"), QStringLiteral("孤儿"));
    const qint64 self = addRow(t, 0, QStringLiteral("S"), QStringLiteral("自环"));
    t.db().exec(QStringLiteral("update 书籍类别 set 父类=? where ID=?"), {self, self});

    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const auto tree = table.load();
    QVERIFY(tree);
    QCOMPARE(tree->rowCount, 7);
    QCOMPARE(tree->unreachable, 2);
    QCOMPARE(tree->nodes.size(), 5);
    QCOMPARE(tree->roots.size(), 2);
    // Top rows by code although B was added first.
    const auto &rootA = tree->nodes[tree->roots[0]];
    QCOMPARE(rootA.info, (TNodeInfo{QString::number(f.a), QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("马列主义")}));
    QCOMPARE(tree->nodes[tree->roots[1]].info.id(), f.b);
    QCOMPARE(rootA.children.size(), 2);
    const auto &a1 = tree->nodes[rootA.children[0]];
    const auto &a2 = tree->nodes[rootA.children[1]];
    QCOMPARE(a1.info.id(), f.a1);
    QCOMPARE(a1.info.parentId(), f.a);
    QCOMPARE(a2.info.id(), f.a2);
    QVERIFY(a2.children.isEmpty());
    QCOMPARE(a1.children.size(), 1);
    QCOMPARE(tree->nodes[a1.children[0]].info.text(), QStringLiteral("A11-选集"));
    for (const auto &n : tree->nodes)
        QVERIFY(n.info.id() != lost && n.info.id() != self);
}

void TestTreeTable::loadOtherTableShape()
{
    QANDOR_TESTDB(t);
    QVERIFY(t.bast().CreateTableIfMissing(QStringLiteral("区域"),
                                          QStringLiteral("编号*int identity(1,1)|上级*int default 0|代码*nvarchar(20) NULL|名称*nvarchar(50) NULL")));
    TreeTable table(t.bast(), {QStringLiteral("区域"), QStringLiteral("编号"), QStringLiteral("上级"), QStringLiteral("代码"), QStringLiteral("名称")});
    const auto top = table.add(nullptr, true, QStringLiteral("华北"), QStringLiteral("1"));
    QVERIFY(top);
    const auto child = table.add(&*top, false, QStringLiteral("北京"), QStringLiteral("11"));
    QVERIFY(child);
    QCOMPARE(child->parentId(), top->id());
    const auto tree = table.load();
    QVERIFY(tree);
    QCOMPARE(tree->roots.size(), 1);
    QCOMPARE(tree->nodes[tree->nodes[tree->roots[0]].children.value(0)].info, *child);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestTreeTable::addRows()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());

    // Empty table: a top row even when a (stale) node is selected.
    const TNodeInfo stale{QStringLiteral("77"), QStringLiteral("5"), QStringLiteral("Z"), QStringLiteral("旧")};
    const auto first = table.add(&stale, false, QStringLiteral("马列主义"), QStringLiteral("A"));
    QVERIFY(first);
    QCOMPARE(first->ParentId, QStringLiteral("0"));

    const auto sibling = table.add(&*first, true, QStringLiteral("哲学"), QStringLiteral("B"));
    const auto child = table.add(&*first, false, QStringLiteral("马克思"), QStringLiteral("A1"));
    QVERIFY(sibling && child);
    const auto childSibling = table.add(&*child, true, QStringLiteral("列宁"), QStringLiteral("A2"));
    const auto grandChild = table.add(&*child, false, QStringLiteral("选集"), QStringLiteral(" A11 "));
    QVERIFY(childSibling && grandChild);

    // What the operations returned is what the table holds.
    for (const TNodeInfo &n : {*first, *sibling, *child, *childSibling, *grandChild})
        QCOMPARE(infoOf(t, n.id()), n);
    QCOMPARE(sibling->parentId(), 0);
    QCOMPARE(child->parentId(), first->id());
    QCOMPARE(childSibling->parentId(), first->id());
    QCOMPARE(grandChild->parentId(), child->id());
    QCOMPARE(grandChild->Code, QStringLiteral("A11"));
    // Nothing selected over a non-empty table: a top row.
    const auto loose = table.add(nullptr, false, QStringLiteral("综合"), QStringLiteral("Z"));
    QVERIFY(loose);
    QCOMPARE(loose->parentId(), 0);
    QCOMPARE(rowCount(t), 6);
    QCOMPARE(orphanCount(t), 0);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestTreeTable::addRefusesBlankAndWritesNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("no code") << QStringLiteral(" ") << QStringLiteral("哲学") << QStringLiteral("分类号不能为空值!");
    QTest::newRow("no name") << QStringLiteral("B") << QStringLiteral("\t") << QStringLiteral("分类名不能为空值!");
    QTest::newRow("neither: code first") << QString() << QString() << QStringLiteral("分类号不能为空值!");
}

void TestTreeTable::addRefusesBlankAndWritesNothing()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const TNodeInfo a = infoOf(t, f.a);
    QVERIFY(!table.add(&a, false, name, code));
    QCOMPARE(t.sink.texts(), QStringList{message});
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QVERIFY(!table.update(a, name, code));
    QCOMPARE(rowCount(t), 5);
    QCOMPARE(infoOf(t, f.a), a);
}

void TestTreeTable::addUnderDeletedParentRefused()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const TNodeInfo a2 = infoOf(t, f.a2);
    // Another desk deletes A2 while this one still shows it.
    t.db().exec(QStringLiteral("delete from 书籍类别 where ID=?"), {f.a2});
    QVERIFY(!table.add(&a2, false, QStringLiteral("新类"), QStringLiteral("A21")));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(rowCount(t), 4);
    // As a sibling its parent A still exists.
    QVERIFY(table.add(&a2, true, QStringLiteral("新类"), QStringLiteral("A3")));
    QCOMPARE(orphanCount(t), 0);
}

void TestTreeTable::updateHostileTexts_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << QStringLiteral("O'B") << QStringLiteral("O'Brien");
    QTest::newRow("double quote") << QStringLiteral("\"") << QStringLiteral("\"引号\"");
    QTest::newRow("percent and underscore") << QStringLiteral("%_") << QStringLiteral("100%");
    QTest::newRow("comment") << QStringLiteral("--") << QStringLiteral("x'; delete from 书籍类别; --");
}

void TestTreeTable::updateHostileTexts()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const auto updated = table.update(infoOf(t, f.a1), name, code);
    QVERIFY(updated);
    QCOMPARE(infoOf(t, f.a1), *updated);
    QCOMPARE(updated->Code, code);
    QCOMPARE(updated->Name, name);
    QCOMPARE(rowCount(t), 5);
    QCOMPARE(infoOf(t, f.a2).Code, QStringLiteral("A2"));
    const auto added = table.add(&*updated, false, name, code);
    QVERIFY(added);
    QCOMPARE(infoOf(t, added->id()), *added);
}

void TestTreeTable::updateDeletedRowRefused()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const TNodeInfo a2 = infoOf(t, f.a2);
    t.db().exec(QStringLiteral("delete from 书籍类别 where ID=?"), {f.a2});
    QVERIFY(!table.update(a2, QStringLiteral("新名"), QStringLiteral("A2")));
    QCOMPARE(t.sink.entries.size(), 1);
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(rowCount(t), 4);
}

void TestTreeTable::removeSubtreeDeepestFirst()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    // Another desk added a class under A2 after this tree was loaded.
    const qint64 late = addRow(t, f.a2, QStringLiteral("A21"), QStringLiteral("后加"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const QList<qint64> deleted = table.removeSubtree(infoOf(t, f.a));
    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("删除[A-马列主义]这个类别将会连同删除其子类,是否确定要进行删除操作?")});
    QCOMPARE(t.sink.entries.first().kind, QStringLiteral("yes"));
    QCOMPARE(deleted.size(), 5);
    QCOMPARE(deleted.last(), f.a);
    // Every class goes before its parent.
    QVERIFY(deleted.indexOf(f.a11) < deleted.indexOf(f.a1));
    QVERIFY(deleted.indexOf(late) < deleted.indexOf(f.a2));
    QCOMPARE(rowCount(t), 1);
    QCOMPARE(infoOf(t, f.b).Code, QStringLiteral("B"));
    QCOMPARE(orphanCount(t), 0);
}

void TestTreeTable::removeSubtreeDeclined()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    t.sink.answers.enqueue(false);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QVERIFY(table.removeSubtree(infoOf(t, f.a1)).isEmpty());
    QCOMPARE(rowCount(t), 5);
}

void TestTreeTable::moveNode()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    // A1 with its child under B, then A2 to the top.
    const auto moved = table.move(infoOf(t, f.a1), f.b);
    QVERIFY(moved);
    QCOMPARE(infoOf(t, f.a1), *moved);
    QCOMPARE(moved->parentId(), f.b);
    QCOMPARE(infoOf(t, f.a11).parentId(), f.a1);
    QVERIFY(table.move(infoOf(t, f.a2), 0));
    QCOMPARE(infoOf(t, f.a2).parentId(), 0);
    // A parent that does not exist.
    QVERIFY(!table.move(infoOf(t, f.a2), f.b + 1000));
    QCOMPARE(infoOf(t, f.a2).parentId(), 0);
    QCOMPARE(orphanCount(t), 0);

    const auto tree = table.load();
    QVERIFY(tree);
    QCOMPARE(tree->unreachable, 0);
    QCOMPARE(tree->roots.size(), 3);
}

void TestTreeTable::moveIntoOwnSubtreeRefused_data()
{
    QTest::addColumn<int>("target"); // 0 itself, 1 its child, 2 its grandchild
    QTest::newRow("onto itself") << 0;
    QTest::newRow("under its child") << 1;
    QTest::newRow("under its grandchild") << 2;
}

void TestTreeTable::moveIntoOwnSubtreeRefused()
{
    QFETCH(int, target);
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const Fixture f = makeFixture(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const qint64 targetId = QList<qint64>{f.a, f.a1, f.a11}[target];
    QVERIFY(!table.move(infoOf(t, f.a), targetId));
    QCOMPARE(t.sink.entries.size(), 1);
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(infoOf(t, f.a).parentId(), 0);
    QCOMPARE(infoOf(t, f.a1).parentId(), f.a);
    QCOMPARE(infoOf(t, f.a11).parentId(), f.a1);
    const auto tree = table.load();
    QVERIFY(tree);
    QCOMPARE(tree->unreachable, 0);
}

void TestTreeTable::loadLargeTree()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    // 10 top classes; 10 children each on the next three levels and 4
    // children under each class of the fourth: 51110 classes, 5 levels.
    const QList<int> fanout{10, 10, 10, 4};
    {
        Transaction tx(t.db());
        for (int i = 0; i < 10; ++i)
            t.db().exec(QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) values (0,?,?)"),
                        {QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("L0")});
        for (int level = 1; level <= fanout.size(); ++level) {
            for (int k = 0; k < fanout[level - 1]; ++k)
                t.db().exec(QStringLiteral("insert into 书籍类别 (父类,分类号,分类名) select ID,?,? from 书籍类别 where 分类名=?"),
                            {QString::number(k), QStringLiteral("L%1").arg(level), QStringLiteral("L%1").arg(level - 1)});
        }
        tx.commit();
    }
    QCOMPARE(rowCount(t), 51110);

    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    const auto tree = table.load();
    QVERIFY(tree);
    QCOMPARE(tree->nodes.size(), 51110);
    QCOMPARE(tree->unreachable, 0);
    QCOMPARE(tree->roots.size(), 10);
    QCOMPARE(tree->nodes[tree->roots[0]].info.Code, QStringLiteral("C00"));
    QCOMPARE(tree->nodes[tree->roots[9]].info.Code, QStringLiteral("C09"));

    // Walk the tree: each node on its level, under its parent, with the
    // level's number of children.
    QList<int> perLevel(5, 0);
    QList<std::pair<int, int>> stack; // node, level
    for (int r : tree->roots)
        stack.append({r, 0});
    while (!stack.isEmpty()) {
        const auto [n, level] = stack.takeLast();
        const auto &node = tree->nodes[n];
        ++perLevel[level];
        QCOMPARE(node.info.Name, QStringLiteral("L%1").arg(level));
        QCOMPARE(node.children.size(), level < fanout.size() ? fanout[level] : 0);
        for (int c : node.children) {
            QCOMPARE(tree->nodes[c].info.parentId(), node.info.id());
            stack.append({c, level + 1});
        }
    }
    QCOMPARE(perLevel, (QList<int>{10, 100, 1000, 10000, 40000}));
}

QTEST_GUILESS_MAIN(TestTreeTable)
#include "tst_treetable.moc"
