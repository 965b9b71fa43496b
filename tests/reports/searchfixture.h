#pragma once

#include "data/schema.h"
#include "support/testdb.h"

#include <QDate>

namespace qandor::test {

// The reader table of the delivered schema with readers whose names are
// awkward for SQL text: quotes, statement breakers, like wildcards,
// backslashes, and near-misses that a wildcard would wrongly match.
inline void makeReaderFixture(TestDb &t)
{
    for (const auto &def : Schema::tables())
        if (QString::fromUtf8(def.name) == QStringLiteral("读者资料"))
            t.bast().CreateTableIfMissing(QString::fromUtf8(def.name), QString::fromUtf8(def.columns));
    struct Row { const char *num, *name, *deposit; int loans; QDate born; bool rental; const char *dept; };
    const Row rows[] = {
        {"R001", "张三", "10.50", 3, QDate(1990, 1, 15), true, "北京图书馆"},
        {"R002", "张四", "0", 0, QDate(1985, 6, 30), false, "南京大学"},
        {"R003", "O'Brien", "20", 5, QDate(2000, 2, 29), true, "北京大学"},
        {"R004", "'; delete from 读者资料; --", "5.25", 1, QDate(1970, 12, 31), false, ""},
        {"R005", "100%", "0", 2, QDate(), false, ""},
        {"R006", "a_b", "1", 7, QDate(1999, 9, 9), true, "南京大学"},
        {"R007", "say \"hi\"", "2", 8, QDate(1999, 9, 10), false, "财务部"},
        {"R008", "back\\slash", "3", 9, QDate(1999, 9, 11), false, "财务部"},
        {"R009", "x where y order by z group by w", "4", 4, QDate(1999, 9, 12), false, "%"},
        {"R010", "axb", "0.5", 6, QDate(2001, 1, 1), true, "北京图书馆"},
        {"R011", "1000", "100", 10, QDate(2002, 2, 2), false, "北京图书馆"},
    };
    for (const Row &r : rows)
        t.db().exec(QStringLiteral("insert into 读者资料 (编号,姓名,押金,借阅次数,出生日期,包租,单位部门,状态) values (?,?,?,?,?,?,?,?)"),
                    {QString::fromUtf8(r.num), QString::fromUtf8(r.name), QString::fromLatin1(r.deposit), r.loans,
                     r.born.isValid() ? QVariant(r.born) : QVariant(QMetaType(QMetaType::QDate)), r.rental,
                     QString::fromUtf8(r.dept), QStringLiteral("正常")});
}

inline int readerCount(TestDb &t)
{
    return t.db().scalar(QStringLiteral("select count(*) from 读者资料")).toInt();
}

// The reader numbers a filter finds, sorted.
inline QStringList numbersWhere(TestDb &t, const QString &sql)
{
    QSqlQuery q = t.db().exec(QStringLiteral("select 编号 from (") + sql + QStringLiteral(") s order by 编号"));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace qandor::test
