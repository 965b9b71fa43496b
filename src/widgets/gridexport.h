#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace qandor {

class GridModel;
class DataGrid;
class TBast;

// The export kinds of the list screens' menu.
struct ExportKindInfo {
    QString kind;        // "xls", "rtf", "txt", "htm"
    QString extension;   // written file's extension ("xlsx" for "xls": a real workbook)
    QString filter;      // file dialog filter
    QString wording;     // "Excel文件", "Word文件", ...
};
// False for an unknown kind.
bool exportKindInfo(const QString &kind, ExportKindInfo &info);

// "导出" + title + "为Excel文件(yyyy-MM-dd)" — the name the save dialog offers.
QString exportDefaultName(const QString &title, const QString &kind, const QDate &today);
// The chosen name with the kind's extension appended unless it already ends with it.
QString exportFileName(const QString &chosen, const QString &kind);

// Writes every row of the model, the visible columns in grid order with
// their titles, to `path`. Text is written UTF-8 with a BOM (txt): the
// list holds names a legacy code page cannot always carry, and the BOM
// makes Notepad and Excel read it right. False with `error` set on failure;
// the file is then left as it was (written to a temporary name first).
bool writeGridFile(const GridModel &model, const QString &title, const QString &kind, const QString &path,
                   QString *error = nullptr);

// The export command: empty check, save dialog, overwrite question,
// writing, and the offer to open the file. Messages go through bast.
void ExportGrid(DataGrid &grid, const QString &title, const QString &kind, TBast &bast, QWidget *parent = nullptr);

// The parts of the command after the dialog, for callers that already
// have a path (and for tests): true when the file was written.
bool exportGridTo(const GridModel &model, const QString &title, const QString &kind, const QString &chosenPath,
                  TBast &bast, bool offerToOpen = true);

} // namespace qandor
