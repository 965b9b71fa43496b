#include "widgets/datagrid.h"
#include "widgets/gridexport.h"
#include "support/recordingsink.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultNamesAndExtensions_data();
    void defaultNamesAndExtensions();
    void xlsxHasTypedCellsAndBoldTitles();
    void htmlEscapesAndDeclaresCharset();
    void rtfEscapesChinese();
    void textIsTabSeparatedUtf8();
    void hiddenColumnsAreNotWritten();
    void existingFileReplacedOnlyAfterYes();
    void emptyGridWarnsAndWritesNothing();

private:
    QTemporaryDir m_dir;
    GridModel m_model;
};

namespace {

QList<GridColumn> columns()
{
    GridColumn name{QStringLiteral("名称"), QStringLiteral("图书名称")};
    GridColumn rent{QStringLiteral("租金"), QStringLiteral("借阅租金"), CellFormat::Money};
    GridColumn days{QStringLiteral("天数"), QStringLiteral("借阅天数"), CellFormat::Count, QStringLiteral("天")};
    GridColumn date{QStringLiteral("日期"), QStringLiteral("借出日期"), CellFormat::Date};
    return {name, rent, days, date};
}

PageRows rows()
{
    PageRows p;
    p.columns = {QStringLiteral("ID"), QStringLiteral("名称"), QStringLiteral("租金"), QStringLiteral("天数"),
                 QStringLiteral("日期")};
    p.keyColumn = 0;
    p.rows = {
        {2, QStringLiteral("<红楼梦> & \"O'Brien\""), QStringLiteral("1234.5000"), 7, QStringLiteral("2024-03-01")},
        {1, QStringLiteral("{a}\\b\t𠀋"), -0.05, 0, QVariant()},
    };
    return p;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray unzipEntry(const QString &zip, const QString &entry)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, entry});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

// The <c> element of one cell reference in a sheet's XML.
QString cellXml(const QString &sheet, const QString &ref)
{
    const QRegularExpression re(QStringLiteral("<c r=\"%1\"[^>]*?(/>|>.*?</c>)").arg(ref));
    return re.match(sheet).captured(0);
}

} // namespace

void TestGridExport::init()
{
    m_model.setColumns(columns());
    m_model.setPage(rows());
}

void TestGridExport::defaultNamesAndExtensions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("xls") << QStringLiteral("xls") << QStringLiteral("导出图书借阅信息为Excel文件(2024-03-01)")
                         << QStringLiteral("/t/a") << QStringLiteral("/t/a.xlsx");
    QTest::newRow("xls upper case kept") << QStringLiteral("xls") << QStringLiteral("导出图书借阅信息为Excel文件(2024-03-01)")
                                         << QStringLiteral("/t/A.XLSX") << QStringLiteral("/t/A.XLSX");
    QTest::newRow("rtf") << QStringLiteral("rtf") << QStringLiteral("导出图书借阅信息为Word文件(2024-03-01)")
                         << QStringLiteral("/t/b.RTF") << QStringLiteral("/t/b.RTF");
    QTest::newRow("txt, ext only in the name") << QStringLiteral("txt") << QStringLiteral("导出图书借阅信息为文本文件(2024-03-01)")
                                               << QStringLiteral("/t/ctxt") << QStringLiteral("/t/ctxt.txt");
    QTest::newRow("htm") << QStringLiteral("htm") << QStringLiteral("导出图书借阅信息为网页文件(2024-03-01)")
                         << QStringLiteral("/t/d.html") << QStringLiteral("/t/d.html.htm");
}

void TestGridExport::defaultNamesAndExtensions()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(exportDefaultName(QStringLiteral(" 图书借阅信息 "), kind, QDate(2024, 3, 1)), name);
    QCOMPARE(exportFileName(chosen, kind), written);
}

void TestGridExport::xlsxHasTypedCellsAndBoldTitles()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    const QString path = m_dir.filePath(QStringLiteral("x.xlsx"));
    QString error;
    QVERIFY2(writeGridFile(m_model, QStringLiteral("图书借阅信息"), QStringLiteral("xls"), path, &error), qPrintable(error));
    const QString sheet = QString::fromUtf8(unzipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    const QString strings = QString::fromUtf8(unzipEntry(path, QStringLiteral("xl/sharedStrings.xml")));
    const QString styles = QString::fromUtf8(unzipEntry(path, QStringLiteral("xl/styles.xml")));
    QVERIFY(!sheet.isEmpty());
    for (const char *cap : {"图书名称", "借阅租金", "借阅天数", "借出日期"})
        QVERIFY2(strings.contains(QString::fromUtf8(cap)), cap);
    QVERIFY(strings.contains(QStringLiteral("&lt;红楼梦&gt; &amp;")));

    // Money, counts and dates are numeric cells (no t="s"), amounts exact.
    const QString money = cellXml(sheet, QStringLiteral("B2"));
    QVERIFY2(!money.contains(QStringLiteral("t=\"")) && money.contains(QStringLiteral("<v>1234.5</v>")), qPrintable(money));
    QVERIFY(cellXml(sheet, QStringLiteral("B3")).contains(QStringLiteral("<v>-0.05</v>")));
    QVERIFY(cellXml(sheet, QStringLiteral("C2")).contains(QStringLiteral("<v>7</v>")));
    QVERIFY(cellXml(sheet, QStringLiteral("D2")).contains(QStringLiteral("<v>45352</v>")));   // 2024-03-01
    QVERIFY(cellXml(sheet, QStringLiteral("A2")).contains(QStringLiteral("t=\"s\"")));
    QVERIFY(cellXml(sheet, QStringLiteral("D3")).isEmpty());   // null date: no cell
    QVERIFY(styles.contains(QStringLiteral("formatCode=\"&quot;￥&quot;#,##0.00")));
    QVERIFY(styles.contains(QStringLiteral("formatCode=\"yyyy-mm-dd\"")));

    // The title row's style points to a bold font; the data rows' do not.
    auto styleOf = [&](const QString &ref) {
        return QRegularExpression(QStringLiteral("s=\"(\\d+)\"")).match(cellXml(sheet, ref)).captured(1).toInt();
    };
    const QString xfs = QRegularExpression(QStringLiteral("<cellXfs.*?</cellXfs>"),
                                           QRegularExpression::DotMatchesEverythingOption).match(styles).captured(0);
    const QString fontsXml = QRegularExpression(QStringLiteral("<fonts.*?</fonts>"),
                                                QRegularExpression::DotMatchesEverythingOption).match(styles).captured(0);
    QStringList xfList, fontList;
    for (auto it = QRegularExpression(QStringLiteral("<xf [^>]*")).globalMatch(xfs); it.hasNext();)
        xfList << it.next().captured(0);
    for (auto it = QRegularExpression(QStringLiteral("<font>.*?</font>|<font/>"),
                                      QRegularExpression::DotMatchesEverythingOption).globalMatch(fontsXml); it.hasNext();)
        fontList << it.next().captured(0);
    auto boldStyle = [&](int s) {
        const int font = QRegularExpression(QStringLiteral("fontId=\"(\\d+)\"")).match(xfList.value(s)).captured(1).toInt();
        return fontList.value(font).contains(QStringLiteral("<b/>"));
    };
    QVERIFY(boldStyle(styleOf(QStringLiteral("A1"))));
    QVERIFY(boldStyle(styleOf(QStringLiteral("D1"))));
    QVERIFY(!boldStyle(styleOf(QStringLiteral("A2"))));
    QVERIFY(!boldStyle(styleOf(QStringLiteral("B2"))));
}

void TestGridExport::htmlEscapesAndDeclaresCharset()
{
    const QString path = m_dir.filePath(QStringLiteral("h.htm"));
    QVERIFY(writeGridFile(m_model, QStringLiteral("借阅<清单>"), QStringLiteral("htm"), path));
    const QString html = QString::fromUtf8(readFile(path));
    QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(html.contains(QStringLiteral("<title>借阅&lt;清单&gt;</title>")));
    QVERIFY(html.contains(QStringLiteral("<td>&lt;红楼梦&gt; &amp; &quot;O'Brien&quot;</td>")));
    QVERIFY(!html.contains(QStringLiteral("<红楼梦>")));
    QVERIFY(html.contains(QStringLiteral("<th>借阅租金</th>")));
    QVERIFY(html.contains(QStringLiteral(">￥1,234.50</td>")));
    QVERIFY(html.contains(QStringLiteral(">-￥0.05</td>")));
    QCOMPARE(html.count(QStringLiteral("<tr>")), 3);
}

void TestGridExport::rtfEscapesChinese()
{
    const QString path = m_dir.filePath(QStringLiteral("r.rtf"));
    QVERIFY(writeGridFile(m_model, QStringLiteral("借阅"), QStringLiteral("rtf"), path));
    const QByteArray rtf = readFile(path);
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.trimmed().endsWith('}'));
    for (char c : rtf)
        QVERIFY(uchar(c) < 0x80);   // 7-bit only
    // 借 = U+501F = 20511, 阅 = U+9605 → -27131 as a signed 16-bit value.
    QVERIFY(rtf.contains("\\u20511?\\u-27131?"));
    // Braces and backslashes in values are escaped; a character beyond the BMP is two escapes.
    QVERIFY(rtf.contains("\\{a\\}\\\\b"));
    QVERIFY(rtf.contains("\\u-10176?\\u-9205?"));   // U+2000B
    QCOMPARE(rtf.count("\\row"), 3);
    // Balanced braces.
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\') { ++i; continue; }
        depth += rtf.at(i) == '{' ? 1 : rtf.at(i) == '}' ? -1 : 0;
        QVERIFY(depth >= 0);
    }
    QCOMPARE(depth, 0);
}

void TestGridExport::textIsTabSeparatedUtf8()
{
    const QString path = m_dir.filePath(QStringLiteral("t.txt"));
    QVERIFY(writeGridFile(m_model, QStringLiteral("借阅"), QStringLiteral("txt"), path));
    const QByteArray bytes = readFile(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0).split(QLatin1Char('\t')),
             (QStringList{QStringLiteral("图书名称"), QStringLiteral("借阅租金"), QStringLiteral("借阅天数"), QStringLiteral("借出日期")}));
    QCOMPARE(lines.at(1).split(QLatin1Char('\t')),
             (QStringList{QStringLiteral("<红楼梦> & \"O'Brien\""), QStringLiteral("￥1,234.50"), QStringLiteral("7天"),
                          QStringLiteral("2024-03-01")}));
    // A tab inside a value cannot shift the columns.
    QCOMPARE(lines.at(2).split(QLatin1Char('\t')).size(), 4);
    QCOMPARE(lines.at(2).split(QLatin1Char('\t')).at(0), QStringLiteral("{a}\\b 𠀋"));
}

void TestGridExport::hiddenColumnsAreNotWritten()
{
    m_model.setColumnVisible(1, false);
    m_model.moveColumn(3, 0);
    const QString path = m_dir.filePath(QStringLiteral("v.txt"));
    QVERIFY(writeGridFile(m_model, QStringLiteral("借阅"), QStringLiteral("txt"), path));
    const QStringList lines = QString::fromUtf8(readFile(path).mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.at(0), QStringLiteral("借出日期\t图书名称\t借阅天数"));
    QVERIFY(!lines.join(QString()).contains(QStringLiteral("￥")));
}

void TestGridExport::existingFileReplacedOnlyAfterYes()
{
    RecordingSink sink;
    TBast bast(nullptr, &sink);
    const QString chosen = m_dir.filePath(QStringLiteral("same"));
    const QString path = chosen + QStringLiteral(".htm");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();

    sink.answers.enqueue(false);
    QVERIFY(!exportGridTo(m_model, QStringLiteral("借阅"), QStringLiteral("htm"), chosen, bast, true));
    QCOMPARE(readFile(path), QByteArray("old"));
    QCOMPARE(sink.entries.size(), 1);
    QCOMPARE(sink.lastText(), QStringLiteral("有同名文件:\n\n\"") + path + QStringLiteral("\"\n\n已经存在,是否替换原有文件？"));
    QCOMPARE(sink.lastKind(), QStringLiteral("yes"));

    sink.clear();
    sink.answers.enqueue(true);   // replace
    sink.answers.enqueue(false);  // do not open
    QVERIFY(exportGridTo(m_model, QStringLiteral("借阅"), QStringLiteral("htm"), chosen, bast, true));
    QVERIFY(readFile(path).contains("<table"));
    QCOMPARE(sink.entries.size(), 2);
    QCOMPARE(sink.lastText(), QStringLiteral("文件成功导出!\n\n导出路径为：\"") + path
                                  + QStringLiteral("\"\n\n是否马上打开查看所导出的文件？"));

    // A folder that cannot be written: an error message, no success question.
    sink.clear();
    QVERIFY(!exportGridTo(m_model, QStringLiteral("借阅"), QStringLiteral("xls"), m_dir.filePath(QStringLiteral("no/such/dir/x")),
                          bast, true));
    QCOMPARE(sink.entries.size(), 1);
    QCOMPARE(sink.lastKind(), QStringLiteral("error"));
}

void TestGridExport::emptyGridWarnsAndWritesNothing()
{
    RecordingSink sink;
    TBast bast(nullptr, &sink);
    DataGrid grid;
    grid.setColumns(columns());
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    ExportGrid(grid, QStringLiteral("借阅"), QStringLiteral("xls"), bast);
    QCOMPARE(sink.texts(), QStringList{QStringLiteral("当前数据为空，没有可进行数据导出的对象！")});
    QCOMPARE(sink.lastKind(), QStringLiteral("warn"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
}

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
