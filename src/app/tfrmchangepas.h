#pragma once

#include "app/changepaslogic.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qandor {

class Hub;

// "修改当前登录用户的密码".
class TfrmChangePas : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChangePas(Hub &hub, QWidget *parent = nullptr);

    // "确定修改"; true when the screen closed.
    bool confirmChange();

private:
    ChangePasLogic m_logic;
    QLineEdit *m_old, *m_new, *m_repeat;
};

} // namespace qandor
