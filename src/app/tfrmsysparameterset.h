#pragma once

#include "app/sysparameterset.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qandor {

class Hub;

// "系统参数设置": numbering rules, overdue reminders, page size and the
// exit backup. The rules live in SysParameterSetLogic.
class TfrmSysParameterSet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSysParameterSet(Hub &hub, QWidget *parent = nullptr);

    // What the screen does when shown (also run by the constructor).
    void loadValues();
    // "保存退出"; true when the screen closed.
    bool saveAndClose();
    // Values as the controls hold them.
    SysParameterValues values() const;
    SysParameterSetLogic &logic() { return m_logic; }

private:
    void showValues(const SysParameterValues &v);
    void browseFolder();

    Hub &m_hub;
    SysParameterSetLogic m_logic;
    QCheckBox *m_rAuto, *m_bAuto, *m_mAuto;
    QSpinBox *m_rLength, *m_bLength, *m_mLength, *m_pageSize;
    QCheckBox *m_bookWarn, *m_magWarn, *m_backupCheck;
    QLineEdit *m_backupPath;
    QPushButton *m_browse;
};

} // namespace qandor
