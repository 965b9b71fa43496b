#include "app/housekeeping.h"
#include "app/hub.h"
#include "app/messageboxsink.h"
#include "app/tfrmlogin.h"
#include "app/tfrmmain.h"
#include "readers/tfrmtakephotofromvideo.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <memory>

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

    hub.exitBackup = [&hub] { BackupOnExit(hub); };
    // Every editor with a photo or cover box reaches the camera screen.
    ensureCameraRegistered();

    TfrmLogin login(hub);
    // A plain progress window for the long upgrade steps.
    std::unique_ptr<QProgressDialog> progress;
    login.setProgress([&progress](int done, int total, const QString &caption) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(caption, QString(), 0, total);
            progress->setWindowTitle(QStringLiteral("系统提示"));
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setMinimumDuration(500);
        }
        progress->setLabelText(caption);
        progress->setMaximum(total);
        progress->setValue(done);
        if (done >= total)
            progress.reset();
        return false;
    });
    // Start-up housekeeping: any failure stops the start with the reason shown.
    try {
        login.prepare();
    } catch (const DbError &e) {
        progress.reset();
        hub.Bast1.ShowDbError(e);
        return 1;
    } catch (const IniError &e) {
        progress.reset();
        sink.showMsg(e.message(), QStringLiteral("error"));
        return 1;
    }
    login.setProgress({});
    progress.reset();
    // "退出" or the close box: the question and the backup ran in reject().
    QObject::connect(&login, &QDialog::rejected, &app, &QCoreApplication::quit);
    // A good login: the main window for the rest of the run (its close ends the program).
    QObject::connect(&login, &TfrmLogin::loggedIn, &login, [&hub, &login] {
        TfrmMain frmMain(hub);
        login.hide();
        QCoreApplication::exit(frmMain.execModal());
    });
    login.show();
    return app.exec();
}
