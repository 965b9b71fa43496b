#pragma once

#include <QDate>
#include <QString>

namespace qandor {

// The two kinds of database the program can work on.
enum class DbKind {
    SqliteFile,   // the stand-alone database file database/db.dat
    PostgresServer // the shared server database dbdat
};

// Every SQL difference between the two kinds lives here; the rest of the
// program writes plain SQL text with these fragments pasted in.
class Dialect {
public:
    explicit Dialect(DbKind kind = DbKind::SqliteFile) : m_kind(kind) {}

    DbKind kind() const { return m_kind; }
    bool isServer() const { return m_kind == DbKind::PostgresServer; }

    // Literals.
    QString strMark() const { return QStringLiteral("'"); }
    QString dateMark() const { return QStringLiteral("'"); }
    QString trueValue() const;
    QString falseValue() const;

    // A text value as an SQL literal, quotes doubled. The only way operator
    // text may enter SQL that has to be built as text.
    QString quote(const QString &value) const;
    // A LIKE pattern literal that matches `value` as a substring (or prefix,
    // suffix, exact); % _ and the escape character in `value` match themselves.
    enum class LikeMode { Contains, StartsWith, EndsWith, Exact };
    QString likePattern(const QString &value, LikeMode mode = LikeMode::Contains) const;
    // "like <pattern> escape '\'" for use after a column.
    QString like(const QString &value, LikeMode mode = LikeMode::Contains) const;
    // A date as literal 'yyyy-MM-dd'.
    QString dateLiteral(const QDate &date) const;

    // Fragments.
    QString sumOrZero(const QString &expr) const;
    QString countOrZero(const QString &expr) const;
    // Money sums: exact to the fen on both kinds (the file stores money in
    // binary floating point, so its sums are rounded back to 1/10000 yuan).
    QString moneySumOrZero(const QString &expr) const;
    QString subStrExpr(const QString &expr, int start, int length) const;
    // " limit n" — appended at the end of a select (replaces "select top n").
    QString limit(int n) const;
    // Names of the indexes of the database in use (one column).
    QString indexNamesQuery() const;
    // A query returning the server's current date and time as column SDate,
    // or an empty text when the database has no clock of its own.
    QString serverDateSql() const;
    // update <target> set <assignments> from <other> where <where>
    // (assignments must not qualify the target's columns).
    QString joinedUpdate(const QString &target, const QString &assignments,
                         const QString &other, const QString &where) const;
    // Case-insensitive comparison helper: lower(expr).
    QString lower(const QString &expr) const;
    // Concatenation of two text expressions.
    QString concat(const QString &a, const QString &b) const;

    // DDL: translates a column type written as the system writes it
    // ("int identity(1,1)", "nvarchar(50) NULL", "money default 0",
    // "bit default False", "datetime", "text", "Image") into this kind's type.
    QString columnType(const QString &systemType) const;
    // The full column definition for the first (primary key) column.
    QString primaryKeyColumn(const QString &name, const QString &systemType) const;

private:
    DbKind m_kind;
};

} // namespace qandor
