#include "catalogue/itemnumbering.h"

#include <QSqlQuery>

namespace qandor {

QString numberTable(NumberKind kind)
{
    switch (kind) {
    case NumberKind::Reader: return QStringLiteral("读者资料");
    case NumberKind::Book: return QStringLiteral("图书资料");
    case NumberKind::Magazine: return QStringLiteral("期刊资料");
    }
    return {};
}

QString numberColumn(NumberKind kind)
{
    switch (kind) {
    case NumberKind::Reader: return QStringLiteral("编号");
    case NumberKind::Book: return QStringLiteral("图书编号");
    case NumberKind::Magazine: return QStringLiteral("期刊编号");
    }
    return {};
}

NumberRule &NumberingSettings::rule(NumberKind kind)
{
    return kind == NumberKind::Reader ? reader : kind == NumberKind::Book ? book : magazine;
}

const NumberRule &NumberingSettings::rule(NumberKind kind) const
{
    return kind == NumberKind::Reader ? reader : kind == NumberKind::Book ? book : magazine;
}

int clampNumberLength(int length)
{
    return std::clamp(length, 1, 10);
}

namespace {

QString padded(qlonglong n, int length)
{
    QString text = QString::number(n);
    while (text.size() < length)
        text.prepend(QLatin1Char('0'));
    return text;
}

QString numberSql(const Database &db, NumberKind kind)
{
    // Ordered by id: the newest row decides, not the highest number, so a
    // hand-typed 2000 after 00012 makes the next proposal 02001.
    return QStringLiteral("select ") + numberColumn(kind) + QStringLiteral(" from ") + numberTable(kind)
        + QStringLiteral(" order by id desc") + db.dialect().limit(1);
}

} // namespace

QString nextItemNumber(TBast &bast, NumberKind kind, int length)
{
    Database *db = bast.database();
    if (!db)
        throw DbError(QStringLiteral("nextItemNumber"), QString(), QStringLiteral("没有找到数据源！"));
    const QString sql = numberSql(*db, kind);
    QSqlQuery q = db->exec(sql, {}, "nextItemNumber");
    if (!q.next())
        return padded(1, length);
    const QString last = q.value(0).toString().trimmed();
    bool ok = false;
    const qlonglong n = last.toLongLong(&ok);
    if (!ok || n < 0 || n == std::numeric_limits<qlonglong>::max())
        throw DbError(QStringLiteral("nextItemNumber"), sql,
                      QStringLiteral("“") + last + QStringLiteral("”不是有效的数字编号，无法自动编号，请手工输入编号"));
    return padded(n + 1, length);
}

std::optional<QString> proposeItemNumber(TBast &bast, NumberKind kind, int length)
{
    try {
        return nextItemNumber(bast, kind, length);
    } catch (const DbError &e) {
        bast.ShowDbError(e);
        return std::nullopt;
    }
}

std::optional<QString> proposeItemNumber(TBast &bast, NumberKind kind, const NumberRule &rule)
{
    if (!rule.autoOn)
        return std::nullopt;
    return proposeItemNumber(bast, kind, rule.length);
}

std::optional<QString> numberAfterCollision(TBast &bast, NumberKind kind, const QString &number, int length)
{
    try {
        if (!bast.ValueExists(numberTable(kind), numberColumn(kind), number))
            return std::nullopt;
        QString candidate;
        try {
            candidate = nextItemNumber(bast, kind, length);
        } catch (const DbError &) {
            // The newest number is not a whole number: step on from the taken one.
            bool ok = false;
            const qlonglong n = number.trimmed().toLongLong(&ok);
            if (!ok)
                return std::nullopt;
            candidate = padded(n + 1, length);
        }
        // Other desks may have taken more numbers in between.
        for (int i = 0; i < 1000; ++i) {
            if (!bast.ValueExists(numberTable(kind), numberColumn(kind), candidate))
                return candidate;
            bool ok = false;
            const qlonglong n = candidate.toLongLong(&ok);
            if (!ok)
                return std::nullopt;
            candidate = padded(n + 1, length);
        }
    } catch (const DbError &e) {
        bast.ShowDbError(e);
    }
    return std::nullopt;
}

QString collisionMessage(const QString &taken, const QString &offered)
{
    return QStringLiteral("编号[") + taken + QStringLiteral("]已被其他工作站抢先使用，系统已为您改为下一个编号[") + offered
        + QStringLiteral("]，请确认后重新保存！");
}

NumberingSettings loadNumberingSettings(Database &db, bool *created)
{
    if (created)
        *created = false;
    NumberingSettings s;
    QSqlQuery q = db.exec(QStringLiteral("select AutoCreateReaderNum,R_Length,AutoCreateBookNum,B_Length,"
                                         "AutoCreateMagazineNum,M_Length from SysParameter order by ID")
                              + db.dialect().limit(1),
                          {}, "loadNumberingSettings");
    if (q.next()) {
        s.reader = {toBool(q.value(0)), clampNumberLength(q.value(1).toInt())};
        s.book = {toBool(q.value(2)), clampNumberLength(q.value(3).toInt())};
        s.magazine = {toBool(q.value(4)), clampNumberLength(q.value(5).toInt())};
        return s;
    }
    q.finish();
    db.exec(QStringLiteral("insert into SysParameter (AutoCreateReaderNum,R_Length,AutoCreateBookNum,B_Length,"
                           "AutoCreateMagazineNum,M_Length,R_FrontMark,R_BehindMark,B_FrontMark,B_BehindMark,"
                           "M_FrontMark,M_BehindMark) values (?,?,?,?,?,?,?,?,?,?,?,?)"),
            {s.reader.autoOn, s.reader.length, s.book.autoOn, s.book.length, s.magazine.autoOn, s.magazine.length,
             QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), QStringLiteral("")},
            "loadNumberingSettings");
    if (created)
        *created = true;
    return s;
}

void saveNumberingSettings(Database &db, const NumberingSettings &s)
{
    Transaction tx(db);
    const QVariant id = db.scalar(QStringLiteral("select ID from SysParameter order by ID") + db.dialect().limit(1), {},
                                  "saveNumberingSettings");
    if (!id.isValid())
        throw DbError(QStringLiteral("saveNumberingSettings"), QString(), QStringLiteral("系统参数表中没有数据行"));
    const int changed = db.execAffected(
        QStringLiteral("update SysParameter set AutoCreateReaderNum=?,R_Length=?,AutoCreateBookNum=?,B_Length=?,"
                       "AutoCreateMagazineNum=?,M_Length=? where ID=?"),
        {s.reader.autoOn, clampNumberLength(s.reader.length), s.book.autoOn, clampNumberLength(s.book.length),
         s.magazine.autoOn, clampNumberLength(s.magazine.length), id},
        "saveNumberingSettings");
    if (changed != 1)
        throw DbError(QStringLiteral("saveNumberingSettings"), QString(), QStringLiteral("系统参数未能写入"));
    tx.commit();
}

} // namespace qandor
