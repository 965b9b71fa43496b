// qandor-bench: times the operations the desk waits on against a generated
// library and prints one Markdown row per operation (median and 90th
// percentile of repeated runs). Writing operations run inside a
// transaction that is rolled back, so the library stays as generated.
//   qandor-bench --file build/bench-data/small.db --label "SQLite 小"
//   qandor-bench --server --dbname bench_small --label "PostgreSQL 小"
#include "data/database.h"
#include "data/schema.h"
#include "data/tbast.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
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

// The start-up work before the login screen: open, check the schema, the
// upgrade's look-ups, the reader and top-up expiry sweep and the
// reservation query.
void startUp(const Options &o)
{
    auto db = open(o);
    TBast bast(db.get());
    if (Schema::isEmpty(*db))
        throw std::runtime_error("数据库为空");
    const Dialect &d = db->dialect();
    bast.AddMissingColumns(s("图书资料"), s("批次*nvarchar(50) NULL|ISBN*nvarchar(50) NULL"));
    bast.AddMissingColumns(s("期刊资料"), s("ISSN*nvarchar(50) NULL"));
    bast.AddMissingColumns(s("读者类型"), s("包租*bit default ") + d.falseValue() + s("|包租金*money default 0|包租量*int default 0"));
    bast.AddMissingColumns(s("读者资料"), s("当前包租量*int default 0|当前可用量*int default 0|当前已用量*int default 0|包租*bit default ")
                                              + d.falseValue());
    QSqlQuery z = db->exec(s("select * from ZTR_FLAG"));
    drain(z);
    QSqlQuery isbn = db->exec(s("select id,标准ISBN from 图书资料 where ISBN is NULL"));
    drain(isbn);
    QSqlQuery issn = db->exec(s("select id,标准ISBN from 期刊资料 where ISSN is NULL"));
    drain(issn);
    QSqlQuery p = db->exec(s("select * from SysParameter"));
    drain(p);
    db->exec(s("update 读者资料 set 状态=? where (有效期限制=? and 截止日期<=?) or (包租=? and 当前可用量<=0)"),
             {s("过期"), s("有"), o.today, true});
    db->exec(d.joinedUpdate(s("包租充值"), s("状态=?"), s("读者资料"),
                            s("(读者编号=编号) and (包租=?) and (读者资料.状态=?) and (包租充值.状态=?)")),
             {s("失效"), true, s("过期"), s("有效")});
    QSqlQuery users = db->exec(s("select 用户名 from 用户管理"));
    drain(users);
    QSqlQuery r = db->exec(s("select * from 预定记录 where 预定日期<?"), {o.today.addDays(-3)});
    drain(r);
}

int run(const Options &o, const QString &label)
{
    QTextStream out(stdout);
    Harness h(out, o, label);
    const QString open0 = s("未还");

    // Start-up opens its own connection each time.
    h.measure(s("启动到登录界面（打开、结构检查、到期清理、预定查询）"), [&](int) { startUp(o); }, 30);

    auto db = open(o);
    Database &d = *db;
    const Dialect &dl = d.dialect();
    const QStringList readers = sample(d, s("select 编号 from 读者资料 where 状态='正常'"), 500, 1);
    const QStringList books = sample(d, s("select 图书编号 from 图书资料"), 500, 2);
    const QStringList shelf = sample(d, s("select 图书编号 from 图书资料 where 状态='在馆'"), 500, 3);
    const QStringList isbns = sample(d, s("select 标准ISBN from 图书资料"), 500, 4);
    const QStringList isbn13 = sample(d, s("select ISBN from 图书资料"), 500, 5);
    const QStringList titles = sample(d, s("select 图书名称 from 图书资料"), 500, 6);
    const QStringList holders = sample(d, s("select 读者编号 from 图书借阅信息 where 状态='未还'"), 500, 7);
    const qint64 minId = d.scalar(s("select min(ID) from 图书借阅信息")).toLongLong();
    const qint64 maxId = d.scalar(s("select max(ID) from 图书借阅信息")).toLongLong();

    h.measure(s("调出读者（读者与类型、未还数、预定）"), [&](int i) {
        const QString r = readers.at(i % readers.size());
        QSqlQuery q = d.exec(s("select 状态,编号,姓名,性别,类型,图书可借数量,图书可借天数,有效期限,照片,读者资料.包租 as 包租,"
                               "当前包租量,当前可用量 from 读者资料,读者类型 where 读者资料.类型=读者类型.类型名称 and 编号=?"),
                             {r});
        drain(q);
        d.scalar(s("select count(*) from 图书借阅信息 where 读者编号=? and 状态=?"), {r, open0});
        QSqlQuery res = d.exec(s("select * from 预定记录 where 读者编号=? and 状态=? and 类型=?"), {r, s("有效"), s("图书")});
        drain(res);
    });
    const QString head = s("select id,状态,图书编号,图书名称,标准ISBN,分类名 from 图书资料 where ");
    h.measure(s("按图书编号添加图书"), [&](int i) {
        QSqlQuery q = d.exec(head + s("图书编号=?"), {books.at(i % books.size())});
        drain(q);
    });
    h.measure(s("按标准ISBN添加图书"), [&](int i) {
        QSqlQuery q = d.exec(head + s("标准ISBN=? or ISBN=?"), {isbns.at(i % isbns.size()), isbn13.at(i % isbn13.size())});
        drain(q);
    });
    h.measure(s("按图书名称添加图书（包含匹配）"), [&](int i) {
        const QString t = titles.at(i % titles.size());
        QSqlQuery q = d.exec(head + s("图书名称 ") + dl.like(t.mid(1, 3)));
        drain(q);
    }, 50);
    h.measure(s("借出一本图书（事务，回滚）"), [&](int i) {
        const QString r = readers.at(i % readers.size());
        const QString b = shelf.at(i % shelf.size());
        Transaction tx(d);
        d.exec(s("insert into 图书借阅信息 (状态,读者类型,读者编号,姓名,性别,图书编号,图书名称,标准ISBN,分类名,借出日期,应还日期,操作员) "
                 "select ?,类型,编号,姓名,性别,?,?,?,?,?,?,? from 读者资料 where 编号=?"),
               {open0, b, s("书名"), s("ISBN"), s("分类"), o.today, o.today.addDays(30), s("超级用户"), r});
        d.execAffected(s("update 图书资料 set 状态=?,借出次数=借出次数+1 where 图书编号=? and 状态<>?"), {s("借出"), b, s("借出")});
        d.exec(s("update 读者资料 set 借阅次数=借阅次数+1 where 编号=?"), {r});
        d.exec(s("update 预定记录 set 状态=? where 读者编号=? and 状态=? and 类型=?"), {s("生效"), r, s("有效"), s("图书")});
        // Not committed: the guard rolls the loan back.
    });
    h.measure(s("归还（调出未还与费率、归还一本，事务回滚）"), [&](int i) {
        const QString r = holders.at(i % holders.size());
        QSqlQuery q = d.exec(s("select 读者编号,姓名,性别,读者类型,图书每日租金,图书超期罚金,图书编号,图书名称,分类名,借出日期,应还日期,"
                               "图书借阅信息.id as id from 图书借阅信息,读者类型 where 图书借阅信息.读者类型=读者类型.类型名称 "
                               "and 状态=? and 读者编号=?"),
                             {open0, r});
        qint64 id = -1;
        QString book;
        while (q.next()) {
            if (id < 0) {
                id = q.value(11).toLongLong();
                book = q.value(6).toString();
            }
        }
        Transaction tx(d);
        d.execAffected(s("update 图书借阅信息 set 状态=?,实还日期=?,借阅天数=?,借阅租金=?,超期天数=?,超期罚金=?,操作员=? "
                         "where id=? and 状态=?"),
                       {s("已还"), o.today, 10, 1.0, 0, 0.0, s("超级用户"), id, open0});
        d.exec(s("update 图书资料 set 状态=? where 图书编号=?"), {s("在馆"), book});
    });
    h.measure(s("续借（今日是否续借过、改应还日期、记录，事务回滚）"), [&](int i) {
        const QString r = holders.at(i % holders.size());
        QSqlQuery q = d.exec(s("select 图书编号,借出日期,应还日期,id from 图书借阅信息 where 状态=? and 读者编号=?"), {open0, r});
        qint64 id = -1;
        QString book;
        if (q.next()) {
            book = q.value(0).toString();
            id = q.value(3).toLongLong();
        }
        QSqlQuery once = d.exec(s("select * from 图书续借记录 where 图书编号=? and 续借日期=?"), {book, o.today});
        drain(once);
        Transaction tx(d);
        d.execAffected(s("update 图书借阅信息 set 应还日期=? where id=? and 状态=?"), {o.today.addDays(30), id, open0});
        d.exec(s("update 读者资料 set 借阅次数=借阅次数+1 where 编号=?"), {r});
        d.exec(s("insert into 图书续借记录 (续借日期,读者编号,图书编号,续借后应还日期,操作员) values (?,?,?,?,?)"),
               {o.today, r, book, o.today.addDays(30), s("超级用户")});
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
