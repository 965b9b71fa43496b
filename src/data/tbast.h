#pragma once

#include "data/database.h"
#include "data/messagesink.h"

#include <QStringList>

namespace qandor {

// The data access component: dialect fragments, message boxes, small
// look-ups, pick lists and schema operations, all on one database.
// The program has one (the hub's Bast1); tests build their own.
class TBast {
public:
    explicit TBast(Database *db = nullptr, MessageSink *sink = nullptr);

    void setDatabase(Database *db) { m_db = db; }
    Database *database() const { return m_db; }
    void setMessageSink(MessageSink *sink);
    MessageSink *messageSink() const { return m_sink; }
    const Dialect &dialect() const;

    // Dialect fragments.
    QString GetDateMark() const { return dialect().dateMark(); }
    QString GetStrMark() const { return dialect().strMark(); }
    QString GetTrueValue() const { return dialect().trueValue(); }
    QString GetFalseValue() const { return dialect().falseValue(); }
    QString SumOrZero(const QString &expr) const { return dialect().sumOrZero(expr); }
    QString CountOrZero(const QString &expr) const { return dialect().countOrZero(expr); }
    QString SubStrExpr(const QString &expr, int start, int length) const { return dialect().subStrExpr(expr, start, length); }
    // The one quoting function for values that must be pasted into SQL text.
    QString Quote(const QString &value) const { return dialect().quote(value); }

    // Boxes, captioned "系统提示".
    void ShowMsg(const QString &text, const QString &kind) const;
    bool AskMsg(const QString &text, const QString &kind) const;
    // A database error reported to the operator.
    void ShowDbError(const DbError &e) const;

    // Look-ups and lists. Table and column names are the program's own,
    // never operator text; values are bound.
    bool FillStringsBySql(QStringList &list, const QString &sql, const QVariantList &binds = {});
    bool FillEditableList(QStringList &list, const QString &table, const QString &column);
    bool FillDistinctList(QStringList &list, const QString &table, const QString &column);
    bool ValueExists(const QString &table, const QString &column, const QString &value);
    int CountRows(const QString &table, const QString &column);
    QString NextNumber(const QString &table, const QString &orderColumn, int width, const QString &codeColumn);
    // Current year and the `count` years before it, newest first (count <= 0 means 10).
    static void FillYears(QStringList &list, int count, int currentYear = 0);

    // Schema operations. A column spec is "name*type|name*type|...".
    bool CreateTableIfMissing(const QString &table, const QString &columnSpec);
    bool AddMissingColumns(const QString &table, const QString &columnSpec);

    static constexpr const char *EditEntry = "编辑";

private:
    bool checkConnection() const;

    Database *m_db = nullptr;
    MessageSink *m_sink = nullptr;
    SilentSink m_silent;
    Dialect m_fallbackDialect;
};

// Splits a column spec into (name, type) pairs; items trimmed, empty items skipped.
QList<std::pair<QString, QString>> parseColumnSpec(const QString &spec);

} // namespace qandor
