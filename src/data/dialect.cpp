#include "data/dialect.h"

#include <QDate>
#include <QRegularExpression>

namespace qandor {

QString Dialect::trueValue() const
{
    return isServer() ? QStringLiteral("true") : QStringLiteral("1");
}

QString Dialect::falseValue() const
{
    return isServer() ? QStringLiteral("false") : QStringLiteral("0");
}

QString Dialect::quote(const QString &value) const
{
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    // A NUL would cut the statement short in the client libraries.
    v.remove(QChar(0));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString Dialect::likePattern(const QString &value, LikeMode mode) const
{
    QString v;
    v.reserve(value.size() + 4);
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            v += QLatin1Char('\\');
        v += c;
    }
    switch (mode) {
    case LikeMode::Contains: v = QLatin1Char('%') + v + QLatin1Char('%'); break;
    case LikeMode::StartsWith: v = v + QLatin1Char('%'); break;
    case LikeMode::EndsWith: v = QLatin1Char('%') + v; break;
    case LikeMode::Exact: break;
    }
    return v;
}

QString Dialect::like(const QString &value, LikeMode mode) const
{
    return QStringLiteral(" like ") + quote(likePattern(value, mode)) + QStringLiteral(" escape '\\'");
}

QString Dialect::dateLiteral(const QDate &date) const
{
    return dateMark() + date.toString(QStringLiteral("yyyy-MM-dd")) + dateMark();
}

QString Dialect::sumOrZero(const QString &expr) const
{
    return QStringLiteral("coalesce(sum(") + expr.trimmed() + QStringLiteral("),0)");
}

QString Dialect::countOrZero(const QString &expr) const
{
    return QStringLiteral("coalesce(count(") + expr.trimmed() + QStringLiteral("),0)");
}

QString Dialect::moneySumOrZero(const QString &expr) const
{
    if (isServer())
        return sumOrZero(expr);
    return QStringLiteral("round(coalesce(sum(") + expr.trimmed() + QStringLiteral("),0),4)");
}

QString Dialect::subStrExpr(const QString &expr, int start, int length) const
{
    return QStringLiteral("substr(") + expr.trimmed() + QLatin1Char(',') + QString::number(start)
        + QLatin1Char(',') + QString::number(length) + QLatin1Char(')');
}

QString Dialect::limit(int n) const
{
    return QStringLiteral(" limit ") + QString::number(n);
}

QString Dialect::indexNamesQuery() const
{
    return isServer() ? QStringLiteral("select c.relname from pg_class c join pg_namespace n on n.oid=c.relnamespace "
                                       "where c.relkind='i' and n.nspname=current_schema()")
                      : QStringLiteral("select name from sqlite_master where type='index'");
}

QString Dialect::serverDateSql() const
{
    if (isServer())
        return QStringLiteral("select localtimestamp(0) as SDate");
    return {};
}

QString Dialect::joinedUpdate(const QString &target, const QString &assignments,
                              const QString &other, const QString &where) const
{
    // Both kinds take the "update ... from ..." form (SQLite since 3.33).
    return QStringLiteral("update ") + target + QStringLiteral(" set ") + assignments
        + QStringLiteral(" from ") + other + QStringLiteral(" where ") + where;
}

QString Dialect::lower(const QString &expr) const
{
    return QStringLiteral("lower(") + expr + QLatin1Char(')');
}

QString Dialect::concat(const QString &a, const QString &b) const
{
    return a + QStringLiteral(" || ") + b;
}

namespace {

// Splits "nvarchar(50) NULL" into the base type "nvarchar(50)" and the rest.
std::pair<QString, QString> splitType(const QString &systemType)
{
    static const QRegularExpression identity(QStringLiteral(R"(^\s*int\s+identity\s*\(\s*\d+\s*,\s*\d+\s*\)\s*(.*)$)"),
                                             QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = identity.match(systemType); m.hasMatch())
        return {QStringLiteral("int identity(1,1)"), m.captured(1).trimmed()};
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([A-Za-z]+(?:\s*\(\s*[0-9]+\s*(?:,\s*[0-9]+\s*)?\))?)\s*(.*)$)"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(systemType);
    if (!m.hasMatch())
        return {systemType.trimmed(), QString()};
    return {m.captured(1), m.captured(2).trimmed()};
}

QString translateDefaults(const QString &rest, bool server)
{
    // Boolean defaults are written with either kind's literals by callers
    // ("default False", "default 0"); normalise them.
    QString r = rest;
    static const QRegularExpression t(QStringLiteral(R"(\bdefault\s+true\b)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression f(QStringLiteral(R"(\bdefault\s+false\b)"), QRegularExpression::CaseInsensitiveOption);
    r.replace(t, server ? QStringLiteral("default true") : QStringLiteral("default 1"));
    r.replace(f, server ? QStringLiteral("default false") : QStringLiteral("default 0"));
    return r;
}

} // namespace

QString Dialect::columnType(const QString &systemType) const
{
    auto [base, rest] = splitType(systemType);
    const QString lowerBase = base.toLower().remove(QLatin1Char(' '));
    const bool server = isServer();
    QString type;
    bool isBit = false;
    if (lowerBase.startsWith(QLatin1String("intidentity")) || lowerBase == QLatin1String("identity")) {
        type = server ? QStringLiteral("integer generated by default as identity")
                      : QStringLiteral("integer");
    } else if (lowerBase.startsWith(QLatin1String("nvarchar")) || lowerBase.startsWith(QLatin1String("varchar"))) {
        const int open = lowerBase.indexOf(QLatin1Char('('));
        if (server)
            type = open >= 0 ? QStringLiteral("varchar") + lowerBase.mid(open) : QStringLiteral("varchar");
        else
            type = QStringLiteral("text");
    } else if (lowerBase == QLatin1String("money") || lowerBase == QLatin1String("currency")) {
        type = server ? QStringLiteral("numeric(19,4)") : QStringLiteral("numeric");
    } else if (lowerBase == QLatin1String("bit")) {
        type = server ? QStringLiteral("boolean") : QStringLiteral("integer");
        isBit = true;
    } else if (lowerBase == QLatin1String("datetime")) {
        // The file keeps dates as ISO text so they compare as written.
        type = server ? QStringLiteral("timestamp(0)") : QStringLiteral("text");
    } else if (lowerBase == QLatin1String("text") || lowerBase == QLatin1String("memo") || lowerBase == QLatin1String("ntext")) {
        type = QStringLiteral("text");
    } else if (lowerBase == QLatin1String("image") || lowerBase == QLatin1String("oleobject")) {
        type = server ? QStringLiteral("bytea") : QStringLiteral("blob");
    } else if (lowerBase == QLatin1String("int") || lowerBase == QLatin1String("integer") || lowerBase == QLatin1String("long")) {
        type = QStringLiteral("integer");
    } else {
        type = base;
    }
    if (isBit && server) {
        // A bit default written as 0/1 must become a boolean literal.
        static const QRegularExpression d1(QStringLiteral(R"(\bdefault\s+1\b)"), QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression d0(QStringLiteral(R"(\bdefault\s+0\b)"), QRegularExpression::CaseInsensitiveOption);
        rest.replace(d1, QStringLiteral("default true"));
        rest.replace(d0, QStringLiteral("default false"));
    }
    rest = translateDefaults(rest, server);
    return rest.isEmpty() ? type : type + QLatin1Char(' ') + rest;
}

QString Dialect::primaryKeyColumn(const QString &name, const QString &systemType) const
{
    const auto base = splitType(systemType).first.toLower().remove(QLatin1Char(' '));
    if (base.startsWith(QLatin1String("intidentity"))) {
        if (isServer())
            return name + QStringLiteral(" integer generated by default as identity primary key");
        return name + QStringLiteral(" integer primary key autoincrement");
    }
    return name + QLatin1Char(' ') + columnType(systemType) + QStringLiteral(" primary key");
}

} // namespace qandor
