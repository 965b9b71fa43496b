#include "readers/tfrmaddoredittypeofreader.h"
#include "readers/readerwidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qandor {

namespace {
QSpinBox *countEdit(QWidget *parent, const char *name, const QString &suffix)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 99999);
    s->setSuffix(suffix);
    return s;
}

MoneyEdit *moneyEdit(QWidget *parent, const char *name, const QString &suffix = {})
{
    auto *m = new MoneyEdit(parent, suffix);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

QLabel *banner(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("background:#dfe8f6;font-weight:bold;padding:2px;"));
    return l;
}
} // namespace

TfrmAddOrEditTypeOfReader::TfrmAddOrEditTypeOfReader(TBast &bast, const ReaderType *original, QWidget *parent)
    : QDialog(parent)
    , m_book(bast)
    , m_adding(original == nullptr)
{
    setObjectName(QStringLiteral("frmAddOrEditTypeOfReader"));
    setWindowTitle(m_adding ? QStringLiteral("添加读者类型") : QStringLiteral("修改当前选中的读者类型"));
    if (original) {
        m_type = *original;
        m_originalName = original->name;
        m_originalLimit = original->limitFlag;
    }

    auto *outer = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("读者类型基本信息"), this);
    auto *g = new QGridLayout(group);
    outer->addWidget(group);

    m_name = new QLineEdit(group);
    m_name->setObjectName(QStringLiteral("TypeName"));
    m_name->setMaxLength(50);
    m_deposit = moneyEdit(group, "Foregift");
    int row = 0;
    g->addWidget(new QLabel(QStringLiteral("类型名称"), group), row, 0);
    g->addWidget(m_name, row, 1);
    g->addWidget(new QLabel(QStringLiteral("办证押金"), group), row, 2);
    g->addWidget(m_deposit, row, 3);

    auto fourRows = [&](const QString &title, const QString &rentCaption, const QString &fineCaption, QSpinBox *&count,
                        QSpinBox *&days, MoneyEdit *&rent, MoneyEdit *&fine, const char *cn, const char *dn,
                        const char *rn, const char *fn) {
        g->addWidget(banner(title, group), ++row, 0, 1, 4);
        count = countEdit(group, cn, QStringLiteral("本"));
        days = countEdit(group, dn, QStringLiteral("天"));
        rent = moneyEdit(group, rn, QStringLiteral("/天"));
        fine = moneyEdit(group, fn, QStringLiteral("/天"));
        ++row;
        g->addWidget(new QLabel(QStringLiteral("单次可借数量"), group), row, 0);
        g->addWidget(count, row, 1);
        g->addWidget(new QLabel(QStringLiteral("单次可借天数"), group), row, 2);
        g->addWidget(days, row, 3);
        ++row;
        g->addWidget(new QLabel(rentCaption, group), row, 0);
        g->addWidget(rent, row, 1);
        g->addWidget(new QLabel(fineCaption, group), row, 2);
        g->addWidget(fine, row, 3);
    };
    fourRows(QStringLiteral("图书借阅参数"), QStringLiteral("图书每日租金"), QStringLiteral("图书超期罚金"), m_bookCount,
             m_bookDays, m_bookRent, m_bookFine, "BRN_limit", "BRD_limit", "BD_Rent", "BD_Mulct");
    fourRows(QStringLiteral("期刊借阅参数"), QStringLiteral("期刊每日租金"), QStringLiteral("期刊超期罚金"), m_magCount,
             m_magDays, m_magRent, m_magFine, "MRN_limit", "MRD_limit", "MD_Rent", "MD_Mulct");

    g->addWidget(banner(QStringLiteral("有效期设置"), group), ++row, 0, 1, 4);
    m_prepaid = new QCheckBox(QStringLiteral("当前读者类型启用包租模式"), group);
    m_prepaid->setObjectName(QStringLiteral("FixedRentCheck"));
    g->addWidget(m_prepaid, ++row, 0, 1, 4);
    m_limitFlag = new QComboBox(group);
    m_limitFlag->setObjectName(QStringLiteral("LimitFlag"));
    m_limitFlag->setEditable(true);
    m_limitFlag->addItems(ReaderTypeBook::limitItems());
    m_timeLimit = countEdit(group, "TimeLimit", QStringLiteral("月"));
    ++row;
    g->addWidget(new QLabel(QStringLiteral("有效期限限制"), group), row, 0);
    g->addWidget(m_limitFlag, row, 1);
    g->addWidget(new QLabel(QStringLiteral("有效期限"), group), row, 2);
    g->addWidget(m_timeLimit, row, 3);
    m_fixedRent = moneyEdit(group, "FixedRent");
    m_fixedNum = countEdit(group, "FixedNum", QStringLiteral("本"));
    ++row;
    g->addWidget(new QLabel(QStringLiteral("包租应交金额"), group), row, 0);
    g->addWidget(m_fixedRent, row, 1);
    g->addWidget(new QLabel(QStringLiteral("包租总量"), group), row, 2);
    g->addWidget(m_fixedNum, row, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("保存数据(&S)"), this);
    save->setObjectName(QStringLiteral("RzBitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消返回(&Q)"), this);
    cancel->setObjectName(QStringLiteral("RzBitBtn2"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &TfrmAddOrEditTypeOfReader::saveType);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Fill the editors from the copy.
    m_name->setText(m_type.name);
    m_deposit->setMoney(m_type.deposit);
    m_bookCount->setValue(m_type.bookCount);
    m_bookDays->setValue(m_type.bookDays);
    m_bookRent->setMoney(m_type.bookRent);
    m_bookFine->setMoney(m_type.bookFine);
    m_magCount->setValue(m_type.magazineCount);
    m_magDays->setValue(m_type.magazineDays);
    m_magRent->setMoney(m_type.magazineRent);
    m_magFine->setMoney(m_type.magazineFine);
    m_limitFlag->setCurrentText(m_adding ? ReaderTypeBook::limitItems().first() : m_type.limitFlag);
    m_timeLimit->setValue(m_type.months);
    m_fixedRent->setMoney(m_type.prepaidPrice);
    m_fixedNum->setValue(m_type.prepaidQuota);
    m_fixedRent->setEnabled(false);
    m_fixedNum->setEnabled(false);

    connect(m_limitFlag, &QComboBox::currentTextChanged, this, &TfrmAddOrEditTypeOfReader::limitFlagChanged);
    connect(m_prepaid, &QCheckBox::toggled, this, &TfrmAddOrEditTypeOfReader::prepaidToggled);
    if (!m_adding && m_type.prepaid) {
        m_prepaid->setChecked(true); // runs the check-box rule
        // The rule's focus step clears nothing when ticked; keep the stored figures.
        m_fixedRent->setMoney(m_type.prepaidPrice);
        m_fixedNum->setValue(m_type.prepaidQuota);
    }
    const QString flag = m_limitFlag->currentText().trimmed();
    if (ReaderTypeBook::limitItems().contains(m_limitFlag->currentText()) && flag != QStringLiteral("无")) {
        m_timeLimit->setEnabled(true);
    } else {
        m_timeLimit->setValue(0);
        m_timeLimit->setEnabled(false);
    }
    setFixedSize(sizeHint());
}

void TfrmAddOrEditTypeOfReader::limitFlagChanged()
{
    if (m_limitFlag->currentText().trimmed() == QStringLiteral("有")) {
        m_timeLimit->setEnabled(true);
    } else {
        m_timeLimit->setValue(0);
        m_timeLimit->setEnabled(false);
    }
}

void TfrmAddOrEditTypeOfReader::prepaidToggled(bool on)
{
    if (on) {
        m_limitFlag->setCurrentText(QStringLiteral("有"));
        m_limitFlag->setEnabled(false);
        m_fixedRent->setEnabled(true);
        m_fixedNum->setEnabled(true);
        m_timeLimit->setEnabled(true);
        m_fixedRent->setFocus();
        return;
    }
    m_limitFlag->setEnabled(true);
    if (m_adding) {
        m_limitFlag->setCurrentText(QStringLiteral("无"));
        m_timeLimit->setValue(0);
        m_timeLimit->setEnabled(false);
    } else {
        m_limitFlag->setCurrentText(m_originalLimit);
        m_timeLimit->setEnabled(m_originalLimit.trimmed() == QStringLiteral("有"));
    }
    m_limitFlag->setFocus();
    m_fixedRent->setMoney(Money());
    m_fixedNum->setValue(0);
    m_fixedRent->setEnabled(false);
    m_fixedNum->setEnabled(false);
}

ReaderType TfrmAddOrEditTypeOfReader::typeOnScreen() const
{
    ReaderType t = m_type;
    t.name = m_name->text();
    t.deposit = m_deposit->money();
    t.bookCount = m_bookCount->value();
    t.bookDays = m_bookDays->value();
    t.bookRent = m_bookRent->money();
    t.bookFine = m_bookFine->money();
    t.magazineCount = m_magCount->value();
    t.magazineDays = m_magDays->value();
    t.magazineRent = m_magRent->money();
    t.magazineFine = m_magFine->money();
    t.limitFlag = m_limitFlag->currentText();
    t.months = m_timeLimit->value();
    t.prepaid = m_prepaid->isChecked();
    t.prepaidPrice = m_fixedRent->money();
    t.prepaidQuota = m_fixedNum->value();
    return t;
}

void TfrmAddOrEditTypeOfReader::focusEditor(const QString &name)
{
    if (auto *w = findChild<QWidget *>(name)) {
        w->setFocus();
        if (auto *s = qobject_cast<QAbstractSpinBox *>(w))
            s->selectAll();
    }
}

bool TfrmAddOrEditTypeOfReader::saveType()
{
    ReaderType t = typeOnScreen();
    // The check runs once more inside save(); asking here first lets the
    // dialog put the focus on the editor at fault.
    if (const auto failure = m_book.check(t, m_adding, m_originalName)) {
        focusEditor(failure->focus);
        return m_book.save(t, m_adding, m_originalName); // shows the message, returns false
    }
    if (!m_book.save(t, m_adding, m_originalName))
        return false;
    m_type = t;
    accept();
    return true;
}

} // namespace qandor
