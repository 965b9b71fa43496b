#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QLabel;
class QDialogButtonBox;

namespace qandor {

class Hub;

// The login screen. It is also the hub's face: created first, hidden after
// a good login for the rest of the run.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(Hub &hub, QWidget *parent = nullptr);

    QComboBox *UserNameList() const { return m_userNameList; }
    QLineEdit *PasEdit() const { return m_pasEdit; }
    QLabel *IniLoginInfor() const { return m_hint; }

    // Runs what the screen does when it is first shown.
    void prepare();
    // The "登录" button; true on a good login.
    bool tryLogin();

signals:
    void loggedIn();

private:
    Hub &m_hub;
    QComboBox *m_userNameList;
    QLineEdit *m_pasEdit;
    QLabel *m_hint;
    QDialogButtonBox *m_buttons;
};

} // namespace qandor
