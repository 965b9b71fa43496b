#include "widgets/treetablewidget.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;
namespace TW = qandor::TreeTableWidget;

class TestTreeWidget : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTextsAndRecords();
    void loadWithoutTopRowsKeepsTree();
    void selectionMessages_data();
    void selectionMessages();
    void operationsKeepTreeInStepWithTable();
    void addWithoutSelectionTakesFirstNode();
    void deleteMovesSelection();
    void deleteDeclinedKeepsAll();
    void moveIntoOwnSubtreeRefused();
    void loadValueTree();
    void fillLargeTree();
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

// The tree as indented lines "text|id|parent", children under their item.
void dumpItem(const QTreeWidgetItem *item, int depth, QStringList &out)
{
    const auto info = TW::nodeInfo(item);
    out << QString(depth, QLatin1Char(' ')) + item->text(0) + QLatin1Char('|') + (info ? info->Id : QString()) + QLatin1Char('|')
               + (info ? info->ParentId : QString());
    for (int i = 0; i < item->childCount(); ++i)
        dumpItem(item->child(i), depth + 1, out);
}
QStringList dump(const QTreeWidget &tree)
{
    QStringList out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        dumpItem(tree.topLevelItem(i), 0, out);
    return out;
}
// Children in the tree view are in the order they were added, which is the
// order a fresh load gives; sorting the sibling lines is not needed.
QStringList freshDump(TreeTable &table)
{
    QTreeWidget fresh;
    TW::LoadTree(&fresh, table);
    return dump(fresh);
}

} // namespace

void TestTreeWidget::loadShowsTextsAndRecords()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const qint64 b = addRow(t, 0, QStringLiteral("B"), QStringLiteral("哲学"));
    const qint64 a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    const qint64 a1 = addRow(t, a, QStringLiteral("A1"), QString());
    const qint64 a2 = addRow(t, a, QString(), QStringLiteral("无号"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    QVERIFY(TW::LoadTree(&tree, table));
    const QStringList expected{
        QStringLiteral("A-马列主义|%1|0").arg(a),
        QStringLiteral(" A1|%1|%2").arg(a1).arg(a),
        QStringLiteral(" 无号|%1|%2").arg(a2).arg(a),
        QStringLiteral("B-哲学|%1|0").arg(b),
    };
    QCOMPARE(dump(tree), expected);
    QCOMPARE(TW::findById(&tree, a2), tree.topLevelItem(0)->child(1));
}

void TestTreeWidget::loadWithoutTopRowsKeepsTree()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("旧内容")}));
    QVERIFY(!TW::LoadTree(&tree, table)); // empty table
    addRow(t, 4242, QStringLiteral("X"), QStringLiteral("无上级"));
    QVERIFY(!TW::LoadTree(&tree, table)); // rows, but none on top
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("旧内容"));
}

void TestTreeWidget::selectionMessages_data()
{
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QString>("editMessage");
    QTest::addColumn<QString>("deleteMessage");
    QTest::newRow("empty tree") << false << QStringLiteral("当前数据为空,没有可修改的对象!")
                                << QStringLiteral("当前数据为空,没有可删除的对象!");
    QTest::newRow("nothing selected") << true << QStringLiteral("请选中所要修改的类别!") << QStringLiteral("请选中所要删除的类别!");
}

void TestTreeWidget::selectionMessages()
{
    QFETCH(bool, filled);
    QFETCH(QString, editMessage);
    QFETCH(QString, deleteMessage);
    QANDOR_TESTDB(t);
    makeClassTable(t);
    addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    if (filled)
        QVERIFY(TW::LoadTree(&tree, table));
    TNodeInfo info;
    QVERIFY(!TW::GetSelectedTreeData(&tree, t.bast(), info));
    QVERIFY(!TW::UpdateTreeNode(&tree, table, QStringLiteral("新名"), QStringLiteral("A")));
    QVERIFY(!TW::MoveTreeNode(&tree, table, nullptr));
    QVERIFY(!TW::DeleteTreeNode(&tree, table));
    QCOMPARE(t.sink.texts(), (QStringList{editMessage, editMessage, editMessage, deleteMessage}));
    for (const auto &e : t.sink.entries)
        QCOMPARE(e.kind, QStringLiteral("warn"));
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 书籍类别 where 分类名=?"), {QStringLiteral("马列主义")}).toInt(), 1);
}

void TestTreeWidget::operationsKeepTreeInStepWithTable()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;

    // From an empty table: the first class is a top class.
    QVERIFY(TW::AddTreeNode(&tree, table, true, QStringLiteral("马列主义"), QStringLiteral("A")));
    QTreeWidgetItem *a = TW::selectedItem(&tree);
    QVERIFY(a);
    QCOMPARE(a->text(0), QStringLiteral("A-马列主义"));
    QVERIFY(TW::AddTreeNode(&tree, table, true, QStringLiteral("哲学"), QStringLiteral("B")));
    QCOMPARE(tree.topLevelItemCount(), 2);
    TW::selectItem(&tree, a);
    QVERIFY(TW::AddTreeNode(&tree, table, false, QStringLiteral("马克思"), QStringLiteral("A1")));
    QTreeWidgetItem *a1 = TW::selectedItem(&tree);
    QCOMPARE(a1->parent(), a);
    QVERIFY(TW::AddTreeNode(&tree, table, true, QStringLiteral("列宁"), QStringLiteral("A2")));
    QCOMPARE(TW::selectedItem(&tree)->parent(), a);
    QCOMPARE(a->indexOfChild(TW::selectedItem(&tree)), 1);
    TW::selectItem(&tree, a1);
    QVERIFY(TW::AddTreeNode(&tree, table, false, QStringLiteral("选集"), QStringLiteral("A11")));
    QCOMPARE(dump(tree), freshDump(table));

    // Rename, with a quote in it.
    TW::selectItem(&tree, a1);
    QVERIFY(TW::UpdateTreeNode(&tree, table, QStringLiteral("O'Brien"), QStringLiteral("A1")));
    QCOMPARE(a1->text(0), QStringLiteral("A1-O'Brien"));
    TNodeInfo info;
    QVERIFY(TW::GetSelectedTreeData(&tree, t.bast(), info));
    QCOMPARE(info.Name, QStringLiteral("O'Brien"));
    QCOMPARE(dump(tree), freshDump(table));

    // Move A1 (with its child) under B, then delete A.
    QVERIFY(TW::MoveTreeNode(&tree, table, tree.topLevelItem(1)));
    QCOMPARE(a1->parent(), tree.topLevelItem(1));
    QCOMPARE(a1->child(0)->text(0), QStringLiteral("A11-选集"));
    QCOMPARE(dump(tree), freshDump(table));
    TW::selectItem(&tree, a);
    QVERIFY(TW::DeleteTreeNode(&tree, table));
    QCOMPARE(dump(tree), freshDump(table));
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 书籍类别")).toInt(), 3);
    // Only the delete's question was asked; nothing went wrong.
    QCOMPARE(t.sink.entries.size(), 1);
}

void TestTreeWidget::addWithoutSelectionTakesFirstNode()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const qint64 a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    addRow(t, 0, QStringLiteral("B"), QStringLiteral("哲学"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    QVERIFY(TW::LoadTree(&tree, table));
    QVERIFY(!TW::selectedItem(&tree));
    QVERIFY(TW::AddTreeNode(&tree, table, false, QStringLiteral("马克思"), QStringLiteral("A1")));
    QCOMPARE(TW::nodeInfo(TW::selectedItem(&tree))->parentId(), a);
    QCOMPARE(TW::selectedItem(&tree)->parent(), tree.topLevelItem(0));
}

void TestTreeWidget::deleteMovesSelection()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const qint64 a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    const qint64 a1 = addRow(t, a, QStringLiteral("A1"), QStringLiteral("马克思"));
    addRow(t, a, QStringLiteral("A2"), QStringLiteral("列宁"));
    addRow(t, a1, QStringLiteral("A11"), QStringLiteral("选集"));
    const qint64 b = addRow(t, 0, QStringLiteral("B"), QStringLiteral("哲学"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    QVERIFY(TW::LoadTree(&tree, table));
    TW::selectItem(&tree, TW::findById(&tree, a));
    QVERIFY(TW::DeleteTreeNode(&tree, table));
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(TW::nodeInfo(TW::selectedItem(&tree))->id(), b);
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from 书籍类别")).toInt(), 1);
    // The last class: the tree is empty and nothing is selected.
    QVERIFY(TW::DeleteTreeNode(&tree, table));
    QCOMPARE(tree.topLevelItemCount(), 0);
    QVERIFY(!TW::selectedItem(&tree));
}

void TestTreeWidget::deleteDeclinedKeepsAll()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const qint64 a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    addRow(t, a, QStringLiteral("A1"), QStringLiteral("马克思"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    QVERIFY(TW::LoadTree(&tree, table));
    const QStringList before = dump(tree);
    TW::selectItem(&tree, tree.topLevelItem(0));
    t.sink.defaultAnswer = false;
    QVERIFY(!TW::DeleteTreeNode(&tree, table));
    QCOMPARE(dump(tree), before);
    QCOMPARE(freshDump(table), before);
}

void TestTreeWidget::moveIntoOwnSubtreeRefused()
{
    QANDOR_TESTDB(t);
    makeClassTable(t);
    const qint64 a = addRow(t, 0, QStringLiteral("A"), QStringLiteral("马列主义"));
    const qint64 a1 = addRow(t, a, QStringLiteral("A1"), QStringLiteral("马克思"));
    addRow(t, a1, QStringLiteral("A11"), QStringLiteral("选集"));
    TreeTable table(t.bast(), TreeTableSpec::bookClasses());
    QTreeWidget tree;
    QVERIFY(TW::LoadTree(&tree, table));
    const QStringList before = dump(tree);
    TW::selectItem(&tree, tree.topLevelItem(0));
    QVERIFY(!TW::MoveTreeNode(&tree, table, TW::findById(&tree, a1)->child(0)));
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(dump(tree), before);
    QCOMPARE(freshDump(table), before);
}

void TestTreeWidget::loadValueTree()
{
    QANDOR_TESTDB(t);
    QVERIFY(t.bast().CreateTableIfMissing(QStringLiteral("读者类型"), QStringLiteral("ID*int identity(1,1)|类型*nvarchar(50) NULL")));
    QTreeWidget tree;
    tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("旧内容")}));
    QVERIFY(!TW::LoadValueTree(&tree, t.bast(), QStringLiteral("读者类型"), QStringLiteral("类型"), QStringLiteral("全部类型")));
    QCOMPARE(tree.topLevelItemCount(), 1);
    for (const char *v : {"学生", "教师", "学生", "O'Brien"})
        t.db().exec(QStringLiteral("insert into 读者类型 (类型) values (?)"), {QString::fromUtf8(v)});
    QVERIFY(TW::LoadValueTree(&tree, t.bast(), QStringLiteral("读者类型"), QStringLiteral("类型"), QStringLiteral("全部类型")));
    QCOMPARE(tree.topLevelItemCount(), 4);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("全部类型"));
    QStringList values;
    for (int i = 1; i < tree.topLevelItemCount(); ++i) {
        values << tree.topLevelItem(i)->text(0);
        QCOMPARE(tree.topLevelItem(i)->childCount(), 0);
    }
    values.sort();
    QStringList expected{QStringLiteral("学生"), QStringLiteral("教师"), QStringLiteral("O'Brien")};
    expected.sort();
    QCOMPARE(values, expected);
}

void TestTreeWidget::fillLargeTree()
{
    // 200 top classes with 250 children each: the widget takes the whole
    // tree in one go and every item keeps its record and place.
    ClassTree classes;
    for (int r = 0; r < 200; ++r) {
        classes.nodes.append({TNodeInfo{QString::number(r + 1), QStringLiteral("0"), QStringLiteral("R%1").arg(r), QStringLiteral("类")}, {}});
        classes.roots.append(int(classes.nodes.size() - 1));
    }
    for (int r = 0; r < 200; ++r) {
        for (int c = 0; c < 250; ++c) {
            const int id = 1000 + r * 250 + c;
            classes.nodes.append({TNodeInfo{QString::number(id), QString::number(r + 1), QStringLiteral("R%1.%2").arg(r).arg(c), QString()}, {}});
            classes.nodes[r].children.append(int(classes.nodes.size() - 1));
        }
    }
    QTreeWidget tree;
    tree.show();
    TW::fill(&tree, classes);
    QCOMPARE(tree.topLevelItemCount(), 200);
    int total = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        ++total;
        const auto info = TW::nodeInfo(*it);
        QVERIFY(info);
        QCOMPARE((*it)->text(0), info->text());
        if ((*it)->parent())
            QCOMPARE(info->parentId(), TW::nodeInfo((*it)->parent())->id());
    }
    QCOMPARE(total, 50200);
    QCOMPARE(tree.topLevelItem(199)->child(249)->text(0), QStringLiteral("R199.249"));
}

QTEST_MAIN(TestTreeWidget)
#include "tst_treewidget.moc"
