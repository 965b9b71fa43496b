#pragma once

#include "data/database.h"
#include "data/money.h"
#include "data/tbast.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class QSqlQuery;

namespace qandor {

// Where a desk screen should put the cursor after an action.
enum class DeskFocus { None, ReaderNum, ReaderName, BookNum, BookIsbn, BookName, Amount };

// How the operator calls loans up at the return and renewal desks.
enum class LoanLookup { Reader = 1, Book = 2 };

// The reader whose open loans are shown.
struct LoanReader {
    QString number, name, sex, type;
    Money rentRate, fineRate; // R_Rent, R_Mulct (the first loan's type)
    int bookLimit = 0;        // renewal desk: 图书可借数量
    int loanDays = 0;         // renewal desk: 图书可借天数 (DateLimit)
    int allowance = 0;        // renewal desk: CountLimit
    QByteArray photo;
};

// What a desk action did. The message (if any) has already been shown
// through TBast; the screen only refreshes itself and moves the focus.
struct DeskOutcome {
    bool ok = false;
    QString message;          // the last text shown, empty when nothing was said
    DeskFocus focus = DeskFocus::None;
    bool selectInput = false; // focus and select the box's text

    static DeskOutcome success(DeskFocus f = DeskFocus::None) { DeskOutcome o; o.ok = true; o.focus = f; return o; }
    // Nothing said, nothing done; only the focus moves.
    static DeskOutcome quiet(DeskFocus f = DeskFocus::None) { DeskOutcome o; o.focus = f; return o; }
};

// The small look-ups the desks share. Values are bound; the loan and copy
// tables have indexes on (reader, status) and (item, status).
namespace DeskSql {

inline const QString Open = QStringLiteral("未还");
inline const QString Returned = QStringLiteral("已还");
inline const QString Lent = QStringLiteral("借出");
inline const QString OnShelf = QStringLiteral("在馆");
inline const QString CardNormal = QStringLiteral("正常");

// Open book loans of a reader.
int bookLoanCount(Database &db, const QString &readerNum);
// The reader holding a copy, or an empty text.
QString bookHolder(Database &db, const QString &bookNum);

// One open loan as the "未还图书列表" shows it.
struct OpenLoanBrief {
    qint64 id = 0;
    QString bookNum, title, className;
    QDate lent, due;
};
QList<OpenLoanBrief> openBookLoans(Database &db, const QString &readerNum);
// The text of that query, for a paged grid: bind the reader number.
QString openBookLoansSql();

} // namespace DeskSql

// A desk's shared plumbing: the data access component, the operator and the
// day the desk works on (the computer's date; tests set it).
class DeskBase {
public:
    DeskBase(TBast &bast, QString operatorName) : m_bast(bast), m_operator(std::move(operatorName)) {}
    virtual ~DeskBase() = default;

    void setToday(const QDate &day) { m_today = day; }
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }
    const QString &operatorName() const { return m_operator; }

protected:
    Database &db() const { return *m_bast.database(); }
    const Dialect &dialect() const { return m_bast.dialect(); }
    DeskOutcome say(const QString &text, const QString &kind, DeskFocus focus = DeskFocus::None, bool select = false) const;
    DeskOutcome done(const QString &text) const;
    DeskOutcome dbFailed(const DbError &e) const;

    TBast &m_bast;

private:
    QString m_operator;
    QDate m_today;
};

// A desk working on one reader's open loans, ticked in a list: the return
// and renewal desks.
class OpenLoanDesk : public DeskBase {
public:
    using DeskBase::DeskBase;

    virtual DeskOutcome loadOpenLoans(const QString &text, LoanLookup kind) = 0;
    const std::optional<LoanReader> &reader() const { return m_reader; }
    virtual DeskOutcome tickAll() = 0;
    virtual DeskOutcome untickAll() = 0;

    void reset();

protected:
    virtual void clearRows() = 0;

    // Calls a reader's loans up: checks the typed text, finds the holder of a
    // typed copy, runs `sql` (binds: the open status, the reader number; its
    // first four columns are the reader's number, name, sex and type) and
    // hands every row to `readRow`. `finish` runs once rows were found, before
    // the photo is read. On success the reader is shown; on a refusal the
    // desk is emptied.
    DeskOutcome callUpLoans(const QString &text, LoanLookup kind, const QString &sql, const char *where,
                            const std::function<void(const QSqlQuery &, LoanReader &, bool first)> &readRow,
                            const std::function<void(LoanReader &)> &finish = {});

    // The checks before the ticked loans are written: a reader shown, a
    // tick, the operator's yes. False (having said why) when the desk stops;
    // `stop` then holds the outcome.
    bool readyToWrite(int ticked, const QString &noReader, const QString &noTick, const QString &ask, DeskOutcome &stop) const;
    // After the transaction: the refusal (nothing was written) or the success
    // text, after which the desk is emptied.
    DeskOutcome finishWrite(const QString &refusal, const QString &doneText);
    DeskOutcome emptyList() const;

    std::optional<LoanReader> m_reader;
};

} // namespace qandor
