#pragma once

#include <QString>

namespace qandor::gen {

// Check characters of the book and serial numbers the generator writes.
QChar isbn10CheckDigit(QStringView nineDigits);   // '0'..'9' or 'X'
QChar isbn13CheckDigit(QStringView twelveDigits); // '0'..'9'
QChar issnCheckDigit(QStringView sevenDigits);    // '0'..'9' or 'X'
// True when the text (hyphens allowed) is an ISBN-10 or ISBN-13 with a valid check digit.
bool isValidIsbn(QStringView text);
bool isValidIssn(QStringView text);

} // namespace qandor::gen
