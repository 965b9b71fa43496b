#include "app/tfrmsysparameterset.h"
#include "app/hub.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace qandor {

namespace {
const QString RangeHint = QStringLiteral("输入数值的范围限制在1～10之间");

QSpinBox *lengthBox(const QString &name, QWidget *parent)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(0, 50);
    s->setToolTip(RangeHint);
    return s;
}

QGroupBox *numberingGroup(const QString &title, const QString &what, QCheckBox *&check, QSpinBox *&length,
                          const QString &checkName, const QString &lengthName, QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    check = new QCheckBox(QStringLiteral("启用系统自动编号规则为新添") + what + QStringLiteral("  编号长度："), group);
    check->setObjectName(checkName);
    length = lengthBox(lengthName, group);
    auto *row = new QHBoxLayout(group);
    row->addWidget(check);
    row->addWidget(length);
    row->addStretch();
    return group;
}
} // namespace

TfrmSysParameterSet::TfrmSysParameterSet(Hub &hub, QWidget *parent) : QDialog(parent), m_hub(hub), m_logic(hub)
{
    setObjectName(QStringLiteral("frmSysParameterSet"));
    setWindowTitle(QStringLiteral("系统参数设置"));
    setFixedSize(690, 325);

    auto *left = new QVBoxLayout;
    left->addWidget(numberingGroup(QStringLiteral("读者编号规则设置"), QStringLiteral("读者编号"), m_rAuto, m_rLength,
                                   QStringLiteral("R_Auto"), QStringLiteral("R_Length"), this));
    left->addWidget(numberingGroup(QStringLiteral("图书编号规则设置"), QStringLiteral("图书编号"), m_bAuto, m_bLength,
                                   QStringLiteral("B_Auto"), QStringLiteral("B_Length"), this));
    left->addWidget(numberingGroup(QStringLiteral("期刊编号规则设置"), QStringLiteral("期刊编号"), m_mAuto, m_mLength,
                                   QStringLiteral("M_Auto"), QStringLiteral("M_Length"), this));
    auto *explain = new QLabel(QStringLiteral("说明：\n    系统自动编号规则是根据用户设置的编号长度顺序编号。\n例如:编号长度设置为：5，"
                                              "则系统降根据数据录入的次序，依\n次为数据编号为：00001、00002、00003……"),
                               this);
    explain->setObjectName(QStringLiteral("Label1"));
    left->addWidget(explain);

    auto *warnGroup = new QGroupBox(QStringLiteral("数据提醒设置"), this);
    m_bookWarn = new QCheckBox(QStringLiteral("软件启动时自动打开图书借阅到期未还的信息"), warnGroup);
    m_bookWarn->setObjectName(QStringLiteral("AutoBookOutTimeWarn"));
    m_magWarn = new QCheckBox(QStringLiteral("软件启动时自动打开期刊借阅到期未还的信息"), warnGroup);
    m_magWarn->setObjectName(QStringLiteral("AutoMagazineOutTimeWarn"));
    auto *warnLayout = new QVBoxLayout(warnGroup);
    warnLayout->addWidget(m_bookWarn);
    warnLayout->addWidget(m_magWarn);

    auto *pageGroup = new QGroupBox(QStringLiteral("数据页面大小设置"), this);
    m_pageSize = new QSpinBox(pageGroup);
    m_pageSize->setObjectName(QStringLiteral("Pagesize"));
    m_pageSize->setRange(INT_MIN, INT_MAX);
    m_pageSize->setToolTip(RangeHint);
    auto *pageLayout = new QHBoxLayout(pageGroup);
    pageLayout->addWidget(new QLabel(QStringLiteral("系统中显示数据的列表每页显示数据量："), pageGroup));
    pageLayout->addWidget(m_pageSize);

    auto *backupGroup = new QGroupBox(this);
    m_backupCheck = new QCheckBox(QStringLiteral("退出系统时自动备份数据"), backupGroup);
    m_backupCheck->setObjectName(QStringLiteral("BackUpOnExitCheck"));
    m_backupPath = new QLineEdit(backupGroup);
    m_backupPath->setObjectName(QStringLiteral("BackupPath"));
    m_browse = new QPushButton(QStringLiteral("..."), backupGroup);
    m_browse->setObjectName(QStringLiteral("BackupPathButton"));
    auto *backupLayout = new QGridLayout(backupGroup);
    backupLayout->addWidget(m_backupCheck, 0, 0, 1, 3);
    backupLayout->addWidget(new QLabel(QStringLiteral("自定义备份路径："), backupGroup), 1, 0);
    backupLayout->addWidget(m_backupPath, 1, 1);
    backupLayout->addWidget(m_browse, 1, 2);

    auto *save = new QPushButton(QStringLiteral("保存退出(&S)"), this);
    save->setObjectName(QStringLiteral("RzBitBtn1"));
    auto *cancel = new QPushButton(QStringLiteral("取消退出(&Q)"), this);
    cancel->setObjectName(QStringLiteral("RzBitBtn2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto *right = new QVBoxLayout;
    right->addWidget(warnGroup);
    right->addWidget(pageGroup);
    right->addWidget(backupGroup);
    right->addStretch();
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    auto enablePath = [this](bool on) {
        m_backupPath->setEnabled(on);
        m_browse->setEnabled(on);
    };
    connect(m_backupCheck, &QCheckBox::toggled, this, [this, enablePath](bool on) {
        enablePath(on);
        if (on)
            m_backupPath->setFocus();
    });
    connect(m_browse, &QPushButton::clicked, this, &TfrmSysParameterSet::browseFolder);
    connect(save, &QPushButton::clicked, this, &TfrmSysParameterSet::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    loadValues();
    enablePath(m_backupCheck->isChecked());
}

void TfrmSysParameterSet::loadValues()
{
    showValues(m_logic.load());
}

void TfrmSysParameterSet::showValues(const SysParameterValues &v)
{
    m_rAuto->setChecked(v.readerAuto);
    m_rLength->setValue(v.readerLength);
    m_bAuto->setChecked(v.bookAuto);
    m_bLength->setValue(v.bookLength);
    m_mAuto->setChecked(v.magazineAuto);
    m_mLength->setValue(v.magazineLength);
    m_bookWarn->setChecked(v.bookOverdueWarn);
    m_magWarn->setChecked(v.magazineOverdueWarn);
    m_pageSize->setValue(v.pageSize);
    m_backupCheck->setChecked(v.backupOnExit);
    m_backupPath->setEnabled(v.backupOnExit);
    m_browse->setEnabled(v.backupOnExit);
    m_backupPath->setText(v.backupPath);
}

SysParameterValues TfrmSysParameterSet::values() const
{
    SysParameterValues v;
    v.readerAuto = m_rAuto->isChecked();
    v.readerLength = m_rLength->value();
    v.bookAuto = m_bAuto->isChecked();
    v.bookLength = m_bLength->value();
    v.magazineAuto = m_mAuto->isChecked();
    v.magazineLength = m_mLength->value();
    v.bookOverdueWarn = m_bookWarn->isChecked();
    v.magazineOverdueWarn = m_magWarn->isChecked();
    v.pageSize = m_pageSize->value();
    v.backupOnExit = m_backupCheck->isChecked();
    v.backupPath = m_backupPath->text();
    return v;
}

bool TfrmSysParameterSet::saveAndClose()
{
    if (m_logic.save(values()) == SysParameterSetLogic::SaveResult::PathMissing) {
        m_backupPath->setFocus();
        return false;
    }
    accept();
    return true;
}

void TfrmSysParameterSet::browseFolder()
{
    const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("请选择存储数据备份的文件夹："), m_hub.g.BackupPath);
    if (!dir.isEmpty())
        m_backupPath->setText(QDir::toNativeSeparators(dir));
}

} // namespace qandor
