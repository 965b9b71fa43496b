#pragma once

#include "app/usersetlogic.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qandor {

class Hub;

// "用户设置": operators and their rights. The dialog binds controls to a
// UserRecord copy; UserSetLogic checks and saves it.
class TfrmUserSet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUserSet(Hub &hub, QWidget *parent = nullptr);

    bool editing() const { return m_editing; }
    bool addingNew() const { return m_editing && m_originalName.isEmpty(); }
    QListWidget *userList() const { return m_list; }
    QCheckBox *rightBox(const QString &right) const { return m_boxes.value(right); }

    // The buttons.
    void addUser();
    void editSelected();
    void deleteSelected();
    bool postData();
    void cancelEdit();

    void reloadList(const QString &select = QString());

private:
    void setEditMode(bool editing);
    void showRecord(const UserRecord &r);
    UserRecord recordFromControls() const;
    void showSelected();

    Hub &m_hub;
    UserSetLogic m_logic;
    QLineEdit *m_userName, *m_userPas, *m_pasOk;
    QGroupBox *m_userGroup, *m_powerGroup, *m_listGroup;
    QTabWidget *m_pages;
    QListWidget *m_list;
    QHash<QString, QCheckBox *> m_boxes;
    QPushButton *m_add, *m_edit, *m_del, *m_post, *m_cancel, *m_quit;
    bool m_editing = false;
    QString m_originalName;
};

} // namespace qandor
