#pragma once

#include <QBoxLayout>
#include <QPushButton>
#include <QString>

class QDialog;
class QFormLayout;
class QTreeWidget;
class QWidget;

namespace qandor::DialogParts {

// A push button with its objectName added to a row of buttons, its click
// connected to the owner's slot (or any callable).
template <class Owner, class Slot>
QPushButton *rowButton(QBoxLayout *row, Owner *owner, const char *name, const QString &caption, Slot slot,
                       bool autoDefault = false)
{
    auto *b = new QPushButton(caption, owner);
    b->setObjectName(QString::fromUtf8(name));
    if (!autoDefault)
        b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, owner, slot);
    row->addWidget(b);
    return b;
}

// The small record dialogs: the form above the save button ("RzBitBtn1")
// and the cancel button ("RzBitBtn2", which rejects). Returns the save
// button for the dialog to connect.
QPushButton *layOutFormDialog(QDialog *dialog, QFormLayout *form, const QString &saveCaption,
                              const QString &cancelCaption);

// The class tree ("Tree") in the group "书籍类别表" below the row of
// buttons; returns the tree.
QTreeWidget *layOutClassTree(QDialog *dialog, QBoxLayout *buttons);

} // namespace qandor::DialogParts
