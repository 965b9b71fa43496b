// qandor-gen: fills an empty library database with a realistic library.
//   qandor-gen --file lib.db --scale 1000000,200000,5000000 --seed 7
//   qandor-gen --server --dbname dbdat --copies 100000 --readers 20000 --loans 500000
#include "gen/generator.h"

#include "data/database.h"
#include "data/tbast.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTextStream>
#include <cstdio>

using namespace qandor;

namespace {
QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

qint64 number(const QString &text, bool *ok)
{
    QString t = text.trimmed().toLower();
    qint64 factor = 1;
    if (t.endsWith(QLatin1Char('k'))) { factor = 1000; t.chop(1); }
    else if (t.endsWith(QLatin1Char('m'))) { factor = 1000000; t.chop(1); }
    const qint64 v = t.toLongLong(ok);
    return v * factor;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qandor-gen"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("向空的 Qandor 数据库生成一个逼真的图书馆（图书、期刊、读者、借阅、续借、充值、预定）。"));
    p.addHelpOption();
    const QCommandLineOption fileOpt(QStringLiteral("file"), QStringLiteral("SQLite 数据库文件"), QStringLiteral("path"));
    const QCommandLineOption serverOpt(QStringLiteral("server"), QStringLiteral("PostgreSQL（默认取 QANDOR_TEST_PG* 环境变量）"));
    const QCommandLineOption hostOpt(QStringLiteral("host"), QStringLiteral("服务器地址或 socket 目录"), QStringLiteral("host"));
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("端口"), QStringLiteral("port"));
    const QCommandLineOption userOpt(QStringLiteral("user"), QStringLiteral("用户"), QStringLiteral("user"));
    const QCommandLineOption passOpt(QStringLiteral("password"), QStringLiteral("密码"), QStringLiteral("password"));
    const QCommandLineOption dbOpt(QStringLiteral("dbname"), QStringLiteral("数据库名"), QStringLiteral("name"));
    const QCommandLineOption scaleOpt(QStringLiteral("scale"), QStringLiteral("图书册数,读者数,借阅数（可用 k/m 后缀）"),
                                      QStringLiteral("copies,readers,loans"));
    const QCommandLineOption copiesOpt(QStringLiteral("copies"), QStringLiteral("图书册数"), QStringLiteral("n"));
    const QCommandLineOption magsOpt(QStringLiteral("magazines"), QStringLiteral("期刊册数（默认图书的十分之一）"), QStringLiteral("n"));
    const QCommandLineOption readersOpt(QStringLiteral("readers"), QStringLiteral("读者数"), QStringLiteral("n"));
    const QCommandLineOption loansOpt(QStringLiteral("loans"), QStringLiteral("借阅记录数"), QStringLiteral("n"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("随机种子"), QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption todayOpt(QStringLiteral("today"), QStringLiteral("生成数据的“今天”（yyyy-MM-dd）"), QStringLiteral("date"));
    const QCommandLineOption yearsOpt(QStringLiteral("years"), QStringLiteral("借阅历史年数"), QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption quietOpt(QStringLiteral("quiet"), QStringLiteral("不显示进度"));
    p.addOptions({fileOpt, serverOpt, hostOpt, portOpt, userOpt, passOpt, dbOpt, scaleOpt, copiesOpt, magsOpt, readersOpt,
                  loansOpt, seedOpt, todayOpt, yearsOpt, quietOpt});
    p.process(app);

    gen::GenOptions o;
    bool ok = true;
    auto fail = [](const QString &text) {
        err() << QStringLiteral("qandor-gen: ") << text << Qt::endl;
        return 2;
    };
    if (p.isSet(scaleOpt)) {
        const QStringList parts = p.value(scaleOpt).split(QLatin1Char(','));
        if (parts.size() != 3)
            return fail(QStringLiteral("--scale 需要三个数：图书册数,读者数,借阅数"));
        o.copies = number(parts[0], &ok);
        if (ok) o.readers = number(parts[1], &ok);
        if (ok) o.loans = number(parts[2], &ok);
        if (!ok)
            return fail(QStringLiteral("--scale 的数字无法识别"));
    }
    const std::pair<const QCommandLineOption *, qint64 *> counts[] = {
        {&copiesOpt, &o.copies}, {&magsOpt, &o.magazines}, {&readersOpt, &o.readers}, {&loansOpt, &o.loans}};
    for (const auto &[opt, target] : counts) {
        if (p.isSet(*opt)) {
            *target = number(p.value(*opt), &ok);
            if (!ok)
                return fail(QStringLiteral("无法识别的数字：") + p.value(*opt));
        }
    }
    o.seed = p.value(seedOpt).toULongLong(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed 必须是整数"));
    if (p.isSet(todayOpt)) {
        o.today = QDate::fromString(p.value(todayOpt), Qt::ISODate);
        if (!o.today.isValid())
            return fail(QStringLiteral("--today 的日期无法识别"));
    }
    o.years = p.value(yearsOpt).toInt(&ok);
    if (!ok || o.years < 1)
        return fail(QStringLiteral("--years 至少为 1"));

    QElapsedTimer clock;
    clock.start();
    if (!p.isSet(quietOpt))
        o.progress = [&clock](const QString &line) {
            err() << QStringLiteral("[%1s] ").arg(clock.elapsed() / 1000.0, 0, 'f', 1) << line << Qt::endl;
        };

    std::unique_ptr<Database> db;
    QString error;
    if (p.isSet(fileOpt) == p.isSet(serverOpt))
        return fail(QStringLiteral("请给出 --file PATH 或 --server 之一"));
    if (p.isSet(fileOpt)) {
        db = Database::openFile(p.value(fileOpt), &error);
    } else {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        ServerParams sp;
        sp.host = p.isSet(hostOpt) ? p.value(hostOpt) : env.value(QStringLiteral("QANDOR_TEST_PGHOST"));
        sp.port = (p.isSet(portOpt) ? p.value(portOpt) : env.value(QStringLiteral("QANDOR_TEST_PGPORT"))).toInt();
        sp.user = p.isSet(userOpt) ? p.value(userOpt) : env.value(QStringLiteral("QANDOR_TEST_PGUSER"));
        sp.password = p.value(passOpt);
        sp.database = p.isSet(dbOpt) ? p.value(dbOpt)
                                     : env.value(QStringLiteral("QANDOR_TEST_PGDATABASE"), QStringLiteral("dbdat"));
        db = Database::openServer(sp, &error);
    }
    if (!db)
        return fail(QStringLiteral("无法打开数据库：") + error);

    TBast bast(db.get());
    try {
        const gen::GenSummary s = gen::generate(bast, o);
        QTextStream out(stdout);
        out << QStringLiteral("图书 %1 册，期刊 %2 册，读者 %3 人；图书借阅 %4，期刊借阅 %5（未还 %6），续借 %7，充值 %8，预定 %9，挂失记录 %10，注销 %11；未能安排的借阅 %12；用时 %13 秒")
                   .arg(s.bookCopies).arg(s.magazineCopies).arg(s.readers).arg(s.bookLoans).arg(s.magazineLoans)
                   .arg(s.openLoans).arg(s.renewals).arg(s.topUps).arg(s.reservations).arg(s.cardEvents)
                   .arg(s.cancellations).arg(s.skippedLoans).arg(clock.elapsed() / 1000.0, 0, 'f', 1)
            << Qt::endl;
    } catch (const DbError &e) {
        return fail(e.userMessage() + QLatin1Char('\n') + e.details());
    } catch (const std::exception &e) {
        return fail(QString::fromUtf8(e.what()));
    }
    return 0;
}
