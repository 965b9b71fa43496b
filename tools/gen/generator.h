#pragma once

#include "data/tbast.h"

#include <QDate>
#include <functional>

namespace qandor::gen {

struct GenOptions {
    qint64 copies = 2000;     // book copies
    qint64 magazines = -1;    // magazine copies; -1: a tenth of the book copies
    qint64 readers = 300;
    qint64 loans = 5000;      // book and magazine loans together
    quint64 seed = 1;
    // The generated library's "today": every date is derived from it, so the
    // same seed gives the same database whatever the clock says.
    QDate today = QDate(2024, 6, 28);
    int years = 3;            // loan history before today
    // Progress lines ("图书 120000/1000000"); none when empty.
    std::function<void(const QString &)> progress;
};

struct GenSummary {
    qint64 bookCopies = 0, magazineCopies = 0, readers = 0;
    qint64 bookLoans = 0, magazineLoans = 0, openLoans = 0;
    qint64 renewals = 0, topUps = 0, reservations = 0, cardEvents = 0, cancellations = 0;
    qint64 skippedLoans = 0;  // loan slots no eligible reader and copy could fill
};

// Fills an empty library database (laying the delivered schema first when
// the database holds no table) with a realistic library. Everything is
// written in one transaction. Throws DbError, or std::runtime_error when
// the database already holds books or readers.
GenSummary generate(TBast &bast, const GenOptions &options);

} // namespace qandor::gen
