#include "data/tbast.h"

#include <QDate>
#include <QSqlRecord>

namespace qandor {

TBast::TBast(Database *db, MessageSink *sink) : m_db(db), m_sink(sink ? sink : &m_silent) {}

void TBast::setMessageSink(MessageSink *sink)
{
    m_sink = sink ? sink : &m_silent;
}

const Dialect &TBast::dialect() const
{
    return m_db ? m_db->dialect() : m_fallbackDialect;
}

void TBast::ShowMsg(const QString &text, const QString &kind) const
{
    m_sink->showMsg(text, kind);
}

bool TBast::AskMsg(const QString &text, const QString &kind) const
{
    if (kind != QLatin1String("ok") && kind != QLatin1String("yes"))
        return false;
    return m_sink->askMsg(text, kind);
}

void TBast::ShowDbError(const DbError &e) const
{
    m_sink->showError(e.userMessage(), e.details());
}

bool TBast::checkConnection() const
{
    if (m_db)
        return true;
    ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
    return false;
}

bool TBast::FillStringsBySql(QStringList &list, const QString &sql, const QVariantList &binds)
{
    if (!checkConnection())
        return false;
    QSqlQuery q = m_db->exec(sql, binds, "TBast::FillStringsBySql");
    list.clear();
    while (q.next())
        list << q.value(0).toString().trimmed();
    return true;
}

bool TBast::FillEditableList(QStringList &list, const QString &table, const QString &column)
{
    if (!checkConnection())
        return false;
    QSqlQuery q = m_db->exec(QStringLiteral("select ") + column + QStringLiteral(" from ") + table, {}, "TBast::FillEditableList");
    list.clear();
    while (q.next())
        list << q.value(0).toString().trimmed();
    list << QString::fromUtf8(EditEntry);
    return true;
}

bool TBast::FillDistinctList(QStringList &list, const QString &table, const QString &column)
{
    if (!checkConnection())
        return false;
    QSqlQuery q = m_db->exec(QStringLiteral("select distinct ") + column + QStringLiteral(" from ") + table
                                 + QStringLiteral(" order by 1"),
                             {}, "TBast::FillDistinctList");
    QStringList values;
    while (q.next())
        values << q.value(0).toString().trimmed();
    if (values.isEmpty())
        return false;
    list = values;
    return values.size() >= 2;
}

bool TBast::ValueExists(const QString &table, const QString &column, const QString &value)
{
    if (!checkConnection())
        return false;
    QSqlQuery q = m_db->exec(QStringLiteral("select ") + column + QStringLiteral(" from ") + table + QStringLiteral(" where ")
                                 + column + QStringLiteral("=?") + m_db->dialect().limit(1),
                             {value.trimmed()}, "TBast::ValueExists");
    return q.next();
}

int TBast::CountRows(const QString &table, const QString &column)
{
    if (!checkConnection())
        return 0;
    const QVariant v = m_db->scalar(QStringLiteral("select ") + dialect().countOrZero(column) + QStringLiteral(" as C from ") + table,
                                    {}, "TBast::CountRows");
    return v.toInt();
}

QString TBast::NextNumber(const QString &table, const QString &orderColumn, int width, const QString &codeColumn)
{
    QString next = QStringLiteral("1");
    QString sql;
    bool haveRow = false;
    QVariant last;
    if (m_db) {
        sql = QStringLiteral("select ") + codeColumn + QStringLiteral(" from ") + table + QStringLiteral(" order by ")
            + orderColumn + QStringLiteral(" desc") + m_db->dialect().limit(1);
        try {
            QSqlQuery q = m_db->exec(sql, {}, "TBast::NextNumber");
            if (q.next()) {
                haveRow = true;
                last = q.value(0);
            }
        } catch (const DbError &) {
            ShowMsg(QStringLiteral("SQL内容:") + sql.trimmed() + QStringLiteral("参数有误！"), QStringLiteral("error"));
        }
    } else {
        ShowMsg(QStringLiteral("没有找到数据源！"), QStringLiteral("error"));
    }
    if (haveRow) {
        bool ok = false;
        const qlonglong n = last.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("TBast::NextNumber"), sql,
                          QStringLiteral("“") + last.toString() + QStringLiteral("”不是有效的数字编号"));
        next = QString::number(n + 1);
    }
    while (next.size() < width)
        next.prepend(QLatin1Char('0'));
    return next;
}

void TBast::FillYears(QStringList &list, int count, int currentYear)
{
    if (count <= 0)
        count = 10;
    if (currentYear <= 0)
        currentYear = QDate::currentDate().year();
    list.clear();
    for (int i = 0; i <= count; ++i)
        list << QString::number(currentYear - i);
}

QList<std::pair<QString, QString>> parseColumnSpec(const QString &spec)
{
    QList<std::pair<QString, QString>> out;
    const QStringList items = spec.split(QLatin1Char('|'));
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            continue;
        const int star = item.indexOf(QLatin1Char('*'));
        if (star < 0)
            out.append({item, QString()});
        else
            out.append({item.left(star).trimmed(), item.mid(star + 1).trimmed()});
    }
    return out;
}

bool TBast::CreateTableIfMissing(const QString &table, const QString &columnSpec)
{
    if (!checkConnection())
        return false;
    const QString t = table.trimmed();
    if (m_db->hasTable(t))
        return false;
    const auto cols = parseColumnSpec(columnSpec);
    if (cols.isEmpty())
        return false;
    QStringList defs;
    // The first column is the primary key; both kinds declare it in the
    // CREATE statement (the file cannot add a key to an existing table).
    defs << m_db->dialect().primaryKeyColumn(cols.first().first, cols.first().second);
    for (int i = 1; i < cols.size(); ++i)
        defs << cols.at(i).first + QLatin1Char(' ') + m_db->dialect().columnType(cols.at(i).second);
    m_db->exec(QStringLiteral("CREATE TABLE ") + t + QStringLiteral(" (") + defs.join(QLatin1Char(',')) + QLatin1Char(')'),
               {}, "TBast::CreateTableIfMissing");
    return true;
}

bool TBast::AddMissingColumns(const QString &table, const QString &columnSpec)
{
    if (!checkConnection())
        return false;
    const QString t = table.trimmed();
    const QStringList existing = m_db->columns(t);
    bool added = false;
    for (const auto &[name, type] : parseColumnSpec(columnSpec)) {
        bool found = false;
        for (const QString &c : existing)
            if (c.compare(name, Qt::CaseInsensitive) == 0) {
                found = true;
                break;
            }
        if (found)
            continue;
        m_db->exec(QStringLiteral("ALTER TABLE ") + t + QStringLiteral(" ADD ") + name + QLatin1Char(' ')
                       + m_db->dialect().columnType(type),
                   {}, "TBast::AddMissingColumns");
        added = true;
    }
    return added;
}

} // namespace qandor
