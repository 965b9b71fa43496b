#include "widgets/progresswindow.h"

#include <QtTest>

using namespace qandor;

class TestProgressWindow : public QObject {
    Q_OBJECT
private slots:
    void stepsToTheEnd_data();
    void stepsToTheEnd();
    void textVariantCountsFromZero();
    void cancelIsPolled();
    void closeEarly();
    void emptyTotalDoesNotLinger();
};

void TestProgressWindow::stepsToTheEnd_data()
{
    QTest::addColumn<bool>("processing");
    QTest::addColumn<QString>("caption");
    QTest::newRow("reading") << false << QStringLiteral("正在读取数据，请稍候......");
    QTest::newRow("processing") << true << QStringLiteral("正在处理数据，请稍候......");
}

void TestProgressWindow::stepsToTheEnd()
{
    QFETCH(bool, processing);
    QFETCH(QString, caption);
    ProgressWindow *window = nullptr;
    int counter = 0;
    int eventsSeen = 0;
    for (int i = 1; i <= 3; ++i) {
        // Work posted by the UI before the step runs during it.
        QMetaObject::invokeMethod(this, [&eventsSeen] { ++eventsSeen; }, Qt::QueuedConnection);
        QVERIFY(StepProgress(3, counter, processing, window));
        QCOMPARE(counter, i);
        QCOMPARE(eventsSeen, i);
        if (i < 3) {
            QVERIFY(window);
            QVERIFY(window->isVisible());
            QCOMPARE(window->windowTitle(), caption);
            QCOMPARE(window->bar()->maximum(), 3);
            QCOMPARE(window->bar()->value(), i);
            QVERIFY(window->findChild<QPushButton *>(QStringLiteral("CancelButton")));
        }
    }
    QVERIFY(!window); // closed and freed at the last step
}

void TestProgressWindow::textVariantCountsFromZero()
{
    QWidget owner;
    ProgressWindow *window = nullptr;
    int counter = 42; // left over from an earlier loop
    QVERIFY(StepProgressText(&owner, 2, counter, QStringLiteral("正在升级数据库，请稍后......"), window));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("正在升级数据库，请稍后......"));
    QCOMPARE(window->parentWidget(), &owner);
    QCOMPARE(counter, 1);
    QCOMPARE(window->bar()->value(), 0); // the count before this step
    QVERIFY(StepProgressText(&owner, 2, counter, QStringLiteral("正在升级数据库，请稍后......"), window));
    QCOMPARE(counter, 2);
    QVERIFY(!window);
}

void TestProgressWindow::cancelIsPolled()
{
    ProgressWindow *window = nullptr;
    int counter = 0;
    int done = 0;
    for (int i = 0; i < 100; ++i) {
        if (i == 5) {
            // The operator's click arrives while the loop runs.
            QVERIFY(window);
            QPushButton *cancel = window->findChild<QPushButton *>(QStringLiteral("CancelButton"));
            QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
        }
        if (!StepProgress(100, counter, true, window))
            break;
        ++done;
    }
    QCOMPARE(done, 5);
    QVERIFY(window);
    QVERIFY(window->cancelled());
    CloseProgress(window);
    QVERIFY(!window);
}

void TestProgressWindow::closeEarly()
{
    ProgressWindow *window = nullptr;
    int counter = 0;
    QVERIFY(StepProgress(10, counter, false, window));
    QPointer<ProgressWindow> watch(window);
    CloseProgress(window);
    QVERIFY(!window);
    QVERIFY(watch.isNull());
    CloseProgress(window); // an empty slot is fine
    // Closing by the frame asks to cancel; the loop still owns the window.
    QVERIFY(StepProgress(10, counter, false, window));
    window->close();
    QVERIFY(window->cancelled());
    QVERIFY(!StepProgress(10, counter, false, window));
    CloseProgress(window);
}

void TestProgressWindow::emptyTotalDoesNotLinger()
{
    ProgressWindow *window = nullptr;
    int counter = 0;
    QVERIFY(StepProgress(0, counter, false, window));
    QVERIFY(!window);
    counter = 0;
    QVERIFY(StepProgressText(nullptr, 0, counter, QStringLiteral("x"), window));
    QVERIFY(!window);
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
