#include "catalogue/editorrecord.h"
#include "data/money.h"

#include <QSqlRecord>

namespace qandor::EditorRecords {

bool isDateColumn(const QString &column)
{
    return column == QStringLiteral("入库时间") || column == QStringLiteral("出版日期");
}

bool isMoneyColumn(const QString &column) { return column == QStringLiteral("定价"); }

bool isIntColumn(const QString &column) { return column == QStringLiteral("种次号"); }

QVariant emptyValue(const QString &column)
{
    if (isDateColumn(column))
        return QDate();
    if (isMoneyColumn(column))
        return QVariant::fromValue(Money());
    if (isIntColumn(column))
        return 0;
    if (isPictureColumn(column))
        return QByteArray();
    return QString();
}

QVariant fromDb(const QString &column, const QVariant &value)
{
    if (isDateColumn(column))
        return toDate(value);
    if (isMoneyColumn(column))
        return QVariant::fromValue(Money::fromVariant(value));
    if (isIntColumn(column))
        return value.toInt();
    if (isPictureColumn(column))
        return value.isNull() ? QByteArray() : value.toByteArray();
    return value.isNull() ? QString() : value.toString();
}

QVariant toDb(const QString &column, const QVariant &value)
{
    if (isDateColumn(column)) {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate));
    }
    if (isMoneyColumn(column))
        return QVariant::fromValue(value.value<Money>());
    if (isIntColumn(column))
        return value.toInt();
    if (isPictureColumn(column)) {
        const QByteArray b = value.toByteArray();
        return b.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(b);
    }
    return value.toString();
}

EditorRecord readRow(const QSqlQuery &q, const QStringList &columns)
{
    EditorRecord r;
    const QSqlRecord rec = q.record();
    for (const QString &c : columns) {
        const int i = rec.indexOf(c);
        r.insert(c, i < 0 ? emptyValue(c) : fromDb(c, q.value(i)));
    }
    return r;
}

QString text(const EditorRecord &r, const QString &column) { return r.value(column).toString(); }

bool stepNumber(const QString &number, int step, QString &out)
{
    const QString n = number.trimmed();
    if (n.isEmpty() || n.size() > 18)
        return false;
    for (const QChar c : n)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    const QString next = QString::number(n.toLongLong() + step);
    out = next.size() < n.size() ? QString(n.size() - next.size(), QLatin1Char('0')) + next : next;
    return true;
}

} // namespace qandor::EditorRecords
