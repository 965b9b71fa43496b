#pragma once
#include "data/money.h"
#include <QDateEdit>
#include <QDoubleSpinBox>

namespace qandor {

// A money editor: two decimals, read back as Money through its text so no
// floating-point arithmetic touches the amount.
class MoneyEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit MoneyEdit(QWidget *parent = nullptr, const QString &suffix = {});
    Money money() const;
    void setMoney(Money m);
};

// A date editor that can be empty: the lowest date stands for "no date"
// and shows as blank.
class NullableDateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit NullableDateEdit(QWidget *parent = nullptr);
    QDate nullableDate() const;
    void setNullableDate(const QDate &d);
};

} // namespace qandor
