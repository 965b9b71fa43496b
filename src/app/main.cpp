#include "app/hub.h"
#include "app/messageboxsink.h"
#include "app/tfrmlogin.h"

#include <QApplication>
#include <QMessageBox>

using namespace qandor;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qandor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qandor图书管理系统"));

    MessageBoxSink sink;
    Hub hub(&sink);
    const QString appPath = Hub::resolveAppPath(QCoreApplication::applicationDirPath());
    StartOutcome outcome;
    try {
        outcome = hub.start(appPath);
    } catch (const IniError &e) {
        sink.showMsg(e.message(), QStringLiteral("error"));
        return 1;
    }
    switch (outcome) {
    case StartOutcome::FirstRun:
        // The network setup comes here; until then the operator edits
        // database/set.ini and starts the program again.
        return 0;
    case StartOutcome::ConnectFailed:
        return 1;
    case StartOutcome::Ready:
        break;
    }

    TfrmLogin login(hub);
    try {
        login.prepare();
    } catch (const DbError &e) {
        hub.Bast1.ShowDbError(e);
        return 1;
    }
    QObject::connect(&login, &TfrmLogin::loggedIn, &login, [&login] { login.accept(); });
    login.show();
    return app.exec();
}
