#pragma once
#include "data/tbast.h"
#include <QString>
#include <optional>

namespace qandor {

// The three kinds of operator-visible number the system can hand out.
enum class NumberKind { Reader, Book, Magazine };

// Where a kind's numbers live: 读者资料.编号, 图书资料.图书编号, 期刊资料.期刊编号.
QString numberTable(NumberKind kind);
QString numberColumn(NumberKind kind);

// One kind's rule: the switch and the width (1 to 10).
struct NumberRule {
    bool autoOn = true;
    int length = 5;
};

// The numbering columns of the SysParameter row. The defaults are the ones
// the numbering dialog writes when the table has no row.
struct NumberingSettings {
    NumberRule reader{true, 4};
    NumberRule book{true, 5};
    NumberRule magazine{true, 5};
    NumberRule &rule(NumberKind kind);
    const NumberRule &rule(NumberKind kind) const;
};

// Widths are held within 1..10.
int clampNumberLength(int length);

// The next number of a kind: the number of the most recently added row
// (highest id, not the highest number) plus one, left-padded with "0" to
// `length`; a longer number keeps all its digits; "1" padded on an empty
// table. The front/behind marks of SysParameter are not used.
// Throws DbError when the newest number is not a whole number, or when the
// query fails (the query failure has then already been shown by bast).
QString nextItemNumber(TBast &bast, NumberKind kind, int length);

// The same, for an editor that only proposes: any failure is shown through
// bast and gives nullopt, so the number box stays as it was and the
// operator can type a number.
std::optional<QString> proposeItemNumber(TBast &bast, NumberKind kind, int length);

// Convenience for the editors: the proposal when the switch is on, nullopt
// when it is off or no number could be made.
std::optional<QString> proposeItemNumber(TBast &bast, NumberKind kind, const NumberRule &rule);

// Two desks can pick the same number; the unique index refuses the second
// save. After a failed save, this tells whether `number` is now taken by
// another row and, if so, which number to offer instead: the next number
// by the rule, stepped on until it is free. nullopt when the number is not
// taken (the failure had another cause) or nothing free could be found.
std::optional<QString> numberAfterCollision(TBast &bast, NumberKind kind, const QString &number, int length);

// "编号[0042]已被其他工作站抢先使用，系统已为您改为下一个编号[0043]，请确认后重新保存！"
QString collisionMessage(const QString &taken, const QString &offered);

// Reads the numbering columns of the SysParameter row. When the table has
// no row, one is written with the defaults (marks empty) and *created set.
// Throws DbError.
NumberingSettings loadNumberingSettings(Database &db, bool *created = nullptr);

// Writes the three switches and widths (widths clamped) into the row, in
// one transaction. Throws DbError.
void saveNumberingSettings(Database &db, const NumberingSettings &settings);

} // namespace qandor
