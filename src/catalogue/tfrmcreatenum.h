#pragma once
#include "catalogue/itemnumbering.h"
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QSpinBox;

namespace qandor {

// "自动编号规则设置": the switches and widths of the three kinds of number.
// Opened from the book and magazine editors: the opener names itself with
// setCaller(), says whether it is adding a record, connects saved() (to
// reload the system parameters) and numberProposed() (the next number for
// the record being added, sent on every close), and shows it modally.
class TfrmCreateNum : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCreateNum(TBast &bast, QWidget *parent = nullptr);

    // "frmAddOrEditBookInfor" or "frmAddOrEditMagazineInfor": hides the
    // reader panel and the other catalogue kind's panel, 120 pixels shorter.
    void setCaller(const QString &callerName, bool callerAdding);
    QString caller() const { return m_caller; }

    // Reads the row (creating it with the defaults when missing) into the
    // controls; runs on show. False when the row could not be read or made.
    bool loadSettings();
    // "保存退出(&S)": writes all three kinds, reports, closes.
    bool saveAndClose();
    NumberingSettings settingsOnScreen() const;

    void done(int result) override;

signals:
    void saved();
    void numberProposed(const QString &number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QGroupBox *makeBox(const char *name, const QString &title, const char *checkName, const QString &checkText,
                       const char *spinName, QCheckBox *&check, QSpinBox *&spin);
    TBast &m_bast;
    QString m_caller;
    bool m_callerAdding = false;
    bool m_loaded = false;
    bool m_closing = false;
    NumberingSettings m_settings;
    QGroupBox *m_rBox = nullptr, *m_bBox = nullptr, *m_mBox = nullptr;
    QCheckBox *m_rAuto = nullptr, *m_bAuto = nullptr, *m_mAuto = nullptr;
    QSpinBox *m_rLength = nullptr, *m_bLength = nullptr, *m_mLength = nullptr;
};

} // namespace qandor
