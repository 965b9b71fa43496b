#include "widgets/datagrid.h"
#include "widgets/gridprint.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

using namespace qandor;

class TestGridPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pagesRepeatHeadersAndNumber_data();
    void pagesRepeatHeadersAndNumber();
    void emptyGridPrintsOnePage();

private:
    QTemporaryDir m_dir;
    GridModel m_model;
};

namespace {

QString print(const GridModel &model, const QString &path, bool landscape, int *pages)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    *pages = renderGrid(model, printer, QStringLiteral("图书借阅信息"));
    return path;
}

// Page count and first media box read from the PDF itself.
int pdfPageCount(const QByteArray &pdf)
{
    int n = 0;
    for (auto it = QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")).globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++n;
    return n;
}

QSizeF mediaBox(const QByteArray &pdf)
{
    const auto m = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)")).match(QString::fromLatin1(pdf));
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

// Some CJK fonts map ideographs to radical code points in the PDF's text
// layer (页 as U+2EDA, 金 as U+2FA6): both sides are compared folded.
QString norm(const QString &s)
{
    QString t = s.normalized(QString::NormalizationForm_KC);
    t.replace(QChar(0x2EDA), QStringLiteral("页"));
    return t;
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return norm(QString::fromUtf8(p.readAllStandardOutput()));
}

} // namespace

void TestGridPrint::initTestCase()
{
    GridColumn status{QStringLiteral("状态"), QStringLiteral("状态")};
    status.footers = {{FooterCell::Text, QStringLiteral("本页汇总:")}};
    GridColumn name{QStringLiteral("名称"), QStringLiteral("图书名称")};
    name.footers = {{FooterCell::RowCount, QStringLiteral("条记录")}};
    GridColumn rent{QStringLiteral("租金"), QStringLiteral("借阅租金"), CellFormat::Money};
    rent.footers = {{FooterCell::Sum, {}}};
    PageRows rows;
    rows.columns = {QStringLiteral("ID"), QStringLiteral("状态"), QStringLiteral("名称"), QStringLiteral("租金")};
    rows.keyColumn = 0;
    for (int i = 300; i >= 1; --i)
        rows.rows << QVariantList{i, i % 2 ? QStringLiteral("已还") : QStringLiteral("未还"), QStringLiteral("书名%1").arg(i), 0.5};
    m_model.setColumns({status, name, rent});
    m_model.setPage(rows);
}

void TestGridPrint::pagesRepeatHeadersAndNumber_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::newRow("portrait") << false;
    QTest::newRow("landscape") << true;
}

void TestGridPrint::pagesRepeatHeadersAndNumber()
{
    QFETCH(bool, landscape);
    int pages = 0;
    const QString path = print(m_model, m_dir.filePath(landscape ? QStringLiteral("l.pdf") : QStringLiteral("p.pdf")), landscape, &pages);
    QVERIFY(pages > 1);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    QCOMPARE(pdfPageCount(pdf), pages);
    const QSizeF box = mediaBox(pdf);
    QCOMPARE(box.width() > box.height(), landscape);

    // Landscape pages hold fewer rows, so the same grid takes more of them.
    int other = 0;
    print(m_model, m_dir.filePath(QStringLiteral("other.pdf")), !landscape, &other);
    QCOMPARE(pages > other, landscape);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed: page texts not checked");
    const QStringList pageTexts = pdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pageTexts.size(), pages);
    for (int i = 0; i < pages; ++i) {
        const QString &t = pageTexts.at(i);
        QVERIFY2(t.contains(norm(QStringLiteral("图书借阅信息"))), qPrintable(QString::number(i)));
        QVERIFY(t.contains(norm(QStringLiteral("图书名称"))));
        QVERIFY2(t.contains(norm(QStringLiteral("借阅租金"))), qPrintable(t.left(200)));
        // pdftotext spaces text its own way: compare without blanks.
        QVERIFY2(QString(t).remove(QLatin1Char(' ')).contains(norm(QStringLiteral("第%1页共%2页").arg(i + 1).arg(pages))),
                 qPrintable(t.right(80)));
        // The footer row comes once, after the last row.
        QCOMPARE(t.contains(norm(QStringLiteral("本页汇总:"))), i == pages - 1);
    }
    QVERIFY(pageTexts.first().contains(norm(QStringLiteral("书名300"))));
    QVERIFY(pageTexts.last().contains(norm(QStringLiteral("300条记录"))));
    QVERIFY(pageTexts.last().contains(norm(QStringLiteral("￥150.00"))));
    // Every row printed exactly once.
    const QString all = pageTexts.join(QLatin1Char('\n'));
    for (int n : {1, 2, 150, 299, 300})
        QCOMPARE(all.count(QRegularExpression(norm(QStringLiteral("书名%1(?!\\d)").arg(n)))), 1);
}

void TestGridPrint::emptyGridPrintsOnePage()
{
    GridModel empty;
    empty.setColumns(m_model.columns());
    int pages = 0;
    print(empty, m_dir.filePath(QStringLiteral("e.pdf")), true, &pages);
    QCOMPARE(pages, 1);
}

QTEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"
