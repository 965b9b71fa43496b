#pragma once

#include <QString>
#include <QWidget>

class QProgressBar;
class QPushButton;

namespace qandor {

// The small floating window long loops show while they work: a caption,
// a bar and a Cancel button the loop polls where it can stop safely.
// While it is up the rest of the program takes no input (the loop lets
// pending events through, and a second command must not start meanwhile).
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(const QString &caption, int total, QWidget *owner = nullptr);

    QProgressBar *bar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }
    bool cancelled() const { return m_cancelled; }
    void setPosition(int value);

    static QString readingCaption() { return QStringLiteral("正在读取数据，请稍候......"); }
    static QString processingCaption() { return QStringLiteral("正在处理数据，请稍候......"); }

signals:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_cancelled = false;
};

// One step of a long loop. Creates the window in `window` on the first
// call ("正在处理数据..." when processing, else "正在读取数据..."), adds one
// to counter, lets pending events through and closes the window (slot
// emptied) when counter reaches total. Returns false once the operator
// pressed Cancel; the caller stops at a safe point and calls CloseProgress.
bool StepProgress(int total, int &counter, bool processing, ProgressWindow *&window);

// The same with a caller-given caption and owner; the counter starts at 0
// when the window is created and the bar shows the count before this step.
bool StepProgressText(QWidget *owner, int total, int &counter, const QString &caption, ProgressWindow *&window);

// Closes and frees the window (nothing when the slot is empty): for loops
// that end early, by Cancel or by an error.
void CloseProgress(ProgressWindow *&window);

} // namespace qandor
