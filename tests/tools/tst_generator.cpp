#include "gen/generator.h"
#include "gen/isbn.h"

#include "circulation/loancharges.h"
#include "data/money.h"
#include "support/testdb.h"

#include <QCryptographicHash>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {

QString s(const char *text) { return QString::fromUtf8(text); }

gen::GenOptions smallLibrary(quint64 seed = 11)
{
    gen::GenOptions o;
    o.copies = 2000;
    o.readers = 300;
    o.loans = 5000;
    o.seed = seed;
    return o;
}

qint64 count(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toLongLong();
}

// A digest of the columns that show whether two libraries are the same.
QByteArray checksum(Database &db)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    auto feed = [&](const QString &sql, const QList<char> &kinds) {
        QSqlQuery q = db.exec(sql);
        while (q.next()) {
            for (int i = 0; i < kinds.size(); ++i) {
                QString v;
                switch (kinds[i]) {
                case 'd': v = toDate(q.value(i)).toString(Qt::ISODate); break;
                case 'm': v = QString::number(Money::fromVariant(q.value(i)).units()); break;
                case 'i': v = QString::number(q.value(i).toLongLong()); break;
                default: v = q.value(i).toString(); break;
                }
                h.addData(v.toUtf8());
                h.addData("|");
            }
        }
    };
    feed(s("select 图书编号,图书名称,标准ISBN,状态,借出次数,定价 from 图书资料 order by ID"), {'t', 't', 't', 't', 'i', 'm'});
    feed(s("select 编号,姓名,类型,状态,借阅次数,当前可用量,截止日期 from 读者资料 order by ID"),
         {'t', 't', 't', 't', 'i', 'i', 'd'});
    feed(s("select 图书编号,读者编号,借出日期,应还日期,实还日期,借阅租金,超期罚金 from 图书借阅信息 order by ID"),
         {'t', 't', 'd', 'd', 'd', 'm', 'm'});
    feed(s("select 读者编号,充值日期,可用量,状态 from 包租充值 order by id"), {'t', 'd', 'i', 't'});
    return h.result().toHex();
}

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT
private slots:
    void checkDigits_data();
    void checkDigits();
    void libraryObeysTheRules();
    void sameSeedSameLibrary();
    void refusesADatabaseWithData();
};

void TestGenerator::checkDigits_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("isbn");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ISBN-10") << s("7-111-07127-1") << true << true;
    QTest::newRow("ISBN-10 wrong check") << s("7-111-07127-2") << true << false;
    QTest::newRow("ISBN-10 check X") << s("0-8044-2957-X") << true << true;
    QTest::newRow("ISBN-13 of the same book") << s("978-7-111-07127-3") << true << true;
    QTest::newRow("ISBN-13 wrong check") << s("9787111071270") << true << false;
    QTest::newRow("too short") << s("7-111-0712") << true << false;
    QTest::newRow("ISSN") << s("0317-8471") << false << true;
    QTest::newRow("ISSN check X") << s("2434-561X") << false << true;
    QTest::newRow("ISSN wrong check") << s("0317-8472") << false << false;
}

void TestGenerator::checkDigits()
{
    QFETCH(QString, number);
    QFETCH(bool, isbn);
    QFETCH(bool, valid);
    QCOMPARE(isbn ? gen::isValidIsbn(number) : gen::isValidIssn(number), valid);
}

void TestGenerator::libraryObeysTheRules()
{
    QANDOR_TESTDB(t);
    const gen::GenOptions o = smallLibrary();
    const gen::GenSummary sum = gen::generate(t.bast(), o);
    Database &db = t.db();
    const QString lent = s("借出"), open = s("未还"), back = s("已还");

    // The library is what was asked for, and every kind of record is there.
    QCOMPARE(count(db, s("select count(*) from 图书资料")), o.copies);
    QCOMPARE(count(db, s("select count(*) from 读者资料")), o.readers);
    QCOMPARE(count(db, s("select count(*) from 图书借阅信息")) + count(db, s("select count(*) from 期刊借阅信息")),
             sum.bookLoans + sum.magazineLoans);
    QVERIFY2(sum.skippedLoans * 20 < o.loans, "most loan slots are filled");
    QVERIFY(sum.magazineLoans > 0);
    QVERIFY(sum.openLoans > 0);
    QVERIFY(count(db, s("select count(*) from 图书续借记录")) > 0);
    QVERIFY(count(db, s("select count(*) from 包租充值")) > 0);
    QVERIFY(count(db, s("select count(*) from 图书借阅信息 where 超期罚金>0")) > 0);
    QVERIFY(count(db, s("select count(*) from 预定记录")) > 0);
    QVERIFY(count(db, s("select count(*) from 书籍类别 where 父类<>0")) > 0);

    for (const auto &[items, loans, number] :
         {std::tuple{s("图书资料"), s("图书借阅信息"), s("图书编号")}, std::tuple{s("期刊资料"), s("期刊借阅信息"), s("期刊编号")}}) {
        // Every open loan's copy is lent, and every lent copy has exactly one open loan.
        QCOMPARE(count(db, s("select count(*) from ") + loans + s(" l join ") + items + s(" b on b.") + number + s("=l.")
                               + number + s(" where l.状态=? and b.状态<>?"),
                       {open, lent}),
                 0);
        QCOMPARE(count(db, s("select count(*) from ") + items + s(" b where b.状态=? and (select count(*) from ") + loans
                               + s(" l where l.") + number + s("=b.") + number + s(" and l.状态=?)<>1"),
                       {lent, open}),
                 0);
        // 借出次数 counts the copy's loans.
        QCOMPARE(count(db, s("select count(*) from ") + items + s(" b where b.借出次数<>(select count(*) from ") + loans
                               + s(" l where l.") + number + s("=b.") + number + s(")")),
                 0);
        // Open loans carry no return date or charges; returned ones carry a return date.
        QCOMPARE(count(db, s("select count(*) from ") + loans
                               + s(" where (状态=? and (实还日期 is not null or 借阅租金<>0 or 超期罚金<>0))"
                                   " or (状态=? and 实还日期 is null)"),
                       {open, back}),
                 0);
    }

    // No reader holds more than the type allows.
    QCOMPARE(count(db, s("select count(*) from 读者资料 r join 读者类型 t on t.类型名称=r.类型 where "
                         "(select count(*) from 图书借阅信息 l where l.读者编号=r.编号 and l.状态=?)>t.图书可借数量 or "
                         "(select count(*) from 期刊借阅信息 l where l.读者编号=r.编号 and l.状态=?)>t.期刊可借数量"),
                   {open, open}),
             0);
    // 借阅次数 counts loans and renewals of both kinds.
    QCOMPARE(count(db, s("select count(*) from 读者资料 r where r.借阅次数<>"
                         "(select count(*) from 图书借阅信息 l where l.读者编号=r.编号)+"
                         "(select count(*) from 期刊借阅信息 l where l.读者编号=r.编号)+"
                         "(select count(*) from 图书续借记录 l where l.读者编号=r.编号)+"
                         "(select count(*) from 期刊续借记录 l where l.读者编号=r.编号)")),
             0);

    // Prepaid quotas: the reader's counters add up, match the latest record, and
    // the records' used loans are the loans those readers made.
    QCOMPARE(count(db, s("select count(*) from 读者资料 where 包租=? and 当前包租量<>当前可用量+当前已用量"), {true}), 0);
    QCOMPARE(count(db, s("select count(*) from 读者资料 r where r.包租=? and r.当前可用量<>(select p.可用量 from 包租充值 p "
                         "where p.读者编号=r.编号 and p.id=(select max(id) from 包租充值 x where x.读者编号=r.编号))"),
                   {true}),
             0);
    QCOMPARE(count(db, s("select coalesce(sum(已用量),0) from 包租充值")),
             count(db, s("select count(*) from 图书借阅信息 l join 读者资料 r on r.编号=l.读者编号 where r.包租=?"), {true})
                 + count(db, s("select count(*) from 期刊借阅信息 l join 读者资料 r on r.编号=l.读者编号 where r.包租=?"),
                         {true}));
    QCOMPARE(count(db, s("select count(*) from 读者资料 r join 读者类型 t on t.类型名称=r.类型 where t.包租=? and r.包租=? and r.状态<>?"),
                   {true, false, s("等待")}),
             0);
    QCOMPARE(count(db, s("select count(*) from 包租充值 p join 读者资料 r on r.编号=p.读者编号 where p.状态=? and r.状态<>?"),
                   {s("有效"), s("正常")}),
             0);
    // The state is what the start-up expiry sweep would leave: running it changes nothing.
    QCOMPARE(db.execAffected(s("update 读者资料 set 状态=? where ((有效期限制=? and 截止日期<=?) or (包租=? and 当前可用量<=0))"
                               " and 状态<>?"),
                             {s("过期"), s("有"), o.today, true, s("过期")}),
             0);
    QCOMPARE(count(db, s("select count(*) from 预定记录 where 预定日期<? and 状态<>?"), {o.today.addDays(-3), s("失效")}), 0);
    QVERIFY(count(db, s("select count(*) from 预定记录 where 状态=?"), {s("失效")}) > 0);

    // Renewals move the due date to the renewal day plus the loan period, at most once a day per book.
    {
        QSqlQuery q = db.exec(s("select c.续借日期,c.续借后应还日期,t.图书可借天数 from 图书续借记录 c join 读者类型 t on "
                                "t.类型名称=c.读者类型"));
        int rows = 0;
        while (q.next()) {
            ++rows;
            QCOMPARE(toDate(q.value(1)), loanDueDate(toDate(q.value(0)), q.value(2).toInt()));
        }
        QVERIFY(rows > 0);
        QCOMPARE(count(db, s("select count(*) from (select 图书编号,续借日期 from 图书续借记录 group by 图书编号,续借日期 "
                             "having count(*)>1) x")),
                 0);
    }

    // Stored rent and fine are exactly what the return rules compute, and so are their sums.
    for (const auto &[loans, rentCol, fineCol] : {std::tuple{s("图书借阅信息"), s("图书每日租金"), s("图书超期罚金")},
                                                   std::tuple{s("期刊借阅信息"), s("期刊每日租金"), s("期刊超期罚金")}}) {
        QSqlQuery q = db.exec(s("select l.借出日期,l.应还日期,l.实还日期,l.借阅天数,l.借阅租金,l.超期天数,l.超期罚金,t.") + rentCol
                                  + s(",t.") + fineCol + s(" from ") + loans
                                  + s(" l join 读者类型 t on t.类型名称=l.读者类型 where l.状态=?"),
                              {back});
        Money rent, fine;
        int rows = 0;
        while (q.next()) {
            ++rows;
            const LoanCharges c = computeLoanCharges(toDate(q.value(2)), toDate(q.value(0)), toDate(q.value(1)),
                                                     Money::fromVariant(q.value(7)), Money::fromVariant(q.value(8)));
            QCOMPARE(q.value(3).toInt(), c.shownDays);
            QCOMPARE(Money::fromVariant(q.value(4)), c.rent);
            QCOMPARE(q.value(5).toInt(), c.overdueDays);
            QCOMPARE(Money::fromVariant(q.value(6)), c.fine);
            rent += c.rent;
            fine += c.fine;
        }
        QVERIFY(rows > 0);
        const Dialect &d = db.dialect();
        QCOMPARE(Money::fromVariant(db.scalar(s("select ") + d.moneySumOrZero(s("借阅租金")) + s(" from ") + loans)), rent);
        QCOMPARE(Money::fromVariant(db.scalar(s("select ") + d.moneySumOrZero(s("超期罚金")) + s(" from ") + loans)), fine);
    }

    // Catalogue numbers carry valid check digits; the 13-digit column matches the number shown.
    {
        QSqlQuery q = db.exec(s("select 标准ISBN,ISBN from 图书资料"));
        while (q.next()) {
            const QString shown = q.value(0).toString();
            QVERIFY2(gen::isValidIsbn(shown), qPrintable(shown));
            QVERIFY2(gen::isValidIsbn(q.value(1).toString()) && q.value(1).toString().size() == 13, qPrintable(shown));
            if (shown.startsWith(s("978")))
                QCOMPARE(QString(shown).remove(QLatin1Char('-')), q.value(1).toString());
            else
                QCOMPARE(q.value(1).toString().mid(3, 9), QString(shown).remove(QLatin1Char('-')).left(9));
        }
        QSqlQuery m = db.exec(s("select distinct 标准ISBN from 期刊资料"));
        while (m.next())
            QVERIFY2(gen::isValidIssn(m.value(0).toString()), qPrintable(m.value(0).toString()));
    }
    // A reserved copy is waiting for a valid reservation.
    QCOMPARE(count(db, s("select count(*) from 图书资料 b where b.状态=? and not exists (select 1 from 预定记录 p where "
                         "p.书籍编号=b.图书编号 and p.状态=? and p.类型=?)"),
                   {s("预定"), s("有效"), s("图书")}),
             0);
}

void TestGenerator::sameSeedSameLibrary()
{
    gen::GenOptions o = smallLibrary(5);
    o.copies = 600;
    o.readers = 120;
    o.loans = 1500;
    QANDOR_TESTDB(a);
    gen::generate(a.bast(), o);
    QANDOR_TESTDB(b);
    gen::generate(b.bast(), o);
    QANDOR_TESTDB(c);
    o.seed = 6;
    gen::generate(c.bast(), o);
    const QByteArray first = checksum(a.db());
    QCOMPARE(checksum(b.db()), first);
    QVERIFY(checksum(c.db()) != first);
}

void TestGenerator::refusesADatabaseWithData()
{
    QANDOR_TESTDB(t);
    gen::GenOptions o = smallLibrary();
    o.copies = 50;
    o.readers = 10;
    o.loans = 60;
    gen::generate(t.bast(), o);
    const qint64 loans = count(t.db(), s("select count(*) from 图书借阅信息"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, gen::generate(t.bast(), o));
    QCOMPARE(count(t.db(), s("select count(*) from 图书资料")), o.copies);
    QCOMPARE(count(t.db(), s("select count(*) from 图书借阅信息")), loans);
}

QTEST_MAIN(TestGenerator)
#include "tst_generator.moc"
