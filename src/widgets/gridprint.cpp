#include "widgets/gridprint.h"

#include "widgets/datagrid.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace qandor {

namespace {

QFont printFont(int points, bool bold)
{
    QFont f;
    // 宋体 where installed; the other families carry the same characters elsewhere.
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

constexpr int TextFlags = Qt::TextWordWrap | Qt::AlignVCenter;

} // namespace

int renderGrid(const GridModel &model, QPagedPaintDevice &device, const QString &title)
{
    QPainter p;
    if (!p.begin(&device))
        return 0;
    const QFont titleFont = printFont(20, true), footFont = printFont(10, true);
    const QFont bodyFont = printFont(9, false), headFont = printFont(9, true);
    const int pageW = device.width(), pageH = device.height();
    const int pad = std::max(2, device.logicalDpiX() / 48);

    // Columns fitted to the page width in proportion to their grid widths.
    const QList<int> cols = model.visibleColumns();
    int total = 0;
    for (int c : cols)
        total += std::max(1, model.column(c).width);
    QList<int> x{0};
    for (int i = 0, acc = 0; i < cols.size(); ++i) {
        acc += std::max(1, model.column(cols.at(i)).width);
        x << int(qint64(pageW - 1) * acc / std::max(1, total));
    }

    // The lines to print: data rows, then footer rows.
    struct Line {
        QStringList cells;
        bool footer;
    };
    QList<Line> lines;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c : cols)
            cells << model.text(r, c);
        lines << Line{cells, false};
    }
    for (int f = 0; f < model.footerRowCount(); ++f) {
        QStringList cells;
        for (int c : cols)
            cells << model.footerText(f, c);
        lines << Line{cells, true};
    }
    QStringList captions;
    for (int c : cols)
        captions << model.headerData(c, Qt::Horizontal).toString();

    auto heightOf = [&](const QStringList &cells, const QFont &font) {
        const QFontMetrics fm(font, &device);
        int h = fm.height();
        for (int i = 0; i < cells.size(); ++i) {
            const int w = std::max(1, x.at(i + 1) - x.at(i) - 2 * pad);
            h = std::max(h, fm.boundingRect(QRect(0, 0, w, 100000), TextFlags, cells.at(i)).height());
        }
        return h + 2 * pad;
    };
    const int titleH = QFontMetrics(titleFont, &device).height() * 3 / 2;
    const int footH = QFontMetrics(footFont, &device).height() * 3 / 2;
    const int headH = heightOf(captions, headFont);
    const int bodyH = std::max(1, pageH - titleH - footH - headH);

    // Page breaks first: the footer needs the page count.
    QList<int> firstLine{0};
    QList<int> heights;
    for (int i = 0, used = 0; i < lines.size(); ++i) {
        const int h = std::min(bodyH, heightOf(lines.at(i).cells, lines.at(i).footer ? headFont : bodyFont));
        heights << h;
        if (used + h > bodyH && used > 0) {
            firstLine << i;
            used = 0;
        }
        used += h;
    }
    const int pages = int(firstLine.size());

    auto drawRow = [&](int y, int h, const QStringList &cells, const QFont &font, bool header) {
        p.setFont(font);
        for (int i = 0; i < cells.size(); ++i) {
            const QRect cell(x.at(i), y, x.at(i + 1) - x.at(i), h);
            if (header)
                p.fillRect(cell, QColor(0xE8, 0xE8, 0xE8));
            p.drawRect(cell);
            const bool right = !header && model.isNumeric(cols.at(i));
            p.drawText(cell.adjusted(pad, pad, -pad, -pad),
                       TextFlags | (header ? Qt::AlignHCenter : (right ? Qt::AlignRight : Qt::AlignLeft)), cells.at(i));
        }
    };

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            p.end();
            return 0;
        }
        p.setPen(Qt::black);
        p.setFont(titleFont);
        p.drawText(QRect(0, 0, pageW, titleH), Qt::AlignCenter, title.trimmed());
        int y = titleH;
        drawRow(y, headH, captions, headFont, true);
        y += headH;
        const int end = page + 1 < pages ? firstLine.at(page + 1) : int(lines.size());
        for (int i = firstLine.at(page); i < end; ++i) {
            drawRow(y, heights.at(i), lines.at(i).cells, lines.at(i).footer ? headFont : bodyFont, false);
            y += heights.at(i);
        }
        p.setFont(footFont);
        p.drawText(QRect(0, pageH - footH, pageW, footH), Qt::AlignCenter,
                   QStringLiteral("第%1页 共%2页").arg(page + 1).arg(pages));
    }
    p.end();
    return pages;
}

void PrintGrid(DataGrid &grid, bool landscape, const QString &title)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setColorMode(QPrinter::Color);
    printer.setDocName(title.trimmed());
    QPrintPreviewDialog preview(&printer, grid.window());
    preview.setWindowTitle(title.trimmed());
    const GridModel *model = grid.model();
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [model, title](QPrinter *pr) { renderGrid(*model, *pr, title); });
    preview.exec();
}

} // namespace qandor
