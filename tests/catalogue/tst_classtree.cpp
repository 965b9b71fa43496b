#include "catalogue/catalogueservices.h"
#include "catalogue/tfrmclassification.h"
#include "catalogue/tfrmselectclassification.h"
#include "data/gbk.h"
#include "support/testdb.h"
#include "widgets/treetablewidget.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }

QTreeWidgetItem *item(QTreeWidget *tree, const QString &textStart)
{
    const auto found = tree->findItems(textStart, Qt::MatchStartsWith | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList cacheLines(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return fromGbk(f.readAll()).split(s("\r\n"), Qt::SkipEmptyParts);
}

qint64 idOf(TestDb &t, const QString &code)
{
    return t.db().scalar(s("select ID from 书籍类别 where 分类号=?"), {code}).toLongLong();
}
} // namespace

class TestClassTree : public QObject {
    Q_OBJECT
private slots:
    void deliveredClasses();
    void editsReachTableAndCache();
    void chooserSplitsNodeText();
    void chooserWithoutCacheBuildsIt();
};

void TestClassTree::deliveredClasses()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QCOMPARE(t.db().scalar(s("select count(*) from 书籍类别 where 父类=0")).toInt(), 22);
    QCOMPARE(t.db().scalar(s("select count(*) from ZTR_FLAG")).toInt(), 22);
    QCOMPARE(t.db().scalar(s("select 分类名 from 书籍类别 where 分类号=? and 父类=0"), {s("I")}).toString(), s("文学"));
    QCOMPARE(t.db().scalar(s("select name from ZTR_FLAG where mark=?"), {s("Z")}).toString(), s("综合性图书"));
    // Every second-level class hangs under the top class its code starts with.
    QCOMPARE(t.db().scalar(s("select count(*) from 书籍类别 c, 书籍类别 p where c.父类=p.ID and ")
                               + t.db().dialect().subStrExpr(s("c.分类号"), 1, 1) + s("<>p.分类号"))
                 .toInt(),
             0);
    QCOMPARE(t.db().scalar(s("select p.分类号 from 书籍类别 c, 书籍类别 p where c.父类=p.ID and c.分类号=?"), {s("TP")})
                 .toString(),
             s("T"));
    QVERIFY(t.db().scalar(s("select count(*) from 书籍类别 where 父类<>0")).toInt() > 200);
}

void TestClassTree::editsReachTableAndCache()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QTemporaryDir dir;
    const QString cache = dir.filePath(s("database/BFA.dat"));
    {
        Tfrmclassification dlg(t.bast(), cache);
        QTreeWidget *tree = dlg.tree();
        QCOMPARE(tree->topLevelItemCount(), 22);
        QCOMPARE(tree->topLevelItem(8)->text(0), s("I-文学"));

        TreeTableWidget::selectItem(tree, tree->topLevelItem(8));
        QVERIFY(dlg.addClass(false, s("I247.5"), s("新体长篇小说")));
        QCOMPARE(t.db().scalar(s("select 父类 from 书籍类别 where 分类号=?"), {s("I247.5")}).toLongLong(), idOf(t, s("I")));
        // The new node is selected; a sibling of it has the same parent.
        QVERIFY(dlg.addClass(true, s("I247.7"), s("新体中篇小说")));
        QCOMPARE(t.db().scalar(s("select 父类 from 书籍类别 where 分类号=?"), {s("I247.7")}).toLongLong(), idOf(t, s("I")));
        // A sibling of a top class is a top class.
        TreeTableWidget::selectItem(tree, tree->topLevelItem(0));
        QVERIFY(dlg.addClass(true, s("W"), s("O'Brien \"藏书\" --")));
        QCOMPARE(t.db().scalar(s("select 父类 from 书籍类别 where 分类号=?"), {s("W")}).toLongLong(), 0);

        TreeTableWidget::selectItem(tree, item(tree, s("TP-")));
        QVERIFY(dlg.updateSelected(s("TP3"), s("计算技术")));
        QCOMPARE(t.db().scalar(s("select 分类名 from 书籍类别 where 分类号=?"), {s("TP3")}).toString(), s("计算技术"));
        QVERIFY(!dlg.updateSelected(s(" "), s("x")));
        QCOMPARE(t.sink.lastText(), s("分类号不能为空值!"));

        // Deleting K removes it with all its classes after one question.
        const qint64 k = idOf(t, s("K"));
        QVERIFY(t.db().scalar(s("select count(*) from 书籍类别 where 父类=?"), {k}).toInt() > 0);
        TreeTableWidget::selectItem(tree, item(tree, s("K-")));
        t.sink.clear();
        QVERIFY(dlg.deleteSelected());
        QCOMPARE(t.sink.entries.size(), 1);
        QCOMPARE(t.sink.lastText(), s("删除[K-历史、地理]这个类别将会连同删除其子类,是否确定要进行删除操作?"));
        QCOMPARE(t.db().scalar(s("select count(*) from 书籍类别 where ID=? or 父类=?"), {k, k}).toInt(), 0);
        dlg.reject();
    }
    // The cache written on closing holds what the table holds.
    const QStringList lines = cacheLines(cache);
    QVERIFY(lines.contains(s("\tTP3-计算技术")));
    QVERIFY(lines.contains(s("\tI247.5-新体长篇小说")));
    QVERIFY(lines.contains(s("W-O'Brien \"藏书\" --")));
    QVERIFY(!lines.contains(s("K-历史、地理")));
    QVERIFY(!lines.contains(s("\tK81-传记")));
    QCOMPARE(lines.size(), t.db().scalar(s("select count(*) from 书籍类别")).toInt());
    const int topLines = std::count_if(lines.cbegin(), lines.cend(), [](const QString &l) { return !l.startsWith(QLatin1Char('\t')); });
    QCOMPARE(topLines, 22); // K gone, W added
}

void TestClassTree::chooserSplitsNodeText()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QTemporaryDir dir;
    const QString cache = dir.filePath(s("BFA.dat"));
    QFile f(cache);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(toGbk(s("T-工业技术\r\n\tTP3-计算技术\r\n\tD33-37-各国共产党\r\n")));
    f.close();

    TfrmSelectClassification dlg(t.bast(), cache, s("frmAddOrEditBookInfor"));
    QTreeWidget *tree = dlg.tree();
    QVERIFY(!dlg.choose());
    QCOMPARE(t.sink.lastText(), s("请选中所要添加的书籍类别！"));
    TreeTableWidget::selectItem(tree, item(tree, s("TP3")));
    QVERIFY(dlg.choose());
    QCOMPARE(dlg.code(), s("TP3"));
    QCOMPARE(dlg.name(), s("计算技术"));
    // A number with a dash of its own is cut at its first dash.
    TreeTableWidget::selectItem(tree, item(tree, s("D33")));
    QVERIFY(dlg.choose());
    QCOMPARE(dlg.code(), s("D33"));
    QCOMPARE(dlg.name(), s("37-各国共产党"));

    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.close();
    dlg.reloadTree();
    QVERIFY(!dlg.choose());
    QCOMPARE(t.sink.lastText(), s("当前书籍类别信息为空，没有可选对象！"));
}

void TestClassTree::chooserWithoutCacheBuildsIt()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QTemporaryDir dir;
    const QString cache = dir.filePath(s("BFA.dat"));
    TfrmSelectClassification dlg(t.bast(), cache, s("frmAddOrEditMagazineInfor"));
    QCOMPARE(dlg.tree()->topLevelItemCount(), 22);
    QVERIFY(QFile::exists(cache));
    QCOMPARE(cacheLines(cache).size(), t.db().scalar(s("select count(*) from 书籍类别")).toInt());
}

QTEST_MAIN(TestClassTree)
#include "tst_classtree.moc"
