#pragma once

#include "data/tbast.h"

#include <QDialog>

class QTreeWidget;

namespace qandor {

// "选择籍类类别": the class tree from the cache file; the chosen class
// number and name go back to the calling editor.
class TfrmSelectClassification : public QDialog {
    Q_OBJECT
public:
    TfrmSelectClassification(TBast &bast, const QString &treeFile, const QString &caller, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QString caller() const { return m_caller; }
    QString code() const { return m_code; }
    QString name() const { return m_name; }

public slots:
    bool choose();
    void editClasses();
    void reloadTree();

private:
    TBast &m_bast;
    QString m_treeFile;
    QString m_caller;
    QTreeWidget *m_tree;
    QString m_code, m_name;
};

} // namespace qandor
