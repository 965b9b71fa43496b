#pragma once

#include "app/operatorrights.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace qandor {

class Hub;
class MainBackground;

// The window the operator works in after logging in: menu, tool bars,
// function keys, background and status bar. Every command either opens a
// screen modally (created fresh, freed on close) or runs a small action.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // One menu command. `right` is the column of 用户管理 that enables it
    // (nullptr: always allowed); `open` is nullptr while its screen is not
    // built yet: such a command stays disabled.
    struct CommandDef {
        const char *menu;    // top-level menu caption
        const char *sub;     // objectName of its submenu, or nullptr
        const char *name;    // objectName of the menu item
        const char *caption;
        const char *right;
        void (TfrmMain::*open)();
        bool separatorBefore = false;
    };
    // A tool button, drop-down entry or key that starts a menu command.
    struct TriggerDef {
        const char *name;    // TB_..., N5..., F1...
        const char *command; // the menu command it starts
    };

    explicit TfrmMain(Hub &hub, QWidget *parent = nullptr);
    ~TfrmMain() override;

    static const QList<CommandDef> &commands();
    static const QList<TriggerDef> &triggers();

    // What the window does when shown after login: rights, status bar,
    // background, caption. Runs once, on the first show.
    void prepare();
    // Gives a command its screen (or replaces it) and refreshes the states.
    void setOpener(const QString &command, std::function<void()> open);
    bool hasOpener(const QString &command) const { return m_openers.contains(command); }
    // Starts a command from a tool button, drop-down entry or key: refused
    // with "当前用户无此操作权限！" when the operator lacks its right.
    void runFromTrigger(const QString &command);

    // Shows the window modally and returns when the program is to end.
    int execModal();

    MainBackground *background() const { return m_back; }
    QLabel *operatorPanel() const { return m_operatorPanel; }
    const OperatorRights &rights() const { return m_rights; }

    // Background commands, usable without the file dialog.
    void setDefaultBackground();
    bool applyChosenBackground(const QString &path);
    // "网络版设置"; true when the program is restarting.
    bool reconfigure();
    // "使用帮助": opens help.htm; false (with a message) when it is missing.
    bool openHelp();

    // Starts this program again (reconfiguration). Tests replace it.
    std::function<bool()> restartProgram;
    // Opens the book / magazine overdue list in its automatic mode on the
    // first activation when the login asked for it.
    std::function<void()> openBookOverdueAuto, openMagazineOverdueAuto;

signals:
    void finished(int code);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenus();
    void buildTopToolBar();
    void buildLeftToolBar();
    void buildKeys();
    QToolButton *makeButton(const char *name, const QString &caption, const QString &command);
    QToolButton *makeDropDown(const char *name, const QString &caption, const char *menuName,
                              const QList<std::pair<const char *, const char *>> &entries);
    void applyStates();
    void loadBackground();
    void openWarnings();
    const CommandDef *find(const QString &command) const;

    template <class Screen>
    void openScreen();
    void openUserSet();
    void openSysParameterSet();
    void openChangePas();
    // Catalogue commands (tfrmmaincatalogue.cpp).
    void openAddBook();
    void openAddMagazine();
    void openClassification();
    void openBookConcern();
    // Reader commands (tfrmmainreaders.cpp).
    void openReaderType();
    void openReaderManager();
    void openReaderLookup();
    void openAddReader();
    // Lending desk commands (tfrmmaincirculation.cpp).
    void openRentBook();
    void openReletBook();
    void openBackBook();
    void openActiveFixedRent();
    void openLostControl();
    void openLogOut();
    void chooseBackground();
    void openAbout();
    void openHelpCommand();
    void quitAfterReconfigure();
    void quitCommand();

    Hub &m_hub;
    OperatorRights m_rights = OperatorRights::everything();
    QHash<QString, std::function<void()>> m_openers;
    QHash<QString, QAction *> m_menuActions;
    QList<QMenu *> m_subMenus;
    QList<std::pair<QWidget *, QStringList>> m_triggerWidgets; // tool buttons and the commands behind them
    QList<std::pair<QAction *, QString>> m_entryActions;        // drop-down entries
    MainBackground *m_back = nullptr;
    QLabel *m_operatorPanel = nullptr;
    bool m_prepared = false;
    bool m_activatedOnce = false;
    bool m_forceExit = false;
    int m_exitCode = 0;
};

} // namespace qandor
