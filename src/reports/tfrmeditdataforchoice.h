#pragma once

#include "data/tbast.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace qandor {

// The rules of the lookup list editor: a small value table (departments,
// issue frequencies, security levels, shelf places) rewritten from a list.
class LookupListEditor {
public:
    LookupListEditor(TBast &bast, QString table, QString column);

    // The column's value of every row, in row order. A database error is
    // reported and gives an empty list.
    QStringList load() const;
    // Rewrites the table from `lines` in one transaction: empty lines are
    // skipped, the reserved word "编辑" is refused with a warning, and a
    // value repeated in the list is stored once. On success `callerList`
    // becomes the stored values followed by "编辑" (what the pick list will
    // offer from now on) and true is returned. On a database error nothing
    // is changed, neither the table nor `callerList`, and false is returned.
    // `progress` receives steps 1 .. lines + 1.
    bool save(const QStringList &lines, QStringList &callerList,
              const std::function<void(int)> &progress = {}) const;

    static QString reservedWarning() { return QStringLiteral("[编辑]一词在当前操作下为系统关键词，不可使用！"); }

private:
    TBast &m_bast;
    QString m_table, m_column;
};

class TfrmEditDataForChoice : public QDialog {
    Q_OBJECT
public:
    TfrmEditDataForChoice(TBast &bast, QStringList &list, const QString &table, const QString &column,
                          QWidget *parent = nullptr);

public slots:
    void save();

private:
    LookupListEditor m_editor;
    QStringList &m_list;
    QPlainTextEdit *m_data;
    QWidget *m_panel;
    QProgressBar *m_progress;
};

// Opens the lookup list editor on table/column and refreshes `list` when saved.
void EditListValues(TBast &bast, QStringList &list, const QString &table, const QString &column,
                    QWidget *parent = nullptr);

} // namespace qandor
