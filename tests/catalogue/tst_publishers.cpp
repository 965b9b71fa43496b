#include "catalogue/publisherlist.h"
#include "catalogue/tfrmaddoreditbookconcern.h"
#include "catalogue/tfrmaddoreditbookinfor.h"
#include "catalogue/tfrmbookconcernset.h"
#include "support/testdb.h"
#include "widgets/datagrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }

QStringList names(const QList<Publisher> &rows)
{
    QStringList out;
    for (const Publisher &p : rows)
        out << p.name;
    out.sort();
    return out;
}

void addPublishers(TestDb &t)
{
    PublisherList list(t.bast());
    const QList<Publisher> rows{
        {0, s("7-111"), s("机械工业出版社"), s("北京")},
        {0, s("7-5063"), s("作家出版社"), s("北京")},
        {0, s("7-5321"), s("上海文艺出版社"), s("上海")},
        {0, s("7-111-2"), s("7-111图书公司"), s("天津")},
        {0, s("7-5366"), s("重庆出版社"), s("重庆")},
        {0, s("7-1"), s("O'Brien & 100% \"书局\""), s("C:\\杭州_")},
    };
    for (const Publisher &p : rows)
        QVERIFY(list.save(p));
}
} // namespace

class TestPublishers : public QObject {
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void recordChecksAndEdits();
    void listButtonsByMode();
    void emptyListMessagesAndDelete();
    void choosingFillsEditor();
};

void TestPublishers::search_data()
{
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("two keywords")
        << s("7-111 北京") << QStringList{s("7-111图书公司"), s("作家出版社"), s("机械工业出版社")};
    QTest::newRow("ISBN matched by its end only") << s("5063") << QStringList{s("作家出版社")};
    QTest::newRow("ISBN start is no match") << s("7-53") << QStringList{};
    QTest::newRow("blanks around and between") << s("  上海   重庆 ")
                                               << QStringList{s("上海文艺出版社"), s("重庆出版社")};
    QTest::newRow("percent is literal") << s("%") << QStringList{s("O'Brien & 100% \"书局\"")};
    QTest::newRow("underscore is literal") << s("_") << QStringList{s("O'Brien & 100% \"书局\"")};
    QTest::newRow("quote") << s("O'Brien") << QStringList{s("O'Brien & 100% \"书局\"")};
    QTest::newRow("backslash") << s("C:\\") << QStringList{s("O'Brien & 100% \"书局\"")};
}

void TestPublishers::search()
{
    QFETCH(QString, keywords);
    QFETCH(QStringList, found);
    QANDOR_TESTDB(t);
    t.createDelivered();
    addPublishers(t);
    PublisherList list(t.bast());
    const auto rows = list.search(keywords);
    QVERIFY(rows);
    found.sort();
    QCOMPARE(names(*rows), found);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestPublishers::recordChecksAndEdits()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    PublisherList list(t.bast());
    QVERIFY(!list.search(s("   ")));
    QCOMPARE(t.sink.lastText(), s("请输入检索关键词!"));
    QVERIFY(!list.save({0, s("7-1"), s("  "), s("北京")}));
    QCOMPARE(t.sink.lastText(), s("出版社名称不能为空值!"));
    QCOMPARE(t.db().scalar(s("select count(*) from 出版社")).toInt(), 0);

    // The record dialog: a blank name keeps it open.
    TfrmAddOrEditBookConcern dlg(t.bast(), Publisher{});
    QCOMPARE(dlg.windowTitle(), s("添加出版社信息"));
    dlg.findChild<QLineEdit *>(s("ConcernISBN"))->setText(s("7-02"));
    QVERIFY(!dlg.save());
    dlg.findChild<QLineEdit *>(s("ConcernName"))->setText(s("人民文学出版社"));
    dlg.findChild<QLineEdit *>(s("ConcernCity"))->setText(s("北京"));
    QVERIFY(dlg.save());
    const Publisher saved = dlg.saved();
    QVERIFY(saved.id > 0);

    TfrmAddOrEditBookConcern edit(t.bast(), saved);
    QCOMPARE(edit.windowTitle(), s("修改当前选中的出版社信息"));
    edit.findChild<QLineEdit *>(s("ConcernCity"))->setText(s("北京市朝阳区"));
    QVERIFY(edit.save());
    const auto all = list.load();
    QVERIFY(all);
    QCOMPARE(all->size(), 1);
    QCOMPARE(all->first().city, s("北京市朝阳区"));
}

void TestPublishers::listButtonsByMode()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    auto visible = [](TfrmBookconcernSet &d, const char *name) { return !d.findChild<QPushButton *>(s(name))->isHidden(); };
    {
        TfrmBookconcernSet maintain(t.bast());
        QVERIFY(!maintain.chooseMode());
        QVERIFY(visible(maintain, "SpeedButton1") && visible(maintain, "SpeedButton5"));
        QVERIFY(!visible(maintain, "SpeedButton8"));
    }
    {
        TfrmBookconcernSet chooseNoRight(t.bast(), s("frmAddOrEditBookInfor"), false);
        QVERIFY(chooseNoRight.chooseMode());
        for (const char *b : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton5"})
            QVERIFY(!visible(chooseNoRight, b));
        QVERIFY(visible(chooseNoRight, "SpeedButton8") && visible(chooseNoRight, "SpeedButton4"));
        QVERIFY(visible(chooseNoRight, "SpeedButton6"));
    }
    {
        TfrmBookconcernSet chooseWithRight(t.bast(), s("frmAddOrEditMagazineInfor"), true);
        QVERIFY(visible(chooseWithRight, "SpeedButton1") && visible(chooseWithRight, "SpeedButton8"));
    }
}

void TestPublishers::emptyListMessagesAndDelete()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    {
        TfrmBookconcernSet empty(t.bast());
        empty.editPublisher();
        QCOMPARE(t.sink.lastText(), s("当前出版社数据为空,没有可以修改的对象!"));
        QVERIFY(!empty.deletePublisher());
        QCOMPARE(t.sink.lastText(), s("当前出版社数据为空,没有可以删除的对象!"));
    }
    addPublishers(t);
    TfrmBookconcernSet dlg(t.bast());
    QCOMPARE(dlg.rows().size(), 6);
    // The list is in ISBN order; the footer counts the rows.
    QCOMPARE(dlg.rows().first().isbn, s("7-1"));
    QCOMPARE(dlg.grid()->model()->footerText(0, 1), s("6个"));
    dlg.setCurrentRow(1);
    const Publisher victim = *dlg.current();
    t.sink.answers.enqueue(false);
    QVERIFY(!dlg.deletePublisher());
    QCOMPARE(t.sink.lastText(), s("是否确定要删除当前选中的出版社名为:[") + victim.name + s("]的数据?"));
    QVERIFY(dlg.deletePublisher());
    QCOMPARE(dlg.rows().size(), 5);
    QCOMPARE(t.db().scalar(s("select count(*) from 出版社 where ID=?"), {victim.id}).toInt(), 0);

    dlg.searchBox()->setText(s("上海"));
    QVERIFY(dlg.search());
    QCOMPARE(dlg.rows().size(), 1);
    QVERIFY(dlg.showAll());
    QCOMPARE(dlg.rows().size(), 5);
    QVERIFY(dlg.searchBox()->text().isEmpty());
}

void TestPublishers::choosingFillsEditor()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    addPublishers(t);
    TfrmBookconcernSet list(t.bast(), s("frmAddOrEditBookInfor"), false);
    list.searchBox()->setText(s("作家"));
    QVERIFY(list.search());
    QVERIFY(list.choose());
    const Publisher p = *list.chosen();
    QCOMPARE(p.name, s("作家出版社"));

    CatalogueContext ctx;
    ctx.bast = &t.bast();
    TfrmAddOrEditBookInfor editor(ctx);
    editor.startAdd();
    editor.applyPublisher(p.name, p.city, p.isbn);
    QCOMPARE(editor.findChild<QLineEdit *>(s("Book_Public"))->text(), s("作家出版社"));
    QCOMPARE(editor.findChild<QLineEdit *>(s("Book_City"))->text(), s("北京"));
    QCOMPARE(editor.findChild<QLineEdit *>(s("Book_ISBN"))->text(), s("7-5063"));
    // A standard ISBN already typed is kept.
    editor.findChild<QLineEdit *>(s("Book_ISBN"))->setText(s("7-111-07127-1"));
    editor.applyPublisher(s("机械工业出版社"), s("北京"), s("7-111"));
    QCOMPARE(editor.findChild<QLineEdit *>(s("Book_ISBN"))->text(), s("7-111-07127-1"));
    QCOMPARE(editor.findChild<QLineEdit *>(s("Book_Public"))->text(), s("机械工业出版社"));
}

QTEST_MAIN(TestPublishers)
#include "tst_publishers.moc"
