#include "reports/tfrmeditdataforchoice.h"
#include "support/testdb.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

const QString Places = QStringLiteral("存放位置");
const QString Place = QStringLiteral("位置");

// The shelf place table; `check` adds a constraint that refuses the value
// "BAD", so a rewrite can be made to fail half-way on either kind.
void makePlaces(TestDb &t, bool check, const QStringList &rows)
{
    const Dialect &d = t.db().dialect();
    t.db().exec(QStringLiteral("create table 存放位置 (") + d.primaryKeyColumn(QStringLiteral("ID"), QStringLiteral("int identity(1,1)"))
                + QStringLiteral(", 位置 ") + d.columnType(QStringLiteral("nvarchar(10) NULL"))
                + (check ? QStringLiteral(" check (位置 <> 'BAD')") : QString()) + QLatin1Char(')'));
    for (const QString &r : rows)
        t.db().exec(QStringLiteral("insert into 存放位置 (位置) values (?)"), {r});
}

QStringList stored(TestDb &t)
{
    QStringList out;
    QSqlQuery q = t.db().exec(QStringLiteral("select 位置 from 存放位置 order by ID"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class TestEditDataForChoice : public QObject {
    Q_OBJECT
private slots:
    void rewrite_data();
    void rewrite();
    void failureKeepsOldRows_data();
    void failureKeepsOldRows();
    void dialogLoadsAndSaves();
};

void TestEditDataForChoice::rewrite_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("warnings");
    const auto S = [](const char *s) { return QString::fromUtf8(s); };
    QTest::newRow("reserved word and empty line") << QStringList{S("财务部"), S("编辑"), S("")} << QStringList{S("财务部")} << 1;
    QTest::newRow("trimmed, repeats once") << QStringList{S(" 一楼 "), S("二楼"), S("一楼"), S("  ")}
                                           << QStringList{S("一楼"), S("二楼")} << 0;
    QTest::newRow("hostile text") << QStringList{S("O'Brien"), S("'; delete from 存放位置; --"), S("a\\b%_\"")}
                                  << QStringList{S("O'Brien"), S("'; delete from 存放位置; --"), S("a\\b%_\"")} << 0;
    QTest::newRow("empty memo clears the table") << QStringList() << QStringList() << 0;
}

void TestEditDataForChoice::rewrite()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, rows);
    QFETCH(int, warnings);
    QANDOR_TESTDB(t);
    t.db().exec(QStringLiteral("create table 存放位置 (") + t.db().dialect().primaryKeyColumn(QStringLiteral("ID"), QStringLiteral("int identity(1,1)"))
                + QStringLiteral(", 位置 ") + t.db().dialect().columnType(QStringLiteral("nvarchar(100) NULL")) + QLatin1Char(')'));
    t.db().exec(QStringLiteral("insert into 存放位置 (位置) values ('旧')"));
    LookupListEditor editor(t.bast(), Places, Place);
    QStringList callerList{QStringLiteral("旧"), QStringLiteral("编辑")};
    QList<int> steps;
    QVERIFY(editor.save(lines, callerList, [&](int s) { steps << s; }));
    QCOMPARE(stored(t), rows);
    QCOMPARE(callerList, rows + QStringList{QStringLiteral("编辑")});
    int seen = 0;
    for (const auto &e : t.sink.entries) {
        QCOMPARE(e.text, LookupListEditor::reservedWarning());
        QCOMPARE(e.kind, QStringLiteral("warn"));
        ++seen;
    }
    QCOMPARE(seen, warnings);
    QCOMPARE(steps.size(), lines.size() + 1);
    QCOMPARE(steps.last(), int(lines.size()) + 1);
    QCOMPARE(editor.load(), rows);
}

void TestEditDataForChoice::failureKeepsOldRows_data()
{
    QTest::addColumn<bool>("serverOnly");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("refused value half-way") << false << QStringList{QStringLiteral("新一"), QStringLiteral("BAD"), QStringLiteral("新二")};
    // Longer than the column's varchar(10): only the server enforces it.
    QTest::newRow("too long for the column") << true << QStringList{QStringLiteral("新一"), QStringLiteral("一二三四五六七八九十零")};
}

void TestEditDataForChoice::failureKeepsOldRows()
{
    QFETCH(bool, serverOnly);
    QFETCH(QStringList, lines);
    QANDOR_TESTDB(t);
    if (serverOnly && !t.server())
        QSKIP("the file does not limit text length");
    const QStringList old{QStringLiteral("甲"), QStringLiteral("乙")};
    makePlaces(t, true, old);
    LookupListEditor editor(t.bast(), Places, Place);
    QStringList callerList = old + QStringList{QStringLiteral("编辑")};
    const QStringList before = callerList;
    QVERIFY(!editor.save(lines, callerList));
    QCOMPARE(stored(t), old);
    QCOMPARE(callerList, before);
    QCOMPARE(t.sink.lastKind(), QStringLiteral("error"));
    // The connection is still usable afterwards.
    QVERIFY(editor.save({QStringLiteral("丙")}, callerList));
    QCOMPARE(stored(t), QStringList{QStringLiteral("丙")});
}

void TestEditDataForChoice::dialogLoadsAndSaves()
{
    QANDOR_TESTDB(t);
    makePlaces(t, true, {QStringLiteral("甲"), QStringLiteral("乙")});
    QStringList callerList;
    TfrmEditDataForChoice dlg(t.bast(), callerList, Places, Place);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("编辑存放位置信息"));
    auto *memo = dlg.findChild<QPlainTextEdit *>(QStringLiteral("DataList"));
    QVERIFY(memo);
    QCOMPARE(memo->toPlainText(), QStringLiteral("甲\n乙"));

    // A failing save keeps the dialog open with the operator's text.
    memo->setPlainText(QStringLiteral("丙\nBAD"));
    dlg.save();
    QVERIFY(dlg.result() != QDialog::Accepted);
    QCOMPARE(memo->toPlainText(), QStringLiteral("丙\nBAD"));
    QCOMPARE(stored(t), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));

    memo->setPlainText(QStringLiteral("丙\n丁\n"));
    dlg.save();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(stored(t), (QStringList{QStringLiteral("丙"), QStringLiteral("丁")}));
    QCOMPARE(callerList, (QStringList{QStringLiteral("丙"), QStringLiteral("丁"), QStringLiteral("编辑")}));
}

QTEST_MAIN(TestEditDataForChoice)
#include "tst_editdataforchoice.moc"
