#include "widgets/gridexport.h"

#include "data/database.h"
#include "data/tbast.h"
#include "widgets/datagrid.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <xlsxwriter.h>

namespace qandor {

bool exportKindInfo(const QString &kind, ExportKindInfo &info)
{
    const QString k = kind.trimmed().toLower();
    if (k == QLatin1String("xls"))
        info = {k, QStringLiteral("xlsx"), QStringLiteral("Excel文件 (*.xlsx)"), QStringLiteral("Excel文件")};
    else if (k == QLatin1String("rtf"))
        info = {k, QStringLiteral("rtf"), QStringLiteral("Word文件 (*.rtf)"), QStringLiteral("Word文件")};
    else if (k == QLatin1String("txt"))
        info = {k, QStringLiteral("txt"), QStringLiteral("文本文件 (*.txt)"), QStringLiteral("文本文件")};
    else if (k == QLatin1String("htm"))
        info = {k, QStringLiteral("htm"), QStringLiteral("网页文件 (*.htm)"), QStringLiteral("网页文件")};
    else
        return false;
    return true;
}

QString exportDefaultName(const QString &title, const QString &kind, const QDate &today)
{
    ExportKindInfo info;
    if (!exportKindInfo(kind, info))
        return {};
    return QStringLiteral("导出") + title.trimmed() + QStringLiteral("为") + info.wording + QLatin1Char('(')
        + today.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(')');
}

QString exportFileName(const QString &chosen, const QString &kind)
{
    ExportKindInfo info;
    if (!exportKindInfo(kind, info))
        return chosen;
    const QString dotExt = QLatin1Char('.') + info.extension;
    if (chosen.endsWith(dotExt, Qt::CaseInsensitive))
        return chosen;
    return chosen + dotExt;
}

namespace {

struct Table {
    QList<int> cols;
    QStringList captions;
};

Table tableOf(const GridModel &model)
{
    Table t;
    t.cols = model.visibleColumns();
    for (int c : std::as_const(t.cols))
        t.captions << model.headerData(c, Qt::Horizontal).toString();
    return t;
}

bool isNull(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

// ---- xlsx

QString sheetName(const QString &title)
{
    QString s = title.trimmed();
    for (QChar c : QStringLiteral("[]:*?/\\"))
        s.replace(c, QLatin1Char('_'));
    s = s.left(31);
    return s.isEmpty() ? QStringLiteral("Sheet1") : s;
}

bool writeXlsx(const GridModel &model, const QString &title, const QString &path, QString *error)
{
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *wb = workbook_new(file.constData());
    if (!wb) {
        if (error)
            *error = QStringLiteral("无法创建文件");
        return false;
    }
    QByteArray titleUtf8 = title.trimmed().toUtf8();
    lxw_doc_properties props{};
    props.title = titleUtf8.data();
    workbook_set_properties(wb, &props);
    const QByteArray name = sheetName(title).toUtf8();
    lxw_worksheet *ws = workbook_add_worksheet(wb, name.constData());

    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "\"￥\"#,##0.00;-\"￥\"#,##0.00");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");

    const Table t = tableOf(model);
    QList<lxw_format *> countFormats;
    QList<QByteArray> keep;
    for (int i = 0; i < t.cols.size(); ++i) {
        const GridColumn &c = model.column(t.cols.at(i));
        lxw_format *f = nullptr;
        if (c.format == CellFormat::Count && !c.unit.isEmpty()) {
            f = workbook_add_format(wb);
            QString unit = c.unit;
            unit.replace(QLatin1Char('"'), QStringLiteral("\\\""));
            keep << (QStringLiteral("0\"") + unit + QLatin1Char('"')).toUtf8();
            format_set_num_format(f, keep.last().constData());
        }
        countFormats << f;
        const QByteArray cap = t.captions.at(i).toUtf8();
        worksheet_write_string(ws, 0, lxw_col_t(i), cap.constData(), bold);
        worksheet_set_column(ws, lxw_col_t(i), lxw_col_t(i), std::max(8.0, c.width / 7.0), nullptr);
    }
    for (int r = 0; r < model.rowCount(); ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int i = 0; i < t.cols.size(); ++i) {
            const int col = t.cols.at(i);
            const GridColumn &c = model.column(col);
            const QVariant v = model.value(r, col);
            const lxw_col_t x = lxw_col_t(i);
            if (isNull(v))
                continue;
            switch (c.format) {
            case CellFormat::Money:
                // Written once as the sheet's number type; amounts are exact to 1/10000.
                worksheet_write_number(ws, row, x, double(Money::fromVariant(v).units()) / Money::Scale, money);
                continue;
            case CellFormat::Count:
                worksheet_write_number(ws, row, x, double(v.toLongLong()), countFormats.at(i));
                continue;
            case CellFormat::Date: {
                const QDate d = toDate(v);
                if (d.isValid()) {
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                    worksheet_write_datetime(ws, row, x, &dt, date);
                    continue;
                }
                break;
            }
            case CellFormat::Boolean:
                worksheet_write_boolean(ws, row, x, toBool(v) ? 1 : 0, nullptr);
                continue;
            case CellFormat::Text:
                switch (v.typeId()) {
                case QMetaType::Int:
                case QMetaType::LongLong:
                case QMetaType::UInt:
                case QMetaType::ULongLong:
                case QMetaType::Double:
                    worksheet_write_number(ws, row, x, v.toDouble(), nullptr);
                    continue;
                default:
                    break;
                }
                break;
            }
            const QByteArray s = model.text(r, col).toUtf8();
            worksheet_write_string(ws, row, x, s.constData(), nullptr);
        }
    }
    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(rc));
        return false;
    }
    return true;
}

// ---- text formats

QString cleanCell(QString s)
{
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

QByteArray textOf(const GridModel &model)
{
    const Table t = tableOf(model);
    QString out;
    QStringList caps;
    for (const QString &c : t.captions)
        caps << cleanCell(c);
    out += caps.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c : t.cols)
            cells << cleanCell(model.text(r, c));
        out += cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray htmlOf(const GridModel &model, const QString &title)
{
    const Table t = tableOf(model);
    const QString esc = title.trimmed().toHtmlEscaped();
    QString out = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>") + esc
        + QStringLiteral("</title>\n</head>\n<body>\n<h3>") + esc
        + QStringLiteral("</h3>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr>");
    for (const QString &c : t.captions)
        out += QStringLiteral("<th>") + c.toHtmlEscaped() + QStringLiteral("</th>");
    out += QStringLiteral("</tr>\n");
    for (int r = 0; r < model.rowCount(); ++r) {
        out += QStringLiteral("<tr>");
        for (int c : t.cols) {
            out += model.isNumeric(c) ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>");
            out += model.text(r, c).toHtmlEscaped() + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n</body>\n</html>\n");
    return out.toUtf8();
}

// RTF is 7-bit: everything beyond ASCII goes as \uN? (N a signed 16-bit
// code unit, so characters beyond the BMP become their two surrogates).
QByteArray rtfText(const QString &s)
{
    QByteArray out;
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t' || u == '\r' || u == '\n') {
            out += ' ';
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
        }
    }
    return out;
}

QByteArray rtfOf(const GridModel &model, const QString &title)
{
    const Table t = tableOf(model);
    QList<int> rights;
    int x = 0;
    for (int c : t.cols) {
        x += std::max(20, model.column(c).width) * 15;   // pixels to twips
        rights << x;
    }
    QByteArray row;
    QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset134 " + rtfText(QStringLiteral("宋体"))
        + ";}}\n\\paperw11906\\paperh16838\\margl720\\margr720\n";
    out += "\\pard\\qc\\b\\fs32 " + rtfText(title.trimmed()) + "\\b0\\fs18\\par\n";
    auto rowOf = [&](const QStringList &cells, bool header) {
        QByteArray r = "\\trowd\\trgaph60";
        for (int right : std::as_const(rights))
            r += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx" + QByteArray::number(right);
        r += '\n';
        for (int i = 0; i < cells.size(); ++i) {
            r += "\\pard\\intbl";
            r += (!header && model.isNumeric(t.cols.at(i))) ? "\\qr " : "\\ql ";
            if (header)
                r += "\\b ";
            r += rtfText(cells.at(i));
            if (header)
                r += "\\b0";
            r += "\\cell\n";
        }
        r += "\\row\n";
        return r;
    };
    out += rowOf(t.captions, true);
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c : t.cols)
            cells << model.text(r, c);
        out += rowOf(cells, false);
    }
    out += "\\pard\\par\n}\n";
    return out;
}

} // namespace

bool writeGridFile(const GridModel &model, const QString &title, const QString &kind, const QString &path,
                   QString *error)
{
    ExportKindInfo info;
    if (!exportKindInfo(kind, info)) {
        if (error)
            *error = QStringLiteral("未知的导出格式: ") + kind;
        return false;
    }
    if (info.kind == QLatin1String("xls")) {
        // Written under a temporary name so a failure leaves an old file intact.
        const QString tmp = path + QStringLiteral(".part");
        QFile::remove(tmp);
        if (!writeXlsx(model, title, tmp, error)) {
            QFile::remove(tmp);
            return false;
        }
        if (QFile::exists(path) && !QFile::remove(path)) {
            QFile::remove(tmp);
            if (error)
                *error = QStringLiteral("无法替换原有文件");
            return false;
        }
        if (!QFile::rename(tmp, path)) {
            QFile::remove(tmp);
            if (error)
                *error = QStringLiteral("无法写入文件");
            return false;
        }
        return true;
    }
    QByteArray bytes;
    if (info.kind == QLatin1String("txt"))
        bytes = textOf(model);
    else if (info.kind == QLatin1String("htm"))
        bytes = htmlOf(model, title);
    else
        bytes = rtfOf(model, title);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool exportGridTo(const GridModel &model, const QString &title, const QString &kind, const QString &chosenPath,
                  TBast &bast, bool offerToOpen)
{
    const QString path = exportFileName(chosenPath, kind);
    if (QFileInfo::exists(path)) {
        const QString ask = QStringLiteral("有同名文件:\n\n\"") + path + QStringLiteral("\"\n\n已经存在,是否替换原有文件？");
        if (!bast.AskMsg(ask, QStringLiteral("yes")))
            return false;
    }
    QString error;
    if (!writeGridFile(model, title, kind, path, &error)) {
        bast.ShowMsg(QStringLiteral("文件导出失败！\n\n") + path + QStringLiteral("\n") + error, QStringLiteral("error"));
        return false;
    }
    if (offerToOpen) {
        const QString ask = QStringLiteral("文件成功导出!\n\n导出路径为：\"") + path
            + QStringLiteral("\"\n\n是否马上打开查看所导出的文件？");
        if (bast.AskMsg(ask, QStringLiteral("yes")))
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    return true;
}

void ExportGrid(DataGrid &grid, const QString &title, const QString &kind, TBast &bast, QWidget *parent)
{
    const GridModel &model = *grid.model();
    if (model.rowCount() == 0) {
        bast.ShowMsg(QStringLiteral("当前数据为空，没有可进行数据导出的对象！"), QStringLiteral("warn"));
        return;
    }
    ExportKindInfo info;
    if (!exportKindInfo(kind, info))
        return;
    // Replacing is asked once, after the extension is settled.
    const QString chosen = QFileDialog::getSaveFileName(parent, QStringLiteral("另存为:"),
                                                        exportDefaultName(title, kind, QDate::currentDate()),
                                                        info.filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    exportGridTo(model, title, kind, chosen, bast, true);
}

} // namespace qandor
