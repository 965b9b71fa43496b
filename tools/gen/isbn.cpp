#include "gen/isbn.h"

namespace qandor::gen {

namespace {
QString digitsOnly(QStringView text)
{
    QString out;
    for (const QChar c : text)
        if (c != QLatin1Char('-') && c != QLatin1Char(' '))
            out += c.toUpper();
    return out;
}

bool allDigits(QStringView s)
{
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QChar mod11Check(QStringView digits, int firstWeight)
{
    int sum = 0;
    int w = firstWeight;
    for (const QChar c : digits)
        sum += (c.unicode() - '0') * w--;
    const int check = (11 - sum % 11) % 11;
    return check == 10 ? QLatin1Char('X') : QChar(u'0' + check);
}
} // namespace

QChar isbn10CheckDigit(QStringView nineDigits)
{
    return mod11Check(nineDigits, 10);
}

QChar isbn13CheckDigit(QStringView twelveDigits)
{
    int sum = 0;
    for (int i = 0; i < twelveDigits.size(); ++i)
        sum += (twelveDigits[i].unicode() - '0') * (i % 2 ? 3 : 1);
    return QChar(u'0' + (10 - sum % 10) % 10);
}

QChar issnCheckDigit(QStringView sevenDigits)
{
    return mod11Check(sevenDigits, 8);
}

bool isValidIsbn(QStringView text)
{
    const QString d = digitsOnly(text);
    if (d.size() == 10)
        return allDigits(QStringView(d).left(9)) && isbn10CheckDigit(QStringView(d).left(9)) == d.at(9);
    if (d.size() == 13)
        return allDigits(d) && isbn13CheckDigit(QStringView(d).left(12)) == d.at(12);
    return false;
}

bool isValidIssn(QStringView text)
{
    const QString d = digitsOnly(text);
    return d.size() == 8 && allDigits(QStringView(d).left(7)) && issnCheckDigit(QStringView(d).left(7)) == d.at(7);
}

} // namespace qandor::gen
