#pragma once
#include "readers/readertypes.h"
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace qandor {

class MoneyEdit;

// The reader type editor: works on a copy of the type and saves it through
// ReaderTypeBook when "保存数据(&S)" passes the checks; any other way out
// discards the changes.
class TfrmAddOrEditTypeOfReader : public QDialog {
    Q_OBJECT
public:
    // `original` null: adding a new type.
    TfrmAddOrEditTypeOfReader(TBast &bast, const ReaderType *original, QWidget *parent = nullptr);

    // The type as the editors hold it.
    ReaderType typeOnScreen() const;
    const ReaderType &savedType() const { return m_type; }
    bool adding() const { return m_adding; }

public slots:
    // "保存数据(&S)": true when the type was written (the dialog then accepts).
    bool saveType();

private:
    void limitFlagChanged();
    void prepaidToggled(bool on);
    void focusEditor(const QString &name);

    ReaderTypeBook m_book;
    ReaderType m_type;
    QString m_originalName;
    QString m_originalLimit;
    bool m_adding;
    QLineEdit *m_name;
    MoneyEdit *m_deposit, *m_bookRent, *m_bookFine, *m_magRent, *m_magFine, *m_fixedRent;
    QSpinBox *m_bookCount, *m_bookDays, *m_magCount, *m_magDays, *m_timeLimit, *m_fixedNum;
    QComboBox *m_limitFlag;
    QCheckBox *m_prepaid;
};

} // namespace qandor
