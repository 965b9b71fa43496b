#pragma once
#include "readers/readerbook.h"
#include <QDialog>

class QLabel;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace qandor {

class DataGrid;
class PagedList;

// "读者信息管理": the paged reader list with the type tree, search,
// export, print and the reader editor. In look-up mode the add, edit and
// delete commands are hidden.
class TfrmReaderManager : public QDialog {
    Q_OBJECT
public:
    TfrmReaderManager(TBast &bast, NumberRule numbering, int pageSize, QWidget *parent = nullptr);

    void setLookupMode(bool lookup);
    DataGrid *grid() const { return m_grid; }
    PagedList *pages() const { return m_pages; }
    QTreeWidget *tree() const { return m_tree; }
    // The id of the current grid row; 0 when the list is empty.
    qint64 currentId() const;
    void selectId(qint64 id);

    // A test hook: the editor is shown through this (default: exec()).
    std::function<int(QDialog &)> showEditor = [](QDialog &d) { return d.exec(); };
    // A test hook for "高级查询": returns the SELECT built (default: the search builder).
    std::function<QString(const QString &currentSql)> runSearch;

    // The list's filter for a type node: "" for "全部类型".
    QString typeFilter(const QString &nodeText) const;

public slots:
    bool showAll();
    void addReader();
    void editReader();
    void deleteReader();
    void advancedSearch();
    void toggleTree();
    void chooseColumns();
    void treeNodeChosen(QTreeWidgetItem *item);
    void exportAs(const QString &kind);
    void printList();

private:
    void afterEditor(const QList<qint64> &savedIds);

    TBast &m_bast;
    ReaderBook m_book;
    DataGrid *m_grid;
    PagedList *m_pages;
    QTreeWidget *m_tree;
    QWidget *m_treePanel;
    QLabel *m_info;
    QToolButton *m_showTree, *m_add, *m_edit, *m_del;
    QAction *m_separator = nullptr;
};

// The list's columns (the password and photo are never listed).
QString readerListFields();

} // namespace qandor
