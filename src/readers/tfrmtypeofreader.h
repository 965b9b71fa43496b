#pragma once
#include "readers/readertypes.h"
#include <QDialog>

namespace qandor {

class DataGrid;

// "读者类型设置": the list of reader types with add, edit, delete and print.
class TfrmTypeOfReader : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTypeOfReader(TBast &bast, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    // The type of the current grid row; null when the list is empty.
    const ReaderType *currentType() const;
    void selectType(const QString &name);

    // A test hook: the editor is shown through this (default: exec()).
    std::function<int(QDialog &)> showEditor = [](QDialog &d) { return d.exec(); };

public slots:
    void openTypeList();
    void addType();
    void editType();
    void deleteType();
    void printList();

private:
    TBast &m_bast;
    ReaderTypeBook m_book;
    QList<ReaderType> m_types;
    DataGrid *m_grid;
};

} // namespace qandor
