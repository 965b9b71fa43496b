#include "readers/readerwidgets.h"

namespace qandor {

MoneyEdit::MoneyEdit(QWidget *parent, const QString &suffix) : QDoubleSpinBox(parent)
{
    setDecimals(2);
    setRange(0, 99999999.99);
    setPrefix(QStringLiteral("￥"));
    setSuffix(suffix);
    setGroupSeparatorShown(true);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
}

Money MoneyEdit::money() const
{
    return Money::parse(QString::number(value(), 'f', 2)).value_or(Money());
}

void MoneyEdit::setMoney(Money m)
{
    setValue(m.toString().toDouble());
}

NullableDateEdit::NullableDateEdit(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    setMinimumDate(QDate(1900, 1, 1));
    setSpecialValueText(QStringLiteral(" "));
    setDate(minimumDate());
}

QDate NullableDateEdit::nullableDate() const
{
    return date() == minimumDate() ? QDate() : date();
}

void NullableDateEdit::setNullableDate(const QDate &d)
{
    setDate(d.isValid() ? d : minimumDate());
}

} // namespace qandor
