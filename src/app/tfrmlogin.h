#pragma once

#include "app/loginlogic.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QLabel;
class QDialogButtonBox;

namespace qandor {

class Hub;

// The login screen. It is also the hub's face: created first, hidden after
// a good login for the rest of the run. The rules are in LoginLogic.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(Hub &hub, QWidget *parent = nullptr);

    QComboBox *UserNameList() const { return m_userNameList; }
    QLineEdit *PasEdit() const { return m_pasEdit; }
    QLabel *IniLoginInfor() const { return m_hint; }
    LoginLogic &logic() { return m_logic; }

    // Progress of the long start-up steps (the database upgrade).
    void setProgress(ProgressFn progress) { m_progress = std::move(progress); }
    // Runs what the screen does when it is first shown (the start-up
    // housekeeping). Throws DbError.
    void prepare();
    // The "登录" button; true on a good login.
    bool tryLogin();

    // "退出" and the close box: ask, back up on OK; the program ends either way.
    void reject() override;

signals:
    void loggedIn();

private:
    Hub &m_hub;
    LoginLogic m_logic;
    ProgressFn m_progress;
    QComboBox *m_userNameList;
    QLineEdit *m_pasEdit;
    QLabel *m_hint;
    QDialogButtonBox *m_buttons;
};

} // namespace qandor
