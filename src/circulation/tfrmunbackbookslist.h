#pragma once

#include "circulation/deskcommon.h"

#include <QDialog>

namespace qandor {

class DataGrid;

// "未还图书列表": the books a reader still holds, read-only.
class TfrmUnbackBooksList : public QDialog {
    Q_OBJECT
public:
    TfrmUnbackBooksList(const QList<DeskSql::OpenLoanBrief> &loans, QWidget *parent = nullptr);
    DataGrid *grid() const { return m_grid; }

    // SeeHistory of the desks that have no LendingDesk: "当前读者没有未还的图书信息！"
    // when there are none, else the list, modally.
    static void showFor(TBast &bast, const QString &readerNum, QWidget *parent);

private:
    DataGrid *m_grid;
};

} // namespace qandor
