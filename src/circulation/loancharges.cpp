#include "circulation/loancharges.h"

namespace qandor {

namespace {
Money chargeFor(Money rate, qint64 days)
{
    // Whole days times a rate held in 1/10000 yuan: exact, then to the fen.
    return Money::fromUnits(rate.units() * days).roundedToFen();
}
} // namespace

LoanCharges computeLoanCharges(const QDate &today, const QDate &lent, const QDate &due,
                               Money rentRate, Money fineRate)
{
    LoanCharges c;
    c.rentRate = rentRate;
    c.fineRate = fineRate;

    c.keptDays = lent.isValid() && today.isValid() ? lent.daysTo(today) : 0;
    c.shownDays = c.keptDays < 1 ? 1 : int(c.keptDays);

    // A lending date after today (a desk clock set wrong) must not turn
    // into a refund: rent is never below zero.
    c.rentCharged = rentRate > Money();
    if (c.rentCharged)
        c.rent = chargeFor(rentRate, std::max<qint64>(c.keptDays, 0));

    const qint64 overdue = due.isValid() && today.isValid() ? due.daysTo(today) : 0;
    if (overdue >= 1) {
        c.overdueDays = int(overdue);
        c.fineCharged = fineRate > Money();
        if (c.fineCharged)
            c.fine = chargeFor(fineRate, overdue);
    }
    return c;
}

QDate loanDueDate(const QDate &day, int loanDays)
{
    return day.addDays(loanDays);
}

QDate validUntil(const QDate &day, int months)
{
    return day.addMonths(months).addDays(1);
}

QString formatRate(Money rate)
{
    QString s = rate.toDecimalString(); // "0.3500"
    while (s.endsWith(QLatin1Char('0')) && s.size() - s.indexOf(QLatin1Char('.')) > 3)
        s.chop(1);
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString whole = s.left(dot);
    for (int pos = whole.size() - 3; pos > 0; pos -= 3)
        whole.insert(pos, QLatin1Char(','));
    return (negative ? QStringLiteral("-￥") : QStringLiteral("￥")) + whole + s.mid(dot);
}

QString LoanCharges::rentText() const
{
    return rentCharged ? rent.toString() : QStringLiteral("0");
}

QString LoanCharges::fineText() const
{
    return fineCharged ? fine.toString() : QStringLiteral("0");
}

QString LoanCharges::rentExplanation() const
{
    if (!rentCharged)
        return {};
    return QString::number(std::max<qint64>(keptDays, 0)) + QStringLiteral("天 × ") + formatRate(rentRate)
        + QStringLiteral(" = ") + rent.format();
}

QString LoanCharges::fineExplanation() const
{
    if (!fineCharged)
        return {};
    return QStringLiteral("超期") + QString::number(overdueDays) + QStringLiteral("天 × ") + formatRate(fineRate)
        + QStringLiteral(" = ") + fine.format();
}

QString LoanCharges::explanation() const
{
    QStringList lines;
    if (rentCharged)
        lines << QStringLiteral("租金：") + rentExplanation();
    if (fineCharged)
        lines << QStringLiteral("罚金：") + fineExplanation();
    if (lines.isEmpty())
        return QStringLiteral("不收费");
    return lines.join(QLatin1Char('\n'));
}

} // namespace qandor
