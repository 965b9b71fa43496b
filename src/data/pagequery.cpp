#include "data/pagequery.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace qandor {

int effectivePageSize(int pageSize)
{
    return pageSize < 1 ? 100 : pageSize;
}

QString pageLabel(int currentPage, int pageCount)
{
    return QStringLiteral("页数:第") + QString::number(currentPage) + QStringLiteral("页/共")
        + QString::number(pageCount >= 1 ? pageCount : 1) + QStringLiteral("页");
}

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Whether `text` at `pos` starts with the whole word `word` (case-insensitive).
bool wordAt(const QString &text, qsizetype pos, QLatin1StringView word)
{
    if (pos > 0 && isWordChar(text.at(pos - 1)))
        return false;
    if (pos + word.size() > text.size())
        return false;
    if (QStringView(text).mid(pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype end = pos + word.size();
    return end == text.size() || !isWordChar(text.at(end));
}

// Top-level keyword positions of a SELECT text: outside literals and
// parentheses. `end` receives the position just after the keyword.
struct Keyword {
    qsizetype pos = -1;
    qsizetype end = -1;
    bool found() const { return pos >= 0; }
};

// Finds the first top-level occurrence at or after `from` of `first`
// (optionally followed by whitespace and `second`, as in "group by").
Keyword findTopLevel(const QString &text, qsizetype from, QLatin1StringView first,
                     QLatin1StringView second = {})
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Skip the literal; a doubled quote stays inside it.
            const QChar q = c;
            ++i;
            while (i < text.size()) {
                if (text.at(i) == q) {
                    if (i + 1 < text.size() && text.at(i + 1) == q) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char('(')) {
            ++depth;
            continue;
        }
        if (c == QLatin1Char(')')) {
            depth = std::max(0, depth - 1);
            continue;
        }
        if (depth != 0 || i < from || !wordAt(text, i, first))
            continue;
        qsizetype end = i + first.size();
        if (!second.isEmpty()) {
            qsizetype j = end;
            while (j < text.size() && text.at(j).isSpace())
                ++j;
            if (j == end || !wordAt(text, j, second))
                continue;
            end = j + second.size();
        }
        return {i, end};
    }
    return {};
}

QString between(const QString &text, qsizetype from, qsizetype to)
{
    return text.mid(from, to - from).trimmed();
}

qsizetype firstOf(std::initializer_list<Keyword> kws, qsizetype fallback)
{
    qsizetype best = fallback;
    for (const Keyword &k : kws)
        if (k.found() && k.pos < best)
            best = k.pos;
    return best;
}

QString andJoin(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty())
        return b;
    if (b.trimmed().isEmpty())
        return a;
    return QLatin1Char('(') + a.trimmed() + QStringLiteral(") and (") + b.trimmed() + QLatin1Char(')');
}

} // namespace

bool ParseSelectSql(const QString &sqlIn, SelectParts &parts)
{
    QString sql = sqlIn.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    const Keyword select = findTopLevel(sql, 0, QLatin1StringView("select"));
    if (!select.found())
        return false;
    const Keyword from = findTopLevel(sql, select.end, QLatin1StringView("from"));
    if (!from.found())
        return false;
    const Keyword where = findTopLevel(sql, from.end, QLatin1StringView("where"));
    const Keyword group = findTopLevel(sql, where.found() ? where.end : from.end,
                                       QLatin1StringView("group"), QLatin1StringView("by"));
    const Keyword order = findTopLevel(sql, group.found() ? group.end : (where.found() ? where.end : from.end),
                                       QLatin1StringView("order"), QLatin1StringView("by"));
    const qsizetype n = sql.size();

    SelectParts p;
    p.fields = between(sql, select.end, from.pos);
    p.table = between(sql, from.end, firstOf({where, group, order}, n));
    if (where.found())
        p.where = between(sql, where.end, firstOf({group, order}, n));
    if (group.found()) {
        const QString g = between(sql, group.end, firstOf({order}, n));
        if (!g.isEmpty())
            p.groupBy = QStringLiteral(" group by ") + g;
    }
    if (order.found())
        p.orderBy = between(sql, order.end, n);
    parts = p;
    return true;
}

bool ParseSelectSql(const QString &sql, QString &table, QString &groupBy, QString &where, QString &fields)
{
    SelectParts p;
    if (!ParseSelectSql(sql, p))
        return false;
    table = p.table;
    groupBy = p.groupBy;
    fields = p.fields;
    // Without a where part the caller's text stays as it was.
    if (!p.where.isEmpty())
        where = andJoin(where, p.where);
    return true;
}

bool SplitSql(const QString &sql, QString &condition, QString &groupBy)
{
    QString table, fields;
    return ParseSelectSql(sql, table, groupBy, condition, fields);
}

QString filterClause(const QString &condition)
{
    const QString c = condition.trimmed();
    if (c.isEmpty())
        return {};
    // Only a leading "where" counts as already present: a value or a column
    // holding the letters "where" must not suppress the keyword.
    if (wordAt(c, 0, QLatin1StringView("where")))
        return QLatin1Char(' ') + c;
    return QStringLiteral(" where ") + c;
}

namespace {

// The result column holding the key: the part after the first ".".
int keyIndex(const QSqlRecord &rec, const QString &keyField)
{
    const qsizetype dot = keyField.indexOf(QLatin1Char('.'));
    const QString name = (dot >= 0 ? keyField.mid(dot + 1) : keyField).trimmed();
    for (int i = 0; i < rec.count(); ++i)
        if (rec.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Keys go into the SQL as bare integers; anything else is refused rather
// than pasted.
QString keyLiteral(const QString &key, const QString &sql)
{
    bool ok = false;
    const qlonglong v = key.trimmed().toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("OpenPage"), sql, QStringLiteral("翻页键值不是整数: ") + key);
    return QString::number(v);
}

} // namespace

PageOutcome OpenPage(TBast &bast, bool recount, PageAction action, const PageSource &source,
                     PageState &stateInOut, int pageSize, PageRows &rowsOut)
{
    Database *db = bast.database();
    if (!db)
        throw DbError(QStringLiteral("OpenPage"), QString(), QStringLiteral("没有找到数据源！"));

    // Work on a copy: the caller's state moves only when the page is read.
    PageState st = stateInOut;
    const int p = effectivePageSize(pageSize);
    const QString table = source.table.trimmed();
    const QString key = source.keyField.trimmed();
    QString w = filterClause(st.Condition);

    if (recount) {
        const QString sql = QStringLiteral("select ") + db->dialect().countOrZero(key)
            + QStringLiteral(" as DataCount from ") + table + w;
        const qint64 n = db->scalar(sql, {}, "OpenPage count").toLongLong();
        st.LastPageSize = int(n % p);
        st.PageCount = int(n / p);
        if (st.LastPageSize != 0)
            ++st.PageCount;
        else
            st.LastPageSize = p;
    }

    auto refuse = [&](const char *text) {
        bast.ShowMsg(QString::fromUtf8(text), QStringLiteral("infor"));
        PageOutcome o;
        o.label = pageLabel(stateInOut.CurrentPage, stateInOut.PageCount);
        return o;
    };
    const char *firstMsg = "已是首页!    ";
    const char *lastMsg = "已是尾页!    ";

    auto andTest = [&](const QString &test) {
        w += (w.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ")) + test;
    };

    int count = p;
    bool descending = true;
    int newPage = st.CurrentPage;
    switch (action) {
    case PageAction::First:
        if (st.CurrentPage == 1 && !recount)
            return refuse(firstMsg);
        newPage = 1;
        break;
    case PageAction::Previous:
        if (st.CurrentPage <= 1)
            return refuse(firstMsg);
        andTest(key + QStringLiteral(" > ") + keyLiteral(st.HighKey, table));
        descending = false;
        newPage = st.CurrentPage - 1;
        break;
    case PageAction::Next:
        if (st.PageCount == 0 || st.CurrentPage >= st.PageCount)
            return refuse(lastMsg);
        if (st.CurrentPage < 1) {
            newPage = 1;   // nothing shown yet: the next page is the first
        } else {
            andTest(key + QStringLiteral(" < ") + keyLiteral(st.LowKey, table));
            newPage = st.CurrentPage + 1;
        }
        break;
    case PageAction::Last:
        if (st.PageCount == 0 || (st.CurrentPage == st.PageCount && !recount))
            return refuse(lastMsg);
        count = st.LastPageSize > 0 ? st.LastPageSize : p;
        descending = false;
        newPage = st.PageCount;
        break;
    }

    QString group = st.GroupClause.trimmed();
    if (!group.isEmpty())
        group.prepend(QLatin1Char(' '));
    const QString sql = QStringLiteral("select ") + source.fields + QStringLiteral(" from ") + table + w + group
        + QStringLiteral(" order by ") + key + (descending ? QStringLiteral(" desc") : QStringLiteral(" asc"))
        + db->dialect().limit(count);
    QSqlQuery q = db->exec(sql, {}, "OpenPage");

    PageRows rows;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        rows.columns << rec.fieldName(i);
    rows.keyColumn = keyIndex(rec, key);
    if (rows.keyColumn < 0)
        throw DbError(QStringLiteral("OpenPage"), sql, QStringLiteral("结果中没有翻页键列 ") + key);
    while (q.next()) {
        QVariantList r;
        r.reserve(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            r << q.value(i);
        rows.rows << r;
    }
    // Every page is shown newest first.
    if (!descending)
        std::reverse(rows.rows.begin(), rows.rows.end());

    if (rows.rows.isEmpty()) {
        st.CurrentPage = 1;
        st.PageCount = 0;
        st.HighKey.clear();
        st.LowKey.clear();
    } else {
        st.CurrentPage = newPage;
        st.HighKey = rows.rows.first().at(rows.keyColumn).toString();
        st.LowKey = rows.rows.last().at(rows.keyColumn).toString();
    }

    stateInOut = st;
    rowsOut = std::move(rows);
    PageOutcome o;
    o.shown = true;
    o.label = pageLabel(st.CurrentPage, st.PageCount);
    return o;
}

} // namespace qandor
