// qandor-bench: times the operations the desk waits on against a generated
// library and prints one Markdown row per operation (median and 90th
// percentile of repeated runs). Writing operations run inside a
// transaction that is rolled back, so the library stays as generated.
//   qandor-bench --file build/bench-data/small.db --label "SQLite 小"
//   qandor-bench --server --dbname bench_small --label "PostgreSQL 小"
#include "data/database.h"
#include "data/schema.h"
#include "data/tbast.h"
#include "app/hub.h"
#include "app/loginlogic.h"
#include "circulation/lendingdesk.h"
#include "circulation/renewdesk.h"
#include "circulation/returndesk.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <random>

using namespace qandor;

namespace {

QString s(const char *t) { return QString::fromUtf8(t); }

struct Options {
    bool server = false;
    QString file;
    ServerParams params;
    QDate today;
    int maxRuns = 200;
    double maxSeconds = 3.0;
};

std::unique_ptr<Database> open(const Options &o)
{
    QString error;
    auto db = o.server ? Database::openServer(o.params, &error) : Database::openFile(o.file, &error);
    if (!db)
        throw std::runtime_error(QString(s("无法打开数据库：") + error).toStdString());
    return db;
}

void drain(QSqlQuery &q)
{
    while (q.next())
        (void)q.value(0);
}

class Harness {
public:
    explicit Harness(QTextStream &out, const Options &o, QString label) : m_out(out), m_o(o), m_label(std::move(label)) {}

    // Runs `op` (argument: run number) until maxRuns or maxSeconds, after two warm-up runs.
    void measure(const QString &name, const std::function<void(int)> &op, int maxRuns = -1)
    {
        const int limit = maxRuns > 0 ? maxRuns : m_o.maxRuns;
        op(0);
        op(1);
        std::vector<double> ms;
        QElapsedTimer total;
        total.start();
        for (int i = 2; int(ms.size()) < limit && (ms.size() < 5 || total.elapsed() < m_o.maxSeconds * 1000); ++i) {
            QElapsedTimer t;
            t.start();
            op(i);
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        const double p90 = ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.9))];
        m_out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 |")
                     .arg(m_label, name)
                     .arg(median, 0, 'f', median < 10 ? 3 : 1)
                     .arg(p90, 0, 'f', p90 < 10 ? 3 : 1)
                     .arg(ms.size())
              << Qt::endl;
    }

private:
    QTextStream &m_out;
    const Options &m_o;
    QString m_label;
};

QStringList sample(Database &db, const QString &sql, int n, quint64 seed)
{
    QStringList all;
    QSqlQuery q = db.exec(sql);
    while (q.next())
        all << q.value(0).toString();
    if (all.isEmpty())
        throw std::runtime_error(QString(s("没有可用的样本：") + sql).toStdString());
    std::mt19937_64 rng(seed);
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << all.at(int(rng() % quint64(all.size())));
    return out;
}

// Messages of the desk code: questions are answered yes, the rest is kept
// so a refused step shows in the output instead of being timed as if done.
class BenchSink final : public MessageSink {
public:
    void showMsg(const QString &text, const QString &) override { last = text; }
    bool askMsg(const QString &, const QString &) override { return true; }
    void showError(const QString &text, const QString &) override { last = text; }
    QString last;
};

// The start-up work before the login screen, through the login form's own
// start-up (upgrade, parameters, reader and reservation sweeps, operator
// list) on a new connection each time.
void startUp(const Options &o, const QString &iniPath)
{
    auto db = open(o);
    if (Schema::isEmpty(*db))
        throw std::runtime_error("数据库为空");
    BenchSink sink;
    Hub hub(&sink);
    hub.IniIo.setIniFilePath(iniPath);
    hub.useDatabase(db.get());
    LoginLogic(hub).runStartup(o.today);
}

// A desk action that must have succeeded for its time to mean anything.
void require(bool ok, const BenchSink &sink, const char *what)
{
    if (!ok)
        throw std::runtime_error(QString(s(what) + s("未完成：") + sink.last).toStdString());
}

int run(const Options &o, const QString &label)
{
    QTextStream out(stdout);
    Harness h(out, o, label);
    const QString open0 = s("未还");

    // Start-up opens its own connection each time. The ISBN conversion is
    // marked done in set.ini, as after the first start of a real desk.
    QTemporaryDir iniDir;
    const QString iniPath = iniDir.filePath(s("set.ini"));
    {
        QFile f(iniPath);
        if (!f.open(QIODevice::WriteOnly) || f.write("[UPDATE]\r\nISBN=1\r\n") < 0)
            throw std::runtime_error("无法写入临时 set.ini");
    }
    h.measure(s("启动到登录界面（升级检查、参数、读者与预定到期清理）"), [&](int) { startUp(o, iniPath); }, 30);

    auto db = open(o);
    Database &d = *db;
    const Dialect &dl = d.dialect();
    const QStringList readers = sample(d, s("select 编号 from 读者资料 where 状态='正常'"), 500, 1);
    // Readers who may borrow now: card in order, nothing out, quota left.
    const QStringList lenders = sample(d, s("select 编号 from 读者资料 where 状态='正常' and (当前可用量>0 or 包租=") + dl.falseValue()
                                              + s(") and 编号 not in (select 读者编号 from 图书借阅信息 where 状态='未还') "
                                                  "and 编号 not in (select 读者编号 from 期刊借阅信息 where 状态='未还')"),
                                       500, 8);
    const QStringList shelf = sample(d, s("select 图书编号 from 图书资料 where 状态='在馆'"), 500, 3);
    const QStringList isbns = sample(d, s("select 标准ISBN from 图书资料"), 500, 4);
    const QStringList titles = sample(d, s("select 图书名称 from 图书资料"), 500, 6);
    const QStringList holders = sample(d, s("select 读者编号 from 图书借阅信息 where 状态='未还' and 读者编号 in "
                                              "(select 编号 from 读者资料 where 状态='正常')"),
                                       500, 7);
    const qint64 minId = d.scalar(s("select min(ID) from 图书借阅信息")).toLongLong();
    const qint64 maxId = d.scalar(s("select max(ID) from 图书借阅信息")).toLongLong();

    BenchSink sink;
    TBast bast(&d, &sink);
    h.measure(s("调出读者（借书台：读者与类型、未还数、预定）"), [&](int i) {
        LendingDesk desk(bast, s("超级用户"));
        desk.setToday(o.today);
        require(desk.loadReader(readers.at(i % readers.size())).ok, sink, "调出读者");
    });
    // Adding a book to the lending list: the copy search of the desk.
    LendingDesk adder(bast, s("超级用户"));
    adder.setToday(o.today);
    require(adder.loadReader(lenders.at(0)).ok, sink, "调出读者");
    const auto add = [&](const QString &text, BookSearch kind) {
        adder.clearPending();
        adder.addBookBySearch(text, kind);
    };
    h.measure(s("按图书编号添加图书"), [&](int i) { add(shelf.at(i % shelf.size()), BookSearch::Number); });
    h.measure(s("按标准ISBN添加图书"), [&](int i) { add(isbns.at(i % isbns.size()), BookSearch::Isbn); });
    h.measure(s("按图书名称添加图书（包含匹配）"), [&](int i) { add(titles.at(i % titles.size()).mid(1, 3), BookSearch::Title); }, 50);
    // The desk actions run through the desk classes of the program inside
    // an outer transaction that is rolled back: the desk's own commit is
    // then an inner one, and the library stays as generated.
    h.measure(s("借出一本图书（调出读者、按编号添加、借出；回滚）"), [&](int i) {
        Transaction outer(d);
        LendingDesk desk(bast, s("超级用户"));
        desk.setToday(o.today);
        require(desk.loadReader(lenders.at(i % lenders.size())).ok, sink, "调出读者");
        desk.clearPending(); // reservations of the reader are not part of this action
        require(desk.addBookBySearch(shelf.at(i % shelf.size()), BookSearch::Number).ok, sink, "添加图书");
        require(desk.lendBooks().lent == 1, sink, "借出");
    });
    h.measure(s("归还一本图书（调出未还与费用、归还；回滚）"), [&](int i) {
        Transaction outer(d);
        ReturnDesk desk(bast, s("超级用户"));
        desk.setToday(o.today);
        require(desk.loadOpenLoans(holders.at(i % holders.size()), LoanLookup::Reader).ok, sink, "调出未还");
        desk.setTicked(0, true);
        require(desk.returnBooks().returned >= 1, sink, "归还");
    });
    h.measure(s("续借一本图书（调出未还、续借；回滚）"), [&](int i) {
        Transaction outer(d);
        RenewDesk desk(bast, s("超级用户"));
        desk.setToday(o.today);
        require(desk.loadOpenLoans(holders.at(i % holders.size()), LoanLookup::Reader).ok, sink, "调出未还");
        desk.untickAll();
        desk.setTicked(0, true);
        desk.renewBooks(); // a book already renewed today is refused: that check is part of the cost
    });
    const QString page = s("select ID,状态,读者编号,姓名,图书编号,图书名称,借出日期,应还日期,实还日期,借阅租金,超期罚金 from 图书借阅信息 ");
    h.measure(s("借阅列表第一页（100 行）"), [&](int) {
        QSqlQuery q = d.exec(page + s("where ID<=? order by ID desc") + dl.limit(100), {maxId});
        drain(q);
    });
    h.measure(s("借阅列表最后一页（100 行）"), [&](int) {
        QSqlQuery q = d.exec(page + s("where ID<? order by ID desc") + dl.limit(100), {minId + 100});
        drain(q);
    });
    h.measure(s("借阅列表总行数（页数）"), [&](int) { d.scalar(s("select count(*) from 图书借阅信息")); }, 30);
    h.measure(s("今日未还超期列表"), [&](int) {
        QSqlQuery q = d.exec(s("select ID,读者编号,姓名,图书编号,图书名称,借出日期,应还日期 from 图书借阅信息 where 状态=? and 应还日期<?"),
                             {open0, o.today});
        drain(q);
    }, 30);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(s("对生成的图书馆数据库计时：启动、调出读者、添加图书、借还续、借阅列表翻页。"));
    p.addHelpOption();
    const QCommandLineOption fileOpt(s("file"), s("SQLite 数据库文件"), s("path"));
    const QCommandLineOption serverOpt(s("server"), s("PostgreSQL（连接参数取 QANDOR_TEST_PG* 环境变量）"));
    const QCommandLineOption dbOpt(s("dbname"), s("数据库名"), s("name"));
    const QCommandLineOption labelOpt(s("label"), s("结果行的标签"), s("text"), s("-"));
    const QCommandLineOption todayOpt(s("today"), s("生成数据时的“今天”"), s("date"), s("2024-06-28"));
    const QCommandLineOption runsOpt(s("runs"), s("每项最多运行次数"), s("n"), s("200"));
    p.addOptions({fileOpt, serverOpt, dbOpt, labelOpt, todayOpt, runsOpt});
    p.process(app);

    Options o;
    o.server = p.isSet(serverOpt);
    o.file = p.value(fileOpt);
    o.today = QDate::fromString(p.value(todayOpt), Qt::ISODate);
    o.maxRuns = std::max(5, p.value(runsOpt).toInt());
    if (o.server == !o.file.isEmpty() || !o.today.isValid()) {
        QTextStream(stderr) << s("请给出 --file PATH 或 --server，以及有效的 --today") << Qt::endl;
        return 2;
    }
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    o.params.host = env.value(s("QANDOR_TEST_PGHOST"));
    o.params.port = env.value(s("QANDOR_TEST_PGPORT")).toInt();
    o.params.user = env.value(s("QANDOR_TEST_PGUSER"));
    o.params.database = p.isSet(dbOpt) ? p.value(dbOpt) : s("dbdat");
    try {
        return run(o, p.value(labelOpt));
    } catch (const DbError &e) {
        QTextStream(stderr) << e.details() << Qt::endl;
    } catch (const std::exception &e) {
        QTextStream(stderr) << QString::fromUtf8(e.what()) << Qt::endl;
    }
    return 1;
}
