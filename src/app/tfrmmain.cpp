#include "app/tfrmmain.h"
#include "app/hub.h"
#include "app/mainbackground.h"
#include "app/tfrmabout.h"
#include "app/tfrmchangepas.h"
#include "app/tfrmsysparameterset.h"
#include "app/tfrmuserset.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace qandor {

namespace {
const QString NoRightText = QStringLiteral("当前用户无此操作权限！");
const QString NotYetText = QStringLiteral("此功能尚未提供");
QString u(const char *s) { return QString::fromUtf8(s); }
} // namespace

const QList<TfrmMain::CommandDef> &TfrmMain::commands()
{
    using M = TfrmMain;
    static const QList<CommandDef> list = {
        {"系统设置", nullptr, "N_admin", "用户设置", "用户设置", &M::openUserSet},
        {"系统设置", nullptr, "N_Sysparameter", "系统参数设置", "系统参数设置", &M::openSysParameterSet},
        {"系统设置", nullptr, "N_BookType", "书籍类别设置", "书籍类别设置", &M::openClassification, true},
        {"系统设置", nullptr, "N_ReaderType", "读者类型设置", "读者类型设置", &M::openReaderType},
        {"系统设置", nullptr, "N_BookConcern", "出版社信息设置", "出版社信息设置", &M::openBookConcern},
        {"系统设置", nullptr, "N_CardInforSet", "借书证打印设置", "借书证打印设置", nullptr},
        {"系统设置", "N_BackGroup", "N_IniBackImage", "默认背景", nullptr, &M::setDefaultBackground, true},
        {"系统设置", "N_BackGroup", "N_DIYBackImage", "自选背景", nullptr, &M::chooseBackground},
        {"系统设置", nullptr, "N_IniData", "数据初始化", "数据初始化", nullptr, true},
        {"系统设置", nullptr, "N_DataSet", "网络版设置", "网络版设置", &M::quitAfterReconfigure},
        {"系统设置", nullptr, "N_Quit", "退出本系统", nullptr, &M::quitCommand, true},

        {"数据管理", nullptr, "N_BookManager", "图书管理", "图书管理", nullptr},
        {"数据管理", nullptr, "N_MagazineManager", "期刊管理", "期刊管理", nullptr},
        {"数据管理", nullptr, "N_ReaderManager", "读者管理", "读者管理", &M::openReaderManager},
        {"数据管理", "N_Marc", "N_MarcLoad", "导入图书Marc数据", "Marc数据导入", nullptr, true},
        {"数据管理", "N_Marc", "N_MarcLoadForMag", "导入期刊Marc数据", "期刊Marc数据导入", nullptr},
        {"数据管理", "N_ExcelLoad", "ExcelFromBook", "导入图书Excel数据", "Excel图书数据导入", nullptr},
        {"数据管理", "N_ExcelLoad", "ExcelFromMagazine", "导入期刊Excel数据", "Excel期刊数据导入", nullptr},
        {"数据管理", "N_ExcelLoad", "ExcelFromReader", "导入读者Excel数据", "Excel读者数据导入", nullptr},

        {"基本操作", nullptr, "N_RentBook", "图书借阅", "图书借阅", &M::openRentBook},
        {"基本操作", nullptr, "N_ReletBook", "图书续借", "图书续借", &M::openReletBook},
        {"基本操作", nullptr, "N_BackBook", "图书归还", "图书归还", &M::openBackBook},
        {"基本操作", nullptr, "N_RentMagazine", "期刊借阅", "期刊借阅", nullptr, true},
        {"基本操作", nullptr, "N_ReletMagazine", "期刊续借", "期刊续借", nullptr},
        {"基本操作", nullptr, "N_BackMagazine", "期刊归还", "期刊归还", nullptr},
        {"基本操作", nullptr, "N_AddBook", "新增图书", "新增图书", &M::openAddBook, true},
        {"基本操作", nullptr, "N_AddMagazine", "新增期刊", "新增期刊", &M::openAddMagazine},
        {"基本操作", nullptr, "N_AddReader", "新增读者", "新增读者", &M::openAddReader},
        {"基本操作", nullptr, "N_ActiveFixedRent", "包租充值", "包租充值", &M::openActiveFixedRent, true},
        {"基本操作", nullptr, "N_LostControl", "挂失解挂", "挂失解挂", &M::openLostControl},
        {"基本操作", nullptr, "N_LogOut", "读者注销", "读者注销", &M::openLogOut},
        {"基本操作", nullptr, "N17", "制作条码", nullptr, nullptr, true},

        {"数据查询", nullptr, "N_FindBookInfor", "图书资料数据查询", "图书资料数据查询", nullptr},
        {"数据查询", nullptr, "N_FindMagazineInfor", "期刊资料数据查询", "期刊资料数据查询", nullptr},
        {"数据查询", nullptr, "N_FindReaderInfor", "读者资料数据查询", "读者资料数据查询", &M::openReaderLookup},
        {"数据查询", nullptr, "N_FindBookRentInfor", "图书借阅数据查询", "图书借阅数据查询", nullptr, true},
        {"数据查询", nullptr, "N_FindMagazineRentInfor", "期刊借阅数据查询", "期刊借阅数据查询", nullptr},
        {"数据查询", nullptr, "N_FindBookReletInfor", "图书续借记录查询", "图书续借记录查询", nullptr},
        {"数据查询", nullptr, "N_FindMagazineReletInfor", "期刊续借记录查询", "期刊续借记录查询", nullptr},
        {"数据查询", nullptr, "N_ActiveFixedRentInfor", "读者包租充值查询", "读者包租充值查询", nullptr, true},
        {"数据查询", nullptr, "N_FindReaderLostInfor", "读者挂失解挂查询", "读者挂失解挂查询", nullptr},
        {"数据查询", nullptr, "N_FindReaderLogOutInfor", "读者注销记录查询", "读者注销记录查询", nullptr},
        {"数据查询", nullptr, "N_BookOut", "图书到期未还数据", nullptr, nullptr, true},
        {"数据查询", nullptr, "N_MagazineOut", "期刊到期未还数据", nullptr, nullptr},

        {"数据分析", nullptr, "N_BookDataAnalys", "图书数据统计分析", "图书数据统计分析", nullptr},
        {"数据分析", nullptr, "N_BookKindAnalys", "图书分类统计分析", nullptr, nullptr},
        {"数据分析", nullptr, "N_BookInputAnaly", "图书录入批次统计", nullptr, nullptr},
        {"数据分析", nullptr, "N_MagazineDataAnalys", "期刊数据统计分析", "期刊数据统计分析", nullptr, true},
        {"数据分析", nullptr, "N_ReaderDataAnalys", "读者数据统计分析", "读者数据统计分析", nullptr},
        {"数据分析", nullptr, "N_DaysDataAnalys", "今日数据统计分析", "今日数据统计分析", nullptr, true},
        {"数据分析", nullptr, "N_MoneyDataAnalys", "资金数据统计分析", "资金数据统计分析", nullptr},
        {"数据分析", nullptr, "N_BookRentDataTaxis", "图书借阅排名分析", "图书借阅排名分析", nullptr, true},
        {"数据分析", nullptr, "N_MagazineRentDataTaxis", "期刊借阅排名分析", "期刊借阅排名分析", nullptr},
        {"数据分析", nullptr, "N_ReaderRentDataTaxis", "读者借阅排名分析", "读者借阅排名分析", nullptr},

        {"系统维护", nullptr, "N_BackupData", "数据备份", "数据备份", nullptr},
        {"系统维护", nullptr, "N_ReBackData", "数据还原", "数据还原", nullptr},
        {"系统维护", nullptr, "N_CompactData", "数据压缩", "数据压缩", nullptr},
        {"系统维护", nullptr, "N_ClearData", "数据清理", "数据清理", nullptr},
        {"系统维护", nullptr, "N_ChangePas", "修改登录密码", nullptr, &M::openChangePas, true},

        {"帮助", nullptr, "N_IntroduceOfUse", "使用帮助", nullptr, &M::openHelpCommand},
        {"帮助", nullptr, "N_About", "版本说明", nullptr, &M::openAbout},
    };
    return list;
}

const QList<TfrmMain::TriggerDef> &TfrmMain::triggers()
{
    static const QList<TriggerDef> list = {
        {"TB_BookManager", "N_BookManager"},
        {"TB_MagazineManager", "N_MagazineManager"},
        {"TB_ReaderManager", "N_ReaderManager"},
        {"N5", "N_FindBookInfor"},
        {"N15", "N_FindMagazineInfor"},
        {"N18", "N_FindBookRentInfor"},
        {"N19", "N_FindMagazineRentInfor"},
        {"TB_FindReaderInfor", "N_FindReaderInfor"},
        {"TB_LostControl", "N_LostControl"},
        {"TB_LogOut", "N_LogOut"},
        {"TB_DaysDataCount", "N_DaysDataAnalys"},
        {"TB_MoneyCount", "N_MoneyDataAnalys"},
        {"N20", "N_BookRentDataTaxis"},
        {"N21", "N_MagazineRentDataTaxis"},
        {"N22", "N_ReaderRentDataTaxis"},
        {"TB_RentBook", "N_RentBook"},
        {"TB_ReletBook", "N_ReletBook"},
        {"TB_BackBook", "N_BackBook"},
        {"TB_RentMagazine", "N_RentMagazine"},
        {"TB_ReletMagazine", "N_ReletMagazine"},
        {"TB_BackMagazine", "N_BackMagazine"},
        {"TB_AddBook", "N_AddBook"},
        {"TB_AddMagazine", "N_AddMagazine"},
        {"TB_AddReader", "N_AddReader"},
        {"TB_ActiveFixedRent", "N_ActiveFixedRent"},
        {"F1", "N_RentBook"},
        {"F2", "N_ReletBook"},
        {"F3", "N_BackBook"},
        {"F4", "N_RentMagazine"},
        {"F5", "N_ReletMagazine"},
        {"F6", "N_BackMagazine"},
        {"F7", "N_AddBook"},
        {"F8", "N_AddMagazine"},
        {"F9", "N_AddReader"},
        {"F10", "N_ActiveFixedRent"},
    };
    return list;
}

static QString triggerCommand(const char *name)
{
    for (const TfrmMain::TriggerDef &t : TfrmMain::triggers())
        if (qstrcmp(t.name, name) == 0)
            return u(t.command);
    return {};
}

TfrmMain::TfrmMain(Hub &hub, QWidget *parent) : QMainWindow(parent), m_hub(hub)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Qandor图书馆管理系统"));
    resize(800, 500);

    restartProgram = [] { return QProcess::startDetached(QCoreApplication::applicationFilePath(), {}); };

    for (const CommandDef &c : commands())
        if (c.open) {
            const auto f = c.open;
            m_openers.insert(u(c.name), [this, f] { (this->*f)(); });
        }

    buildMenus();
    buildTopToolBar();
    buildLeftToolBar();
    buildKeys();

    m_back = new MainBackground(this);
    setCentralWidget(m_back);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("BottomShow"));
    m_operatorPanel = new QLabel(bar);
    m_operatorPanel->setObjectName(QStringLiteral("OperatorPanel"));
    m_operatorPanel->setMinimumWidth(220);
    bar->addPermanentWidget(m_operatorPanel);
    setStatusBar(bar);

    applyStates();
}

TfrmMain::~TfrmMain() = default;

const TfrmMain::CommandDef *TfrmMain::find(const QString &command) const
{
    for (const CommandDef &c : commands())
        if (u(c.name) == command)
            return &c;
    return nullptr;
}

void TfrmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    static const QHash<QString, QString> subCaptions = {
        {QStringLiteral("N_BackGroup"), QStringLiteral("背景设置")},
        {QStringLiteral("N_Marc"), QStringLiteral("导入Marc数据")},
        {QStringLiteral("N_ExcelLoad"), QStringLiteral("导入Excl数据")},
    };
    QMenu *menu = nullptr;
    QMenu *sub = nullptr;
    QString menuTitle, subName;
    for (const CommandDef &c : commands()) {
        if (u(c.menu) != menuTitle) {
            menuTitle = u(c.menu);
            menu = bar->addMenu(menuTitle);
            sub = nullptr;
            subName.clear();
        }
        const QString thisSub = c.sub ? u(c.sub) : QString();
        if (thisSub != subName) {
            subName = thisSub;
            sub = nullptr;
            if (!thisSub.isEmpty()) {
                if (c.separatorBefore)
                    menu->addSeparator();
                sub = menu->addMenu(subCaptions.value(thisSub));
                sub->setObjectName(thisSub + QStringLiteral("Menu"));
                sub->menuAction()->setObjectName(thisSub);
                m_subMenus << sub;
            }
        } else if (c.separatorBefore) {
            menu->addSeparator();
        }
        QMenu *target = sub ? sub : menu;
        QAction *a = target->addAction(u(c.caption));
        a->setObjectName(u(c.name));
        const QString name = u(c.name);
        connect(a, &QAction::triggered, this, [this, name] {
            // Only reachable while enabled, i.e. with the right and a screen.
            if (auto f = m_openers.value(name))
                f();
        });
        m_menuActions.insert(name, a);
    }
    QStyle *st = style();
    auto icon = [&](const char *name, QStyle::StandardPixmap pm) {
        if (QAction *a = m_menuActions.value(u(name)))
            a->setIcon(st->standardIcon(pm));
    };
    icon("N_Quit", QStyle::SP_DialogCloseButton);
    icon("N_IntroduceOfUse", QStyle::SP_DialogHelpButton);
    icon("N_About", QStyle::SP_MessageBoxInformation);
    icon("N_DIYBackImage", QStyle::SP_DirOpenIcon);
    icon("N_BackupData", QStyle::SP_DialogSaveButton);
}

QToolButton *TfrmMain::makeButton(const char *name, const QString &caption, const QString &command)
{
    auto *b = new QToolButton(this);
    b->setObjectName(u(name));
    b->setText(caption);
    b->setAutoRaise(true);
    if (!command.isEmpty()) {
        connect(b, &QToolButton::clicked, this, [this, command] { runFromTrigger(command); });
        m_triggerWidgets.append({b, QStringList{command}});
    }
    return b;
}

QToolButton *TfrmMain::makeDropDown(const char *name, const QString &caption, const char *menuName,
                                    const QList<std::pair<const char *, const char *>> &entries)
{
    auto *b = makeButton(name, caption, QString());
    auto *menu = new QMenu(b);
    menu->setObjectName(u(menuName));
    QStringList cmds;
    for (const auto &[entryName, entryCaption] : entries) {
        QAction *a = menu->addAction(u(entryCaption));
        a->setObjectName(u(entryName));
        const QString command = triggerCommand(entryName);
        connect(a, &QAction::triggered, this, [this, command] { runFromTrigger(command); });
        m_entryActions.append({a, command});
        cmds << command;
    }
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    m_triggerWidgets.append({b, cmds});
    return b;
}

void TfrmMain::buildTopToolBar()
{
    auto *bar = new QToolBar(QStringLiteral("工具栏"), this);
    bar->setObjectName(QStringLiteral("TopToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(24, 24));
    QStyle *st = style();
    auto add = [&](QToolButton *b, QStyle::StandardPixmap pm) {
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIcon(st->standardIcon(pm));
        b->setMinimumWidth(55);
        bar->addWidget(b);
    };
    auto plain = [&](const char *name, const char *caption, QStyle::StandardPixmap pm) {
        add(makeButton(name, u(caption), triggerCommand(name)), pm);
    };
    plain("TB_BookManager", "图书管理", QStyle::SP_FileDialogDetailedView);
    plain("TB_MagazineManager", "期刊管理", QStyle::SP_FileDialogListView);
    plain("TB_ReaderManager", "读者管理", QStyle::SP_DirHomeIcon);
    bar->addSeparator();
    add(makeDropDown("TB_FindBookInfor", QStringLiteral("书籍查询"), "BookFindMenu",
                     {{"N5", "图书资料数据查询"}, {"N15", "期刊资料数据查询"}}),
        QStyle::SP_FileDialogContentsView);
    add(makeDropDown("TB_FindMagazineInfor", QStringLiteral("借阅查询"), "RentInforMenu",
                     {{"N18", "图书借阅信息查询"}, {"N19", "期刊借阅信息查询"}}),
        QStyle::SP_FileDialogInfoView);
    plain("TB_FindReaderInfor", "读者查询", QStyle::SP_FileDialogStart);
    bar->addSeparator();
    plain("TB_LostControl", "挂失解挂", QStyle::SP_MessageBoxWarning);
    plain("TB_LogOut", "读者注销", QStyle::SP_DialogDiscardButton);
    bar->addSeparator();
    plain("TB_DaysDataCount", "今日数据", QStyle::SP_FileDialogNewFolder);
    plain("TB_MoneyCount", "资金统计", QStyle::SP_DriveHDIcon);
    add(makeDropDown("TB_TaxisAboutRent", QStringLiteral("借阅排名"), "TaxisCountMenu",
                     {{"N20", "图书借阅排名分析"}, {"N21", "期刊借阅排名分析"}, {"N22", "读者借阅排名分析"}}),
        QStyle::SP_ArrowUp);
    bar->addSeparator();
    auto *quit = makeButton("TB_QuitSys", QStringLiteral("退出系统"), QString());
    connect(quit, &QToolButton::clicked, this, &TfrmMain::close);
    add(quit, QStyle::SP_DialogCloseButton);
    addToolBar(Qt::TopToolBarArea, bar);
}

void TfrmMain::buildLeftToolBar()
{
    auto *bar = new QToolBar(QStringLiteral("常用操作"), this);
    bar->setObjectName(QStringLiteral("LeftToolBar"));
    bar->setMovable(false);
    bar->setOrientation(Qt::Vertical);
    bar->setFixedWidth(165);
    bar->setStyleSheet(QStringLiteral("QToolButton { text-align: left; padding: 6px 8px; }"));
    static const std::pair<const char *, const char *> buttons[] = {
        {"TB_RentBook", "借阅图书【F1】"}, {"TB_ReletBook", "续借图书【F2】"}, {"TB_BackBook", "归还图书【F3】"},
        {nullptr, nullptr},
        {"TB_RentMagazine", "借阅期刊【F4】"}, {"TB_ReletMagazine", "续借期刊【F5】"}, {"TB_BackMagazine", "归还期刊【F6】"},
        {nullptr, nullptr},
        {"TB_AddBook", "新增图书【F7】"}, {"TB_AddMagazine", "新增期刊【F8】"}, {"TB_AddReader", "新增读者【F9】"},
        {"TB_ActiveFixedRent", "包租充值【F10】"},
    };
    for (const auto &[name, caption] : buttons) {
        if (!name) {
            bar->addSeparator();
            continue;
        }
        QToolButton *b = makeButton(name, u(caption), triggerCommand(name));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setMinimumHeight(34);
        bar->addWidget(b);
    }
    addToolBar(Qt::LeftToolBarArea, bar);
}

void TfrmMain::buildKeys()
{
    for (int i = 1; i <= 10; ++i) {
        const QString key = QStringLiteral("F%1").arg(i);
        auto *a = new QAction(key, this);
        a->setObjectName(key);
        a->setShortcut(QKeySequence(Qt::Key_F1 + (i - 1)));
        a->setShortcutContext(Qt::WindowShortcut);
        const QString command = triggerCommand(key.toLatin1().constData());
        connect(a, &QAction::triggered, this, [this, command] { runFromTrigger(command); });
        addAction(a);
    }
}

void TfrmMain::applyStates()
{
    for (const CommandDef &c : commands()) {
        const QString name = u(c.name);
        QAction *a = m_menuActions.value(name);
        if (!a)
            continue;
        const bool available = m_openers.contains(name);
        a->setEnabled(available && m_rights.has(c.right ? u(c.right) : QString()));
        a->setToolTip(available ? QString() : NotYetText);
        a->setStatusTip(available ? QString() : NotYetText);
    }
    // A submenu whose entries are all unavailable is greyed as a whole.
    for (QMenu *sub : std::as_const(m_subMenus)) {
        bool any = false;
        for (QAction *a : sub->actions())
            any = any || a->isEnabled();
        sub->menuAction()->setEnabled(any);
    }
    // Buttons and entries carry no right of their own (they re-check it
    // when pressed), but one whose screen does not exist must not look usable.
    for (const auto &[w, cmds] : std::as_const(m_triggerWidgets)) {
        bool any = false;
        for (const QString &c : cmds)
            any = any || m_openers.contains(c);
        w->setEnabled(any);
        w->setToolTip(any ? QString() : NotYetText);
    }
    for (const auto &[a, cmd] : std::as_const(m_entryActions)) {
        a->setEnabled(m_openers.contains(cmd));
        a->setToolTip(a->isEnabled() ? QString() : NotYetText);
    }
}

void TfrmMain::setOpener(const QString &command, std::function<void()> open)
{
    if (open)
        m_openers.insert(command, std::move(open));
    else
        m_openers.remove(command);
    applyStates();
}

void TfrmMain::runFromTrigger(const QString &command)
{
    const CommandDef *c = find(command);
    if (!c)
        return;
    if (!m_rights.has(c->right ? u(c->right) : QString())) {
        m_hub.Bast1.ShowMsg(NoRightText, QStringLiteral("warn"));
        return;
    }
    if (auto f = m_openers.value(command))
        f();
    else
        statusBar()->showMessage(NotYetText, 3000);
}

void TfrmMain::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (Database *db = m_hub.db()) {
        try {
            m_rights = OperatorRights::load(*db, m_hub.g.CurrentUser);
        } catch (const DbError &e) {
            // Without the rights row nothing gated may be offered.
            m_rights = OperatorRights::nothing();
            m_hub.Bast1.ShowDbError(e);
        }
    }
    applyStates();
    m_operatorPanel->setText(QStringLiteral("当前操作员：") + m_hub.g.CurrentUser);
    loadBackground();
    setWindowTitle(QStringLiteral("Qandor图书馆管理系统"));
}

void TfrmMain::loadBackground()
{
    QString path;
    try {
        path = m_hub.IniIo.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH"));
    } catch (const IniError &) {
        return; // no set.ini: the built-in picture stays
    }
    if (path.trimmed().isEmpty() || path == QLatin1String("NULL"))
        return;
    // A picture that cannot be loaded is ignored: the built-in one stays.
    m_back->loadPicture(path.trimmed());
}

void TfrmMain::showEvent(QShowEvent *event)
{
    prepare();
    QMainWindow::showEvent(event);
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activatedOnce) {
        m_activatedOnce = true;
        QMetaObject::invokeMethod(this, &TfrmMain::openWarnings, Qt::QueuedConnection);
    }
}

void TfrmMain::openWarnings()
{
    // Each list opens at most once per run: the flags are cleared as used.
    if (m_hub.g.WarnBookOverdue) {
        m_hub.g.WarnBookOverdue = false;
        if (openBookOverdueAuto)
            openBookOverdueAuto();
    }
    if (m_hub.g.WarnMagazineOverdue) {
        m_hub.g.WarnMagazineOverdue = false;
        if (openMagazineOverdueAuto)
            openMagazineOverdueAuto();
    }
}

template <class Screen>
void TfrmMain::openScreen()
{
    // A fresh screen every time, freed when it closes.
    try {
        Screen screen(m_hub, this);
        screen.exec();
    } catch (const DbError &e) {
        m_hub.Bast1.ShowDbError(e);
    }
}

void TfrmMain::openUserSet() { openScreen<TfrmUserSet>(); }
void TfrmMain::openSysParameterSet() { openScreen<TfrmSysParameterSet>(); }
void TfrmMain::openChangePas() { openScreen<TfrmChangePas>(); }

void TfrmMain::openAbout()
{
    TfrmAbout about(this);
    about.exec();
}

void TfrmMain::setDefaultBackground()
{
    try {
        m_hub.IniIo.WriteString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH"), QString());
    } catch (const IniError &e) {
        m_hub.Bast1.ShowMsg(e.message(), QStringLiteral("error"));
        return;
    }
    // The current picture stays until the next start.
    m_hub.Bast1.ShowMsg(QStringLiteral("设置完成，该设置在下次启动软件时生效！"), QStringLiteral("ok"));
}

bool TfrmMain::applyChosenBackground(const QString &path)
{
    if (!m_back->loadPicture(path)) {
        m_hub.Bast1.ShowMsg(QStringLiteral("无法打开所选的图片文件，背景未更改！"), QStringLiteral("warn"));
        return false;
    }
    try {
        m_hub.IniIo.WriteString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH"),
                                QFileInfo(path).absoluteFilePath());
    } catch (const IniError &e) {
        m_hub.Bast1.ShowMsg(e.message(), QStringLiteral("error"));
        return false;
    }
    return true;
}

void TfrmMain::chooseBackground()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择背景图片"), m_hub.g.AppPath,
        QStringLiteral("图片文件 (*.jpg *.jpeg *.png *.bmp *.gif);;所有文件 (*)"));
    if (!path.isEmpty())
        applyChosenBackground(path);
}

bool TfrmMain::reconfigure()
{
    if (!m_hub.Bast1.AskMsg(QStringLiteral("您确定要重新配制数据库么？这样软件将启动数据库\n配置界面！确定请按【是】,退出请按【否】！"),
                            QStringLiteral("yes")))
        return false;
    try {
        m_hub.IniIo.WriteBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN"), true);
    } catch (const IniError &e) {
        m_hub.Bast1.ShowMsg(e.message(), QStringLiteral("error"));
        return false;
    }
    if (!restartProgram || !restartProgram()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("无法重新启动本程序，请手动启动后进行数据库配置！"), QStringLiteral("warn"));
    }
    // This run ends without the exit question; the next start opens the set-up.
    m_forceExit = true;
    close();
    return true;
}

void TfrmMain::quitAfterReconfigure() { reconfigure(); }

bool TfrmMain::openHelp()
{
    const QString file = m_hub.g.AppPath + QStringLiteral("help.htm");
    if (!QFileInfo(file).isFile()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("找不到帮助文件：") + QDir::toNativeSeparators(file), QStringLiteral("warn"));
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        m_hub.Bast1.ShowMsg(QStringLiteral("无法打开帮助文件，请用浏览器打开：") + QDir::toNativeSeparators(file),
                            QStringLiteral("warn"));
        return false;
    }
    return true;
}

void TfrmMain::openHelpCommand() { openHelp(); }

void TfrmMain::quitCommand() { close(); }

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_forceExit) {
        if (!m_hub.Bast1.AskMsg(QStringLiteral("确定要退出系统么?"), QStringLiteral("ok"))) {
            event->ignore();
            return;
        }
        // The program ends whatever the backup says.
        try {
            m_hub.runExitBackup();
        } catch (...) {
        }
    }
    event->accept();
    emit finished(m_exitCode);
}

int TfrmMain::execModal()
{
    QEventLoop loop;
    connect(this, &TfrmMain::finished, &loop, &QEventLoop::exit);
    setWindowModality(Qt::ApplicationModal);
    showMaximized();
    return loop.exec();
}

} // namespace qandor
