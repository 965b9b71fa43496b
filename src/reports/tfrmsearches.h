#pragma once

#include "data/tbast.h"
#include "reports/searchbuilder.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace qandor {

// "数据查询": the operator picks columns, operators and values, links the
// conditions, and the screen builds the SELECT for the list screen.
class Tfrmsearches : public QDialog {
    Q_OBJECT
public:
    Tfrmsearches(TBast &bast, const QString &table, const QString &columnList, int mode,
                 const QString &extra = QString(), QWidget *parent = nullptr);

    // False when the column catalogue could not be read (already reported).
    bool ready() const { return m_ready; }
    SearchBuilder &builder() { return m_builder; }
    // The statement built by "查询(&F)"; empty until then.
    QString sql() const { return m_sql; }
    QString where() const { return m_where; }

    // Grid columns.
    enum { ColNumber, ColLink, ColColumn, ColOperator, ColValue };

public slots:
    void addSelected();
    void addAll();
    void removeCurrent();
    void removeAll();
    void cellClicked(int row, int column);
    void search();
    // Opens the value list for the value cell being edited.
    void openValueList();

private:
    void refreshGrid();
    void hideEditors();
    void placeEditor(QWidget *editor, int row, int column);
    void editorChanged(const QString &text);

    TBast &m_bast;
    QString m_table, m_extra;
    SearchBuilder m_builder;
    bool m_ready = false;
    QString m_sql, m_where;

    QListWidget *m_items;
    QTableWidget *m_grid;
    QComboBox *m_select;
    QLineEdit *m_str;
    QDateEdit *m_date;
    QLineEdit *m_num;
    int m_editRow = -1, m_editColumn = -1;
    bool m_filling = false;
};

// Opens the search builder on a table modally and returns the SELECT it
// built; when it is cancelled or cannot open, `currentSql` comes back
// unchanged. `where` (optional) receives the filter alone.
QString AdvancedSearch(TBast &bast, const QString &table, const QString &columnList, int mode,
                       const QString &currentSql, QWidget *parent = nullptr, QString *where = nullptr);

} // namespace qandor
