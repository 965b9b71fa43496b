#include "circulation/lendingdesk.h"
#include "deskfixture.h"

#include <QtTest>
#include <atomic>
#include <barrier>
#include <thread>

using namespace qandor;
using namespace qandor::test;

// Two desks, each on its own connection in its own thread, race for the
// same copy and for the same reader's last allowance, round after round.
class TestLendConcurrency : public QObject {
    Q_OBJECT
private slots:
    void twoDesksNeverOverlend();
};

namespace {
struct Job {
    QString reader;
    QString book;
};

struct DeskRun {
    QList<bool> lent; // per job
    QStringList failures;
};

void runDesk(TestDb &t, const QList<Job> &jobs, std::barrier<> &sync, DeskRun &out)
{
    std::unique_ptr<Database> db = t.openSecondConnection();
    RecordingSink sink;
    TBast bast(db.get(), &sink);
    LendingDesk desk(bast, QStringLiteral("台"));
    for (const Job &job : jobs) {
        bool ok = false;
        if (db) {
            desk.reset();
            if (desk.loadReader(job.reader).ok && desk.addBookBySearch(job.book, BookSearch::Number).ok && !desk.pending().isEmpty()) {
                sync.arrive_and_wait(); // both lists are ready: lend at once
                ok = desk.lendBooks().ok;
            } else {
                out.failures << job.reader + QLatin1Char('/') + job.book + QLatin1Char(':') + sink.lastText();
                sync.arrive_and_wait();
            }
        } else {
            sync.arrive_and_wait();
        }
        out.lent << ok;
        for (const RecordingSink::Entry &e : sink.entries)
            if (e.kind == QLatin1String("error"))
                out.failures << e.text;
        sink.entries.clear();
        sync.arrive_and_wait(); // round over
    }
    if (!db)
        out.failures << QStringLiteral("no connection");
}
} // namespace

void TestLendConcurrency::twoDesksNeverOverlend()
{
    QANDOR_TESTDB(t);
    DeskFixture f(t);
    f.addType({QStringLiteral("单本"), 1, 30});
    f.addType({QStringLiteral("多本"), 50, 30});
    const int rounds = 25;
    QList<Job> desk1, desk2;
    for (int i = 0; i < rounds; ++i) {
        // Same reader, one allowance left, different copies.
        const QString r = QStringLiteral("R%1").arg(i);
        f.addReader({r, QStringLiteral("读者"), QStringLiteral("单本")});
        f.addBook(QStringLiteral("X%1").arg(i), QStringLiteral("书"));
        f.addBook(QStringLiteral("Y%1").arg(i), QStringLiteral("书"));
        desk1 << Job{r, QStringLiteral("X%1").arg(i)};
        desk2 << Job{r, QStringLiteral("Y%1").arg(i)};
        // Same copy, different readers.
        const QString s1 = QStringLiteral("S%1a").arg(i), s2 = QStringLiteral("S%1b").arg(i);
        f.addReader({s1, QStringLiteral("甲"), QStringLiteral("多本")});
        f.addReader({s2, QStringLiteral("乙"), QStringLiteral("多本")});
        f.addBook(QStringLiteral("Z%1").arg(i), QStringLiteral("书"));
        desk1 << Job{s1, QStringLiteral("Z%1").arg(i)};
        desk2 << Job{s2, QStringLiteral("Z%1").arg(i)};
    }

    std::barrier<> sync(2);
    DeskRun run1, run2;
    std::thread a([&] { runDesk(t, desk1, sync, run1); });
    std::thread b([&] { runDesk(t, desk2, sync, run2); });
    a.join();
    b.join();

    QVERIFY2(run1.failures.isEmpty(), qPrintable(run1.failures.join(QLatin1Char('\n'))));
    QVERIFY2(run2.failures.isEmpty(), qPrintable(run2.failures.join(QLatin1Char('\n'))));
    QCOMPARE(run1.lent.size(), desk1.size());
    QCOMPARE(run2.lent.size(), desk2.size());
    for (int j = 0; j < desk1.size(); ++j)
        QVERIFY2(run1.lent.at(j) != run2.lent.at(j), qPrintable(QStringLiteral("race %1: exactly one desk must win").arg(j)));

    QCOMPARE(f.count(QStringLiteral("select count(*) from (select 图书编号 from 图书借阅信息 where 状态='未还' "
                                    "group by 图书编号 having count(*)>1) t")),
             0);
    QCOMPARE(f.count(QStringLiteral("select count(*) from 读者资料 r, 读者类型 y where r.类型=y.类型名称 and "
                                    "(select count(*) from 图书借阅信息 l where l.读者编号=r.编号 and l.状态='未还')>y.图书可借数量")),
             0);
    // The counters agree with the loans written.
    QCOMPARE(f.count(QStringLiteral("select sum(借阅次数) from 读者资料")), f.loanRows());
    QCOMPARE(f.count(QStringLiteral("select count(*) from 图书资料 where 状态='借出'")), f.loanRows());
    QCOMPARE(f.loanRows(), 2 * rounds);
}

QTEST_GUILESS_MAIN(TestLendConcurrency)
#include "tst_lendconcurrency.moc"
