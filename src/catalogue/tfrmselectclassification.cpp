#include "catalogue/tfrmselectclassification.h"
#include "catalogue/dialogparts.h"
#include "catalogue/classtreelogic.h"
#include "catalogue/tfrmclassification.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qandor {

TfrmSelectClassification::TfrmSelectClassification(TBast &bast, const QString &treeFile, const QString &caller,
                                                   QWidget *parent)
    : QDialog(parent), m_bast(bast), m_treeFile(treeFile), m_caller(caller)
{
    setObjectName(QStringLiteral("frmSelectClassification"));
    setWindowTitle(QStringLiteral("选择籍类类别"));
    auto *buttons = new QHBoxLayout;
    auto button = [&](const char *name, const QString &caption, auto slot) {
        DialogParts::rowButton(buttons, this, name, caption, slot);
    };
    button("SpeedButton1", QStringLiteral("编辑书籍类别(&E)"), &TfrmSelectClassification::editClasses);
    button("SpeedButton2", QStringLiteral("选择选中类别(&S)"), &TfrmSelectClassification::choose);
    button("SpeedButton3", QStringLiteral("退出当前操作(&Q)"), &QDialog::reject);
    buttons->addStretch();

    m_tree = DialogParts::layOutClassTree(this, buttons);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { choose(); });
    auto *enter = new QShortcut(QKeySequence(Qt::Key_Return), m_tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] { choose(); });
    resize(520, 520);
    reloadTree();
}

void TfrmSelectClassification::reloadTree()
{
    ClassTreeLogic::loadForChoosing(m_tree, m_bast, m_treeFile);
}

bool TfrmSelectClassification::choose()
{
    if (!ClassTreeLogic::choose(m_tree, m_bast, m_code, m_name))
        return false;
    accept();
    return true;
}

void TfrmSelectClassification::editClasses()
{
    {
        Tfrmclassification dlg(m_bast, m_treeFile, QStringLiteral("frmSelectClassification"), this);
        dlg.exec();
    }
    // The maintenance dialog has written the cache on closing.
    reloadTree();
}

} // namespace qandor
