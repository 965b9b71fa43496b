#pragma once

#include "data/money.h"

#include <QDate>
#include <QString>

namespace qandor {

// What a returned loan costs: the figures the return list shows and the
// loan row stores. Rent covers every day since lending (overdue days
// included); the fine is added for each day after the due date.
struct LoanCharges {
    qint64 keptDays = 0;    // today - lending date, as counted
    int shownDays = 1;      // 天数 / 借阅天数: at least 1
    Money rent;             // 借阅租金, rounded to the fen
    bool rentCharged = false; // the rate is above 0: shown "0.00" rather than "0"
    int overdueDays = 0;    // 超期 / 超期天数: 0 up to and including the due date
    Money fine;             // 超期罚金, rounded to the fen
    bool fineCharged = false;
    Money rentRate;
    Money fineRate;

    Money total() const { return rent + fine; }

    // The list's texts: 天数 "1", 租金 "2.45" or "0", 超期 "0", 罚金 "0.30" or "0".
    QString daysText() const { return QString::number(shownDays); }
    QString rentText() const;
    QString overdueText() const { return QString::number(overdueDays); }
    QString fineText() const;

    // "7天 × ￥0.35 = ￥2.45" (empty when no rent is charged).
    QString rentExplanation() const;
    // "超期3天 × ￥0.10 = ￥0.30" (empty when no fine is charged).
    QString fineExplanation() const;
    // Both lines, or "不收费" when nothing is charged.
    QString explanation() const;
};

// The charges of one loan returned on `today`, lent on `lent`, due on `due`,
// with the reader type's daily rent and daily fine rates. Exact: the products
// are taken in 1/10000 yuan and rounded to the fen, halves away from zero.
LoanCharges computeLoanCharges(const QDate &today, const QDate &lent, const QDate &due,
                               Money rentRate, Money fineRate);

// Due date of a loan made (or renewed) on `day` with the type's loan period in days.
QDate loanDueDate(const QDate &day, int loanDays);

// The date `months` calendar months after `day`, plus one day: the last valid
// day of a prepaid quota bought on `day` (a month-end day stays at the end of a
// shorter month).
QDate validUntil(const QDate &day, int months);

// A rate for the explanation: "￥0.35", "￥0.125" (up to four decimals, at least two).
QString formatRate(Money rate);

} // namespace qandor
