#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <compare>
#include <optional>

namespace qandor {

// An amount in yuan held exactly as a whole number of 1/10000 yuan, the
// precision of the money columns. Arithmetic never goes through floating
// point; amounts read from the database are rounded back to that precision.
class Money {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { Money m; m.m_units = units; return m; }
    static constexpr Money fromYuan(qint64 yuan) { return fromUnits(yuan * Scale); }
    static constexpr Money fromFen(qint64 fen) { return fromUnits(fen * (Scale / 100)); }

    // Parses "12", "12.3", "-0.05", "￥1,234.50", " 3.14159 " (rounded half
    // away from zero to 1/10000). Empty or malformed text gives nullopt.
    static std::optional<Money> parse(QStringView text);
    // Reads a value as the database returned it: a decimal string, an
    // integer, or a floating-point number.
    static Money fromVariant(const QVariant &value);

    constexpr qint64 units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }

    // Rounded to the fen, half away from zero.
    Money roundedToFen() const;

    // "12.30" (two decimals, rounded to the fen).
    QString toString() const;
    // "12.3000": all four decimals, for binding into numeric columns.
    QString toDecimalString() const;
    // "￥1,234.50" — the display form used on screens and in grids.
    QString format() const;
    // Value for QSqlQuery::bindValue on the database in use.
    QVariant toDbValue(bool server) const;

    constexpr Money operator+(Money o) const { return fromUnits(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return fromUnits(m_units - o.m_units); }
    constexpr Money operator-() const { return fromUnits(-m_units); }
    constexpr Money operator*(qint64 n) const { return fromUnits(m_units * n); }
    Money &operator+=(Money o) { m_units += o.m_units; return *this; }
    Money &operator-=(Money o) { m_units -= o.m_units; return *this; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    qint64 m_units = 0;
};

} // namespace qandor

Q_DECLARE_METATYPE(qandor::Money)
