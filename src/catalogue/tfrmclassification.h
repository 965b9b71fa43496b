#pragma once

#include "data/tbast.h"
#include "data/treetable.h"

#include <QDialog>

class QTreeWidget;

namespace qandor {

// "书籍类别设置": the class tree read from 书籍类别, edited node by node;
// the tree cache file is written each time the dialog closes.
class Tfrmclassification : public QDialog {
    Q_OBJECT
public:
    Tfrmclassification(TBast &bast, const QString &treeFile, const QString &caller = QString(), QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QString caller() const { return m_caller; }

    // The node dialog's operations (also what tests drive).
    bool addClass(bool asSibling, const QString &code, const QString &name);
    bool updateSelected(const QString &code, const QString &name);

public slots:
    void addSibling();
    void addChild();
    void editSelected();
    bool deleteSelected();

protected:
    void done(int result) override;

private:
    TBast &m_bast;
    TreeTable m_table;
    QString m_treeFile;
    QString m_caller;
    QTreeWidget *m_tree;
    bool m_saved = false;
};

} // namespace qandor
