#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace qandor {

// The node dialog: one class number and name. Its caption is its mode
// ("添加同级类别", "添加下级类别", "修改当前选中的书籍类别"); "保存(&S)" hands
// the trimmed texts to the opener's operation and closes only when it
// succeeded.
class TfrmEditClassification : public QDialog {
    Q_OBJECT
public:
    using Operation = std::function<bool(const QString &code, const QString &name)>;
    TfrmEditClassification(const QString &mode, const QString &code, const QString &name, Operation op,
                           QWidget *parent = nullptr);

public slots:
    bool save();

private:
    QLineEdit *m_code;
    QLineEdit *m_name;
    Operation m_op;
};

} // namespace qandor
