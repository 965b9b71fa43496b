#pragma once

#include "catalogue/publisherlist.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace qandor {

class DataGrid;

// "出版社设置": the publisher list, for maintenance (from the main window)
// or for choosing (from a record editor, which passes its caller name).
class TfrmBookconcernSet : public QDialog {
    Q_OBJECT
public:
    TfrmBookconcernSet(TBast &bast, const QString &caller = QString(), bool editRight = true, QWidget *parent = nullptr);

    bool chooseMode() const { return m_chooseMode; }
    DataGrid *grid() const { return m_grid; }
    QLineEdit *searchBox() const { return m_search; }
    const QList<Publisher> &rows() const { return m_rows; }
    // The row under the grid's cursor, or nullopt for an empty list.
    std::optional<Publisher> current() const;
    void setCurrentRow(int row);
    // The publisher chosen ("选择选中类别"), when the dialog was accepted.
    std::optional<Publisher> chosen() const { return m_chosen; }

public slots:
    bool showAll();
    bool search();
    void addPublisher();
    void editPublisher();
    bool deletePublisher();
    void printList();
    bool choose();

private:
    void showRows(const QList<Publisher> &rows);

    TBast &m_bast;
    PublisherList m_list;
    bool m_chooseMode;
    DataGrid *m_grid;
    QLineEdit *m_search;
    QList<Publisher> m_rows;
    std::optional<Publisher> m_chosen;
};

} // namespace qandor
