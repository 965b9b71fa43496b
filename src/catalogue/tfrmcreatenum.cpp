#include "catalogue/tfrmcreatenum.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qandor {

namespace {
const QString BookCaller = QStringLiteral("frmAddOrEditBookInfor");
const QString MagazineCaller = QStringLiteral("frmAddOrEditMagazineInfor");
} // namespace

TfrmCreateNum::TfrmCreateNum(TBast &bast, QWidget *parent)
    : QDialog(parent)
    , m_bast(bast)
{
    setObjectName(QStringLiteral("frmCreateNum"));
    setWindowTitle(QStringLiteral("自动编号规则设置"));
    auto *layout = new QVBoxLayout(this);
    m_rBox = makeBox("R_Box", QStringLiteral("读者编号规则设置"), "R_Auto",
                     QStringLiteral("启用系统自动编号规则为新添读者编号  编号长度："), "R_Length", m_rAuto, m_rLength);
    m_bBox = makeBox("B_Box", QStringLiteral("图书编号规则设置"), "B_Auto",
                     QStringLiteral("启用系统自动编号规则为新添图书编号  编号长度："), "B_Length", m_bAuto, m_bLength);
    m_mBox = makeBox("M_Box", QStringLiteral("期刊编号规则设置"), "M_Auto",
                     QStringLiteral("启用系统自动编号规则为新添期刊编号  编号长度："), "M_Length", m_mAuto, m_mLength);
    layout->addWidget(m_rBox);
    layout->addWidget(m_bBox);
    layout->addWidget(m_mBox);

    auto *intro = new QGroupBox(this);
    intro->setObjectName(QStringLiteral("Intro_Box"));
    auto *introLayout = new QVBoxLayout(intro);
    auto *note = new QLabel(QStringLiteral("说明：\n    系统自动编号规则是根据用户设置的编号长度顺序编号。\n"
                                           "例如:编号长度设置为：5，则系统降根据数据录入的次序，依\n"
                                           "次为数据编号为：00001、00002、00003……"),
                            intro);
    introLayout->addWidget(note);
    layout->addWidget(intro);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("保存退出(&S)"), this);
    save->setObjectName(QStringLiteral("RzBitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消退出(&Q)"), this);
    cancel->setObjectName(QStringLiteral("RzBitBtn2"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { saveAndClose(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects too
    setFixedSize(sizeHint());
}

QGroupBox *TfrmCreateNum::makeBox(const char *name, const QString &title, const char *checkName,
                                  const QString &checkText, const char *spinName, QCheckBox *&check, QSpinBox *&spin)
{
    auto *box = new QGroupBox(title, this);
    box->setObjectName(QString::fromLatin1(name));
    auto *row = new QHBoxLayout(box);
    check = new QCheckBox(checkText, box);
    check->setObjectName(QString::fromLatin1(checkName));
    spin = new QSpinBox(box);
    spin->setObjectName(QString::fromLatin1(spinName));
    // The range holds typed values within 1..10 (0 becomes 1, 11 becomes 10).
    spin->setRange(1, 10);
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setToolTip(QStringLiteral("输入数值的范围限制在1～10之间"));
    row->addWidget(check);
    row->addWidget(spin);
    row->addStretch();
    return box;
}

void TfrmCreateNum::setCaller(const QString &callerName, bool callerAdding)
{
    m_caller = callerName;
    m_callerAdding = callerAdding;
    if (callerName != BookCaller && callerName != MagazineCaller)
        return;
    m_rBox->hide();
    (callerName == BookCaller ? m_mBox : m_bBox)->hide();
    setFixedSize(width(), std::max(120, height() - 120));
}

bool TfrmCreateNum::loadSettings()
{
    try {
        m_settings = loadNumberingSettings(*m_bast.database());
    } catch (const DbError &e) {
        m_bast.ShowMsg(QStringLiteral("数据打开时发生错误，可能是由于数据文件以独占方式打开或者数据库文件已经损坏所造成！"),
                       QStringLiteral("error"));
        Q_UNUSED(e);
        return false;
    }
    m_rAuto->setChecked(m_settings.reader.autoOn);
    m_rLength->setValue(m_settings.reader.length);
    m_bAuto->setChecked(m_settings.book.autoOn);
    m_bLength->setValue(m_settings.book.length);
    m_mAuto->setChecked(m_settings.magazine.autoOn);
    m_mLength->setValue(m_settings.magazine.length);
    m_loaded = true;
    return true;
}

NumberingSettings TfrmCreateNum::settingsOnScreen() const
{
    NumberingSettings s;
    s.reader = {m_rAuto->isChecked(), clampNumberLength(m_rLength->value())};
    s.book = {m_bAuto->isChecked(), clampNumberLength(m_bLength->value())};
    s.magazine = {m_mAuto->isChecked(), clampNumberLength(m_mLength->value())};
    return s;
}

bool TfrmCreateNum::saveAndClose()
{
    bool ok = false;
    try {
        if (!m_loaded && !loadSettings())
            throw DbError(QStringLiteral("TfrmCreateNum"), QString(), QString());
        const NumberingSettings s = settingsOnScreen();
        saveNumberingSettings(*m_bast.database(), s);
        m_settings = s;
        ok = true;
    } catch (const DbError &) {
        m_bast.ShowMsg(QStringLiteral("数据保存时发生错误，请检查数据输入是否合法！"), QStringLiteral("error"));
    }
    if (ok) {
        emit saved();
        m_bast.ShowMsg(QStringLiteral("数据保存成功！"), QStringLiteral("ok"));
    }
    accept();
    return ok;
}

void TfrmCreateNum::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        // The editor that opened us while adding gets a fresh proposal,
        // whatever the switch says and however the dialog was closed.
        if (m_callerAdding && (m_caller == BookCaller || m_caller == MagazineCaller)) {
            const NumberKind kind = m_caller == BookCaller ? NumberKind::Book : NumberKind::Magazine;
            if (const auto number = proposeItemNumber(m_bast, kind, m_settings.rule(kind).length))
                emit numberProposed(*number);
        }
    }
    QDialog::done(result);
}

void TfrmCreateNum::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_closing = false;
    if (!m_loaded)
        loadSettings();
}

} // namespace qandor
