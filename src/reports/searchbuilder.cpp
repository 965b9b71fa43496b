#include "reports/searchbuilder.h"

#include "data/schema.h"
#include "data/tbast.h"

#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>

namespace qandor {

namespace {

const QString AsWord = QStringLiteral(" as ");

enum class Declared { Unknown, Text, Integer, Number, Date, Boolean, Binary };

Declared fromSystemType(const QString &type)
{
    const QString t = type.trimmed().toLower();
    if (t.startsWith(QLatin1String("nvarchar")) || t.startsWith(QLatin1String("varchar"))
        || t.startsWith(QLatin1String("text")) || t.startsWith(QLatin1String("char")))
        return Declared::Text;
    if (t.startsWith(QLatin1String("int")))
        return Declared::Integer;
    if (t.startsWith(QLatin1String("money")) || t.startsWith(QLatin1String("numeric"))
        || t.startsWith(QLatin1String("decimal")) || t.startsWith(QLatin1String("float")))
        return Declared::Number;
    if (t.startsWith(QLatin1String("datetime")) || t.startsWith(QLatin1String("date")))
        return Declared::Date;
    if (t.startsWith(QLatin1String("bit")))
        return Declared::Boolean;
    if (t.startsWith(QLatin1String("image")))
        return Declared::Binary;
    return Declared::Unknown;
}

Declared fromDriver(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Bool: return Declared::Boolean;
    case QMetaType::QDate:
    case QMetaType::QDateTime: return Declared::Date;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return Declared::Integer;
    case QMetaType::Double:
    case QMetaType::Float: return Declared::Number;
    case QMetaType::QByteArray: return Declared::Binary;
    case QMetaType::QString: return Declared::Text;
    default: return Declared::Unknown;
    }
}

// The declared type of a column of the delivered schema: first in the
// named table, then (for views and joins) in any table holding that name.
Declared declaredInSchema(const QString &table, const QString &column)
{
    const auto &tables = Schema::tables();
    auto lookIn = [&](const Schema::TableDef &def) {
        for (const auto &[name, type] : parseColumnSpec(QString::fromUtf8(def.columns)))
            if (name.compare(column, Qt::CaseInsensitive) == 0)
                return fromSystemType(type);
        return Declared::Unknown;
    };
    for (const auto &def : tables)
        if (QString::fromUtf8(def.name).compare(table.trimmed(), Qt::CaseInsensitive) == 0)
            if (const Declared d = lookIn(def); d != Declared::Unknown)
                return d;
    for (const auto &def : tables)
        if (const Declared d = lookIn(def); d != Declared::Unknown)
            return d;
    return Declared::Unknown;
}

QStringList splitList(const QString &list)
{
    QStringList out;
    for (const QString &item : list.split(QLatin1Char(',')))
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    return out;
}

// A number as the operator may type it; anything else never reaches SQL.
bool normalNumber(const QString &text, QString &out)
{
    static const QRegularExpression re(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)$)"));
    if (!re.match(text).hasMatch())
        return false;
    out = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    if (out.endsWith(QLatin1Char('.')))
        out.chop(1);
    if (out.startsWith(QLatin1Char('.')))
        out.prepend(QLatin1Char('0'));
    else if (out.startsWith(QLatin1String("-.")))
        out.insert(1, QLatin1Char('0'));
    return true;
}

QDate parseDate(const QString &text)
{
    static const QStringList formats{QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-M-d"),
                                     QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy.M.d"),
                                     QStringLiteral("yyyyMMdd")};
    for (const QString &f : formats) {
        const QDate d = QDate::fromString(text, f);
        if (d.isValid())
            return d;
    }
    return {};
}

} // namespace

QString searchDisplayName(const QString &source)
{
    const int as = source.indexOf(AsWord, 0, Qt::CaseInsensitive);
    if (as >= 0)
        return source.mid(as + AsWord.size()).trimmed();
    const int dot = source.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        return source.mid(dot + 1).trimmed();
    return source.trimmed();
}

QString searchSqlName(const QString &source)
{
    const int as = source.indexOf(AsWord, 0, Qt::CaseInsensitive);
    return (as >= 0 ? source.left(as) : source).trimmed();
}

QList<SearchColumn> buildSearchCatalogue(Database &db, const QString &table, const QString &columnList,
                                         int mode, const QString &extra)
{
    const QStringList listed = splitList(columnList);
    QString sql = QStringLiteral("select ") + (mode == 1 ? listed.join(QLatin1Char(',')) : QStringLiteral("*"))
        + QStringLiteral(" from ") + table + QStringLiteral(" where ");
    if (!extra.trimmed().isEmpty())
        sql += QLatin1Char('(') + extra + QStringLiteral(") and ");
    sql += QStringLiteral("1=0");
    const QSqlRecord rec = db.exec(sql, {}, "buildSearchCatalogue").record();

    QList<SearchColumn> out;
    for (int i = 0; i < rec.count(); ++i) {
        QString source;
        if (mode == 1) {
            if (i >= listed.size())
                break;
            source = listed.at(i);
        } else {
            source = rec.fieldName(i);
            bool excluded = false;
            for (const QString &ex : listed)
                excluded = excluded || ex.compare(source, Qt::CaseInsensitive) == 0;
            if (excluded)
                continue;
        }
        // The bare column behind the expression decides its declared type.
        QString bare = searchSqlName(source);
        if (const int dot = bare.indexOf(QLatin1Char('.')); dot >= 0)
            bare = bare.mid(dot + 1);
        Declared d = declaredInSchema(table, bare);
        if (d == Declared::Unknown)
            d = fromDriver(rec.field(i));
        SearchColumn c{source, searchDisplayName(source), ColumnClass::Text};
        switch (d) {
        case Declared::Binary: continue;
        case Declared::Integer: c.cls = ColumnClass::Integer; break;
        case Declared::Number: c.cls = ColumnClass::Number; break;
        case Declared::Date: c.cls = ColumnClass::Date; break;
        case Declared::Boolean: c.cls = ColumnClass::Boolean; break;
        case Declared::Text:
        case Declared::Unknown: c.cls = ColumnClass::Text; break;
        }
        out << c;
    }
    return out;
}

SearchBuilder::SearchBuilder(const Dialect &dialect, QString table, QString columnList, int mode, QString extra)
    : m_dialect(dialect), m_table(std::move(table)), m_columnList(std::move(columnList)),
      m_extra(std::move(extra)), m_mode(mode)
{
}

void SearchBuilder::loadCatalogue(Database &db)
{
    m_columns = buildSearchCatalogue(db, m_table, m_columnList, m_mode, m_extra);
}

QStringList SearchBuilder::items() const
{
    QStringList out;
    for (const SearchColumn &c : m_columns)
        out << c.display;
    return out;
}

int SearchBuilder::indexOfDisplay(const QString &display) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).display == display)
            return i;
    return -1;
}

ColumnClass SearchBuilder::classOf(const QString &display) const
{
    const int i = indexOfDisplay(display);
    return i < 0 ? ColumnClass::Text : m_columns.at(i).cls;
}

QString SearchBuilder::sqlNameOf(const QString &display) const
{
    const int i = indexOfDisplay(display);
    return i < 0 ? QString() : searchSqlName(m_columns.at(i).source);
}

void SearchBuilder::addItem(int index)
{
    if (index < 0 || index >= m_columns.size())
        return;
    SearchCondition c;
    c.column = m_columns.at(index).display;
    c.op = QStringLiteral("等于");
    if (!m_rows.isEmpty())
        c.link = QStringLiteral("并且");
    m_rows << c;
}

void SearchBuilder::addItems(QList<int> indexes)
{
    if (indexes.isEmpty()) {
        addItem(0);
        return;
    }
    std::sort(indexes.begin(), indexes.end());
    for (int i : indexes)
        addItem(i);
}

void SearchBuilder::addAll()
{
    for (int i = 0; i < m_columns.size(); ++i)
        addItem(i);
}

void SearchBuilder::removeRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    if (row == m_rows.size() - 1)
        m_rows.removeLast();
    else
        m_rows[row] = m_rows.takeLast();
    if (!m_rows.isEmpty())
        m_rows[0].link.clear();
}

void SearchBuilder::setLink(int row, const QString &word)
{
    if (row > 0 && row < m_rows.size() && linkWords().contains(word))
        m_rows[row].link = word;
}

void SearchBuilder::setOperator(int row, const QString &word)
{
    if (row >= 0 && row < m_rows.size() && operatorsFor(classOf(m_rows.at(row).column)).contains(word))
        m_rows[row].op = word;
}

void SearchBuilder::setValue(int row, const QString &text)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].value = text.trimmed();
}

QString SearchBuilder::expression() const
{
    if (m_rows.isEmpty())
        return {};
    QString e = QStringLiteral("[1]");
    for (int i = 1; i < m_rows.size(); ++i)
        e += QLatin1Char(' ') + m_rows.at(i).link + QStringLiteral(" [") + QString::number(i + 1) + QLatin1Char(']');
    return e;
}

QStringList SearchBuilder::linkWords()
{
    return {QStringLiteral("并且"), QStringLiteral("或者")};
}

QStringList SearchBuilder::booleanWords()
{
    return {QStringLiteral("是"), QStringLiteral("否")};
}

QStringList SearchBuilder::operatorsFor(ColumnClass cls)
{
    switch (cls) {
    case ColumnClass::Text:
        return {QStringLiteral("近似"), QStringLiteral("等于"), QStringLiteral("大于"), QStringLiteral("小于"),
                QStringLiteral("大于等于"), QStringLiteral("小于等于"), QStringLiteral("不等于")};
    case ColumnClass::Boolean:
        return {QStringLiteral("等于"), QStringLiteral("不等于")};
    default:
        return {QStringLiteral("等于"), QStringLiteral("大于"), QStringLiteral("小于"),
                QStringLiteral("大于等于"), QStringLiteral("小于等于"), QStringLiteral("不等于")};
    }
}

QString SearchBuilder::operatorSql(const QString &word)
{
    static const QHash<QString, QString> map{
        {QStringLiteral("近似"), QStringLiteral(" like ")}, {QStringLiteral("等于"), QStringLiteral("=")},
        {QStringLiteral("大于"), QStringLiteral(">")},       {QStringLiteral("小于"), QStringLiteral("<")},
        {QStringLiteral("大于等于"), QStringLiteral(">=")},  {QStringLiteral("小于等于"), QStringLiteral("<=")},
        {QStringLiteral("不等于"), QStringLiteral("<>")}};
    return map.value(word);
}

bool SearchBuilder::conditionSql(const SearchCondition &c, QString &out, QString &message) const
{
    const int idx = indexOfDisplay(c.column);
    if (idx < 0) {
        message = QStringLiteral("查询项目[") + c.column + QStringLiteral("]不存在!");
        return false;
    }
    const ColumnClass cls = m_columns.at(idx).cls;
    const QString name = searchSqlName(m_columns.at(idx).source);
    const QString value = c.value.trimmed();
    // An operator the column does not offer would leave a broken statement.
    if (!operatorsFor(cls).contains(c.op)) {
        message = QStringLiteral("请为查询项目[") + c.column + QStringLiteral("]选择查询条件!");
        return false;
    }
    if (value.isEmpty()) {
        message = emptyValueMessage();
        return false;
    }
    QString valueSql;
    switch (cls) {
    case ColumnClass::Text:
        if (c.op == QStringLiteral("近似")) {
            out = QLatin1Char(' ') + name + m_dialect.like(value, Dialect::LikeMode::Contains);
            return true;
        }
        valueSql = m_dialect.quote(value);
        break;
    case ColumnClass::Boolean:
        valueSql = value == QStringLiteral("是") ? m_dialect.trueValue() : m_dialect.falseValue();
        break;
    case ColumnClass::Date: {
        const QDate d = parseDate(value);
        if (!d.isValid()) {
            message = QStringLiteral("查询项目[") + c.column + QStringLiteral("]的查询条件值不是有效的日期!");
            return false;
        }
        valueSql = m_dialect.dateLiteral(d);
        break;
    }
    case ColumnClass::Integer:
    case ColumnClass::Number:
        if (!normalNumber(value, valueSql)) {
            message = QStringLiteral("查询项目[") + c.column + QStringLiteral("]的查询条件值必须是数字!");
            return false;
        }
        break;
    }
    out = QLatin1Char(' ') + name + operatorSql(c.op) + valueSql;
    return true;
}

SearchBuilder::Result SearchBuilder::build() const
{
    Result r;
    if (m_rows.isEmpty() || m_rows.first().column.isEmpty()) {
        r.message = noConditionMessage();
        return r;
    }
    QString filter = QStringLiteral(" ");
    bool anyOr = false;
    for (int i = 0; i < m_rows.size(); ++i) {
        const SearchCondition &c = m_rows.at(i);
        if (i > 0) {
            // An unknown link would glue two conditions together; take it as "and".
            const bool isOr = c.link == QStringLiteral("或者");
            anyOr = anyOr || isOr;
            filter += isOr ? QStringLiteral(" or ") : QStringLiteral(" and ");
        }
        QString cond;
        if (!conditionSql(c, cond, r.message)) {
            r.row = i;
            return r;
        }
        filter += cond;
    }
    // With an "or" the filter is bracketed, so a paging test or an extra
    // condition appended with "and" applies to the whole of it.
    const QString extra = m_extra.trimmed();
    if (m_mode == 1 || anyOr || !extra.isEmpty())
        r.where = QLatin1Char('(') + filter + QLatin1Char(')');
    else
        r.where = filter;
    if (!extra.isEmpty())
        r.where = extra + QStringLiteral(" and ") + r.where;
    const QString fields = m_mode == 1 ? m_columnList : QStringLiteral("*");
    r.sql = QStringLiteral("select ") + fields + QStringLiteral(" from ") + m_table + QStringLiteral(" where ") + r.where;
    r.ok = true;
    return r;
}

QString valueListSql(const Dialect &dialect, const QString &table, const QString &column,
                     const QString &filter, const QString &extra)
{
    const QString n = QStringLiteral("coalesce(") + column + QLatin1Char(',') + dialect.quote(QString()) + QLatin1Char(')');
    QString sql = QStringLiteral("select distinct ") + n + QStringLiteral(" from ") + table + QStringLiteral(" where ");
    if (!extra.trimmed().isEmpty())
        sql += extra + QStringLiteral(" and ");
    if (filter.isEmpty())
        sql += n + QStringLiteral("<>") + dialect.quote(QString());
    else
        sql += n + dialect.like(filter, Dialect::LikeMode::Contains);
    return sql;
}

QStringList valueListValues(Database &db, const QString &table, const QString &column,
                            const QString &filter, const QString &extra)
{
    QSqlQuery q = db.exec(valueListSql(db.dialect(), table, column, filter, extra), {}, "valueListValues");
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace qandor
