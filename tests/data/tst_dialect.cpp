#include "data/dialect.h"

#include <QtTest>

using namespace qandor;

class TestDialect : public QObject {
    Q_OBJECT
private slots:
    void fragments_data();
    void fragments();
    void quoting_data();
    void quoting();
    void likePatterns_data();
    void likePatterns();
    void columnTypes_data();
    void columnTypes();
    void primaryKeys();
};

void TestDialect::fragments_data()
{
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    const Dialect f(DbKind::SqliteFile), s(DbKind::PostgresServer);
    QTest::newRow("file sum trims") << false << f.sumOrZero(QStringLiteral("  金额 ")) << QStringLiteral("coalesce(sum(金额),0)");
    QTest::newRow("server sum trims") << true << s.sumOrZero(QStringLiteral(" 金额  ")) << QStringLiteral("coalesce(sum(金额),0)");
    QTest::newRow("file money sum rounds") << false << f.moneySumOrZero(QStringLiteral("定价")) << QStringLiteral("round(coalesce(sum(定价),0),4)");
    QTest::newRow("server money sum") << true << s.moneySumOrZero(QStringLiteral("定价")) << QStringLiteral("coalesce(sum(定价),0)");
    QTest::newRow("count") << false << f.countOrZero(QStringLiteral(" id ")) << QStringLiteral("coalesce(count(id),0)");
    QTest::newRow("substr") << true << s.subStrExpr(QStringLiteral(" 分类号 "), 1, 2) << QStringLiteral("substr(分类号,1,2)");
    QTest::newRow("limit") << true << s.limit(1) << QStringLiteral(" limit 1");
    QTest::newRow("file true") << false << f.trueValue() << QStringLiteral("1");
    QTest::newRow("file false") << false << f.falseValue() << QStringLiteral("0");
    QTest::newRow("server true") << true << s.trueValue() << QStringLiteral("true");
    QTest::newRow("server false") << true << s.falseValue() << QStringLiteral("false");
    QTest::newRow("date literal") << false << f.dateLiteral(QDate(2009, 5, 1)) << QStringLiteral("'2009-05-01'");
    QTest::newRow("file has no clock") << false << f.serverDateSql() << QString();
    QTest::newRow("server clock") << true << s.serverDateSql() << QStringLiteral("select localtimestamp(0) as SDate");
    QTest::newRow("joined update") << true
        << s.joinedUpdate(QStringLiteral("包租充值"), QStringLiteral("状态='失效'"), QStringLiteral("读者资料"), QStringLiteral("读者编号=编号"))
        << QStringLiteral("update 包租充值 set 状态='失效' from 读者资料 where 读者编号=编号");
}

void TestDialect::fragments()
{
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

void TestDialect::quoting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("张三") << QStringLiteral("'张三'");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QStringLiteral("'O''Brien'");
    QTest::newRow("two apostrophes") << QStringLiteral("''") << QStringLiteral("''''''");
    QTest::newRow("injection") << QStringLiteral("'; delete from 读者资料; --") << QStringLiteral("'''; delete from 读者资料; --'");
    QTest::newRow("double quote") << QStringLiteral("say \"hi\"") << QStringLiteral("'say \"hi\"'");
    QTest::newRow("backslash kept") << QStringLiteral("a\\b") << QStringLiteral("'a\\b'");
    QTest::newRow("empty") << QString() << QStringLiteral("''");
    QTest::newRow("nul removed") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QStringLiteral("'ab'");
}

void TestDialect::quoting()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(Dialect(DbKind::SqliteFile).quote(value), expected);
    QCOMPARE(Dialect(DbKind::PostgresServer).quote(value), expected);
}

void TestDialect::likePatterns_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("contains") << QStringLiteral("红楼") << int(Dialect::LikeMode::Contains) << QStringLiteral("%红楼%");
    QTest::newRow("percent literal") << QStringLiteral("100%") << int(Dialect::LikeMode::Exact) << QStringLiteral("100\\%");
    QTest::newRow("underscore literal") << QStringLiteral("a_b") << int(Dialect::LikeMode::StartsWith) << QStringLiteral("a\\_b%");
    QTest::newRow("backslash") << QStringLiteral("a\\") << int(Dialect::LikeMode::EndsWith) << QStringLiteral("%a\\\\");
}

void TestDialect::likePatterns()
{
    QFETCH(QString, value);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(Dialect().likePattern(value, Dialect::LikeMode(mode)), expected);
}

void TestDialect::columnTypes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("server");
    QTest::newRow("nvarchar") << QStringLiteral("nvarchar(50) NULL") << QStringLiteral("text NULL") << QStringLiteral("varchar(50) NULL");
    QTest::newRow("money") << QStringLiteral("money default 0") << QStringLiteral("numeric default 0") << QStringLiteral("numeric(19,4) default 0");
    QTest::newRow("bit access false") << QStringLiteral("bit default False") << QStringLiteral("integer default 0") << QStringLiteral("boolean default false");
    QTest::newRow("bit server 1") << QStringLiteral("bit default 1") << QStringLiteral("integer default 1") << QStringLiteral("boolean default true");
    QTest::newRow("bit true") << QStringLiteral("bit default True") << QStringLiteral("integer default 1") << QStringLiteral("boolean default true");
    QTest::newRow("int default") << QStringLiteral("int default 0") << QStringLiteral("integer default 0") << QStringLiteral("integer default 0");
    QTest::newRow("datetime") << QStringLiteral("datetime NULL") << QStringLiteral("text NULL") << QStringLiteral("timestamp(0) NULL");
    QTest::newRow("text") << QStringLiteral("text NULL") << QStringLiteral("text NULL") << QStringLiteral("text NULL");
    QTest::newRow("image") << QStringLiteral("Image") << QStringLiteral("blob") << QStringLiteral("bytea");
}

void TestDialect::columnTypes()
{
    QFETCH(QString, type);
    QFETCH(QString, file);
    QFETCH(QString, server);
    QCOMPARE(Dialect(DbKind::SqliteFile).columnType(type), file);
    QCOMPARE(Dialect(DbKind::PostgresServer).columnType(type), server);
}

void TestDialect::primaryKeys()
{
    QCOMPARE(Dialect(DbKind::SqliteFile).primaryKeyColumn(QStringLiteral("id"), QStringLiteral("int identity(1,1)")),
             QStringLiteral("id integer primary key autoincrement"));
    QCOMPARE(Dialect(DbKind::PostgresServer).primaryKeyColumn(QStringLiteral("id"), QStringLiteral("int identity(1,1)")),
             QStringLiteral("id integer generated by default as identity primary key"));
    QCOMPARE(Dialect(DbKind::PostgresServer).primaryKeyColumn(QStringLiteral("mark"), QStringLiteral("nvarchar(50) NULL")),
             QStringLiteral("mark varchar(50) NULL primary key"));
}

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
