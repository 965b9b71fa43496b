#pragma once

#include "data/tbast.h"

#include <QDialog>

class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace qandor {

// The distinct values a text column holds, narrowed by a filter; the
// chosen one goes back into the search condition.
class Tfrmvaluelist : public QDialog {
    Q_OBJECT
public:
    Tfrmvaluelist(TBast &bast, const QString &table, const QString &sqlColumn, const QString &displayName,
                  const QString &extra = QString(), QWidget *parent = nullptr);

    QString chosen() const { return m_chosen; }
    QStringList shownValues() const;

public slots:
    void refresh();
    void choose();

private:
    TBast &m_bast;
    QString m_table, m_column, m_extra;
    QLineEdit *m_filter;
    QTableView *m_grid;
    QStandardItemModel *m_model;
    QString m_chosen;
};

} // namespace qandor
