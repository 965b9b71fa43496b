#include "app/tfrmuserset.h"
#include "app/hub.h"
#include "data/rights.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qandor {

TfrmUserSet::TfrmUserSet(Hub &hub, QWidget *parent) : QDialog(parent), m_hub(hub), m_logic(hub)
{
    setObjectName(QStringLiteral("frmUserSet"));
    setWindowTitle(QStringLiteral("用户设置"));

    m_userGroup = new QGroupBox(QStringLiteral("用户信息"), this);
    m_userGroup->setObjectName(QStringLiteral("UserGroup"));
    m_userName = new QLineEdit(m_userGroup);
    m_userName->setObjectName(QStringLiteral("UserName"));
    m_userName->setMaxLength(50);
    m_userPas = new QLineEdit(m_userGroup);
    m_userPas->setObjectName(QStringLiteral("UserPas"));
    m_userPas->setEchoMode(QLineEdit::Password);
    m_pasOk = new QLineEdit(m_userGroup);
    m_pasOk->setObjectName(QStringLiteral("PasOK"));
    m_pasOk->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout(m_userGroup);
    form->addRow(QStringLiteral("用户名"), m_userName);
    form->addRow(QStringLiteral("密码"), m_userPas);
    form->addRow(QStringLiteral("确认密码"), m_pasOk);

    m_powerGroup = new QGroupBox(QStringLiteral("用户权限"), this);
    m_powerGroup->setObjectName(QStringLiteral("PowerGroup"));
    m_pages = new QTabWidget(m_powerGroup);
    m_pages->setObjectName(QStringLiteral("PageControl"));
    QHash<QString, QGridLayout *> grids;
    for (const RightInfo &r : allRights()) {
        const QString tab = QString::fromUtf8(r.tab);
        QGridLayout *grid = grids.value(tab);
        if (!grid) {
            auto *page = new QWidget(m_pages);
            page->setObjectName(QStringLiteral("Tab_") + tab);
            grid = new QGridLayout(page);
            grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
            m_pages->addTab(page, tab);
            grids.insert(tab, grid);
        }
        const QString column = QString::fromUtf8(r.column);
        auto *box = new QCheckBox(r.caption ? QString::fromUtf8(r.caption) : column, grid->parentWidget());
        box->setObjectName(column);
        const int n = grid->count();
        grid->addWidget(box, n / 3, n % 3);
        m_boxes.insert(column, box);
    }
    auto *powerLayout = new QVBoxLayout(m_powerGroup);
    powerLayout->addWidget(m_pages);

    m_listGroup = new QGroupBox(QStringLiteral("用户列表"), this);
    m_listGroup->setObjectName(QStringLiteral("ListGroup"));
    m_list = new QListWidget(m_listGroup);
    m_list->setObjectName(QStringLiteral("UserGrid"));
    auto *listLayout = new QVBoxLayout(m_listGroup);
    listLayout->addWidget(m_list);
    m_listGroup->setMinimumWidth(160);

    auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        return b;
    };
    m_add = button("AddButton", "添加用户(&A)");
    m_edit = button("EditButton", "修改选中(&E)");
    m_del = button("DelButton", "删除选中(&D)");
    m_post = button("PostButton", "保存数据(&S)");
    m_cancel = button("CancelButton", "取消操作(&C)");
    m_quit = button("RzBitBtn1", "退出当前操作(&Q)");
    connect(m_add, &QPushButton::clicked, this, &TfrmUserSet::addUser);
    connect(m_edit, &QPushButton::clicked, this, &TfrmUserSet::editSelected);
    connect(m_del, &QPushButton::clicked, this, &TfrmUserSet::deleteSelected);
    connect(m_post, &QPushButton::clicked, this, &TfrmUserSet::postData);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmUserSet::cancelEdit);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (!m_editing)
            showSelected();
    });

    auto *left = new QVBoxLayout;
    left->addWidget(m_userGroup);
    left->addWidget(m_powerGroup, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(m_listGroup);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_add, m_edit, m_del, m_post, m_cancel})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_quit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(760, 460);

    setEditMode(false);
    reloadList();
}

void TfrmUserSet::reloadList(const QString &select)
{
    const QStringList names = m_logic.userNames();
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItems(names);
    int row = select.isEmpty() ? 0 : names.indexOf(select);
    if (row < 0)
        row = 0;
    if (!names.isEmpty())
        m_list->setCurrentRow(row);
    showSelected();
}

void TfrmUserSet::setEditMode(bool editing)
{
    m_editing = editing;
    m_userGroup->setEnabled(editing);
    m_userName->setEnabled(editing);
    m_userPas->setEnabled(editing);
    m_pasOk->setEnabled(editing);
    m_powerGroup->setEnabled(editing);
    m_list->setEnabled(!editing);
    m_add->setEnabled(!editing);
    m_edit->setEnabled(!editing);
    m_del->setEnabled(!editing);
    m_post->setEnabled(editing);
    m_cancel->setEnabled(editing);
    if (!editing)
        m_pages->setCurrentIndex(0);
}

void TfrmUserSet::showRecord(const UserRecord &r)
{
    m_userName->setText(r.name);
    m_userPas->setText(r.password);
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        it.value()->setChecked(r.rights.value(it.key(), false));
}

void TfrmUserSet::showSelected()
{
    QListWidgetItem *item = m_list->currentItem();
    try {
        showRecord(item ? m_logic.load(item->text()) : UserRecord());
    } catch (const DbError &e) {
        showRecord(UserRecord());
        m_hub.Bast1.ShowDbError(e);
    }
    m_pasOk->clear();
}

UserRecord TfrmUserSet::recordFromControls() const
{
    UserRecord r;
    r.name = m_userName->text();
    r.password = m_userPas->text();
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        r.rights.insert(it.key(), it.value()->isChecked());
    return r;
}

void TfrmUserSet::addUser()
{
    setEditMode(true);
    m_originalName.clear();
    m_pasOk->clear();
    showRecord(UserSetLogic::newRecord());
    m_userName->setFocus();
}

void TfrmUserSet::editSelected()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!m_logic.checkNotEmptyForEdit(m_list->count() == 0 || !item))
        return;
    try {
        const UserRecord r = m_logic.load(item->text());
        if (r.name.isEmpty()) {
            reloadList();
            return;
        }
        setEditMode(true);
        m_originalName = r.name;
        showRecord(r);
    } catch (const DbError &e) {
        m_hub.Bast1.ShowDbError(e);
        return;
    }
    // The password is not changed here.
    m_userPas->clear();
    m_pasOk->clear();
    m_userPas->setEnabled(false);
    m_pasOk->setEnabled(false);
    m_userName->setFocus();
}

void TfrmUserSet::deleteSelected()
{
    QListWidgetItem *item = m_list->currentItem();
    if (m_logic.remove(item ? item->text() : QString(), m_list->count() == 0)) {
        try {
            reloadList();
        } catch (const DbError &e) {
            m_hub.Bast1.ShowDbError(e);
        }
    }
}

bool TfrmUserSet::postData()
{
    if (!m_editing)
        return false;
    const UserRecord r = recordFromControls();
    switch (m_logic.save(r, m_pasOk->text(), m_originalName)) {
    case UserSetLogic::Outcome::NameEmpty:
    case UserSetLogic::Outcome::NameTaken:
        m_userName->setFocus();
        return false;
    case UserSetLogic::Outcome::Mismatch:
        m_pasOk->setFocus();
        return false;
    case UserSetLogic::Outcome::PasswordEmpty:
    case UserSetLogic::Outcome::ConfirmEmpty:
    case UserSetLogic::Outcome::Failed:
        return false;
    case UserSetLogic::Outcome::Saved:
        break;
    }
    setEditMode(false);
    m_originalName.clear();
    try {
        reloadList(r.name);
    } catch (const DbError &e) {
        m_hub.Bast1.ShowDbError(e);
    }
    return true;
}

void TfrmUserSet::cancelEdit()
{
    setEditMode(false);
    m_originalName.clear();
    try {
        showSelected();
    } catch (const DbError &e) {
        m_hub.Bast1.ShowDbError(e);
    }
}

} // namespace qandor
