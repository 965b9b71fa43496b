#include "widgets/progresswindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace qandor {

namespace {
constexpr int kWidth = 300;
constexpr int kBarHeight = 15;
constexpr int kButtonWidth = 60;
} // namespace

ProgressWindow::ProgressWindow(const QString &caption, int total, QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setTextVisible(false);
    m_bar->setRange(0, qMax(total, 0));
    m_bar->setValue(0);

    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
        emit cancelRequested();
    });

    const int height = 5 + kBarHeight + 5 + 24 + 5;
    setFixedSize(kWidth, height);
    m_bar->setGeometry(5, 5, kWidth - 16, kBarHeight);
    m_cancel->setGeometry(kWidth - 16 - kButtonWidth + 5, 5 + kBarHeight + 5, kButtonWidth, 24);

    if (QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, height / 2));
    }
}

void ProgressWindow::setPosition(int value)
{
    m_bar->setValue(qBound(m_bar->minimum(), value, m_bar->maximum()));
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window by its frame means the same as Cancel; the loop
    // decides when it is safe to stop and frees the window.
    if (!m_cancelled)
        m_cancel->click();
    event->ignore();
}

void CloseProgress(ProgressWindow *&window)
{
    if (!window)
        return;
    ProgressWindow *w = window;
    window = nullptr;
    w->hide();
    delete w;
}

namespace {
ProgressWindow *openWindow(QWidget *owner, const QString &caption, int total)
{
    auto *w = new ProgressWindow(caption, total, owner);
    w->show();
    w->repaint();
    return w;
}

bool finishStep(int total, int counter, ProgressWindow *&window)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!window)
        return true;
    const bool cancelled = window->cancelled();
    // A total of 0 or less, or a counter past it, would otherwise leave
    // the window up for good.
    if (counter >= total)
        CloseProgress(window);
    return !cancelled;
}
} // namespace

bool StepProgress(int total, int &counter, bool processing, ProgressWindow *&window)
{
    if (!window)
        window = openWindow(nullptr, processing ? ProgressWindow::processingCaption() : ProgressWindow::readingCaption(), total);
    ++counter;
    window->setPosition(counter);
    return finishStep(total, counter, window);
}

bool StepProgressText(QWidget *owner, int total, int &counter, const QString &caption, ProgressWindow *&window)
{
    if (!window) {
        counter = 0;
        window = openWindow(owner, caption, total);
    }
    window->setPosition(counter);
    ++counter;
    return finishStep(total, counter, window);
}

} // namespace qandor
