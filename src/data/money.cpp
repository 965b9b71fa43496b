#include "data/money.h"

#include <QLocale>
#include <cmath>

namespace qandor {

std::optional<Money> Money::parse(QStringView text)
{
    QString t;
    t.reserve(text.size());
    for (const QChar c : text) {
        if (c == QChar(0xFFE5) || c == QChar(0x00A5) || c == QLatin1Char(',') || c.isSpace())
            continue; // ￥ ¥ thousands separators and blanks
        t += c;
    }
    if (t.isEmpty())
        return std::nullopt;
    bool negative = false;
    int i = 0;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
        negative = t[0] == QLatin1Char('-');
        ++i;
    }
    qint64 whole = 0;
    int digits = 0;
    for (; i < t.size() && t[i].isDigit(); ++i, ++digits) {
        whole = whole * 10 + t[i].digitValue();
        if (whole > 900'000'000'000'000LL / Scale)
            return std::nullopt;
    }
    qint64 frac = 0;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        ++i;
        for (; i < t.size() && t[i].isDigit(); ++i) {
            if (fracDigits < 4) {
                frac = frac * 10 + t[i].digitValue();
                ++fracDigits;
            } else if (fracDigits == 4) {
                roundUp = t[i].digitValue() >= 5;
                ++fracDigits;
            }
            ++digits;
        }
    }
    if (i != t.size() || digits == 0)
        return std::nullopt;
    for (int k = std::min(fracDigits, 4); k < 4; ++k)
        frac *= 10;
    qint64 units = whole * Scale + frac + (roundUp ? 1 : 0);
    return fromUnits(negative ? -units : units);
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return fromUnits(std::llround(value.toDouble() * Scale));
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return fromYuan(value.toLongLong());
    default:
        break;
    }
    if (value.canConvert<Money>() && value.typeId() == qMetaTypeId<Money>())
        return value.value<Money>();
    if (auto m = parse(value.toString()))
        return *m;
    return fromUnits(std::llround(value.toDouble() * Scale));
}

Money Money::roundedToFen() const
{
    constexpr qint64 step = Scale / 100;
    const qint64 a = m_units < 0 ? -m_units : m_units;
    const qint64 r = (a + step / 2) / step * step;
    return fromUnits(m_units < 0 ? -r : r);
}

QString Money::toString() const
{
    const qint64 fen = roundedToFen().m_units / (Scale / 100);
    const qint64 a = fen < 0 ? -fen : fen;
    return (fen < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 100) + QLatin1Char('.')
        + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString Money::toDecimalString() const
{
    const qint64 a = m_units < 0 ? -m_units : m_units;
    return (m_units < 0 ? QStringLiteral("-") : QString()) + QString::number(a / Scale) + QLatin1Char('.')
        + QStringLiteral("%1").arg(a % Scale, 4, 10, QLatin1Char('0'));
}

QString Money::format() const
{
    const qint64 fen = roundedToFen().m_units / (Scale / 100);
    const qint64 a = fen < 0 ? -fen : fen;
    QString whole = QString::number(a / 100);
    for (int pos = whole.size() - 3; pos > 0; pos -= 3)
        whole.insert(pos, QLatin1Char(','));
    return (fen < 0 ? QStringLiteral("-￥") : QStringLiteral("￥")) + whole + QLatin1Char('.')
        + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QVariant Money::toDbValue(bool server) const
{
    if (server)
        return toDecimalString();
    return static_cast<double>(m_units) / Scale;
}

} // namespace qandor
