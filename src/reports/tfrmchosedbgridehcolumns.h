#pragma once

#include "data/tbast.h"
#include "reports/gridcolumns.h"

#include <QDialog>

class QListWidget;

namespace qandor {

// "选择数据表显示及输出项": which grid columns are shown, exported and
// printed. Rows can be dragged to reorder the columns.
class TfrmChoseDBGridEhColumns : public QDialog {
    Q_OBJECT
public:
    TfrmChoseDBGridEhColumns(TBast &bast, GridColumns &grid, QWidget *parent = nullptr);

public slots:
    void tickAll();
    void invert();
    void untickAll();
    void confirm();

private:
    void readList();
    void fillList();

    TBast &m_bast;
    ColumnChoice m_choice;
    QListWidget *m_list;
};

// Opens the column chooser for a grid; returns the dialog's result.
int ChooseGridColumns(TBast &bast, GridColumns &grid, QWidget *parent = nullptr);

} // namespace qandor
