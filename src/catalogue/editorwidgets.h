#pragma once

#include "catalogue/editorrecord.h"
#include "data/tbast.h"

#include <QHash>
#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qandor {

// The plumbing both record editors share: which control shows which
// column, copying between controls and the record, pick lists with their
// "编辑" entry and the picture box.
class EditorBinding {
public:
    void bind(const QString &column, QWidget *control) { m_controls.insert(column, control); }
    QWidget *control(const QString &column) const { return m_controls.value(column); }

    // Controls -> record. An unreadable 入库时间 becomes `today`, an
    // unreadable 出版日期 no date; an unreadable price 0.
    void pull(EditorRecord &record, const QDate &today) const;
    // Record -> controls.
    void push(const EditorRecord &record) const;

private:
    QHash<QString, QWidget *> m_controls;
};

namespace EditorWidgets {

// Fills a pick list from table.column followed by "编辑"; the text typed
// stays. Returns false on a database error (shown).
bool fillPickList(QComboBox *box, TBast &bast, const QString &table, const QString &column);
// When the pick list's text became "编辑": opens the lookup list editor,
// refills the list and clears the text. True when it acted.
bool handleEditEntry(QComboBox *box, TBast &bast, const QString &table, const QString &column, QWidget *parent);

// Shows the JPEG bytes scaled into the label (empty: no picture).
void showPicture(QLabel *label, const QByteArray &jpeg);

} // namespace EditorWidgets
} // namespace qandor

class QGroupBox;

namespace qandor::EditorWidgets {
// The online lookup group at the top of an editor, laid out as the lookup
// will need it; its buttons stay disabled until the lookup exists.
QGroupBox *buildLookupGroup(QWidget *parent, bool book);
// Blue text marks a required field.
void markRequired(QWidget *control);
} // namespace qandor::EditorWidgets
