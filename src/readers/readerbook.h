#pragma once
#include "catalogue/itemnumbering.h"
#include "data/money.h"
#include "data/tbast.h"
#include "readers/readertypes.h"
#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

namespace qandor {

// One row of 读者资料 as the reader editor sees it.
struct Reader {
    qint64 id = 0;            // 0 while not saved
    QString status = QStringLiteral("正常");
    QString number, name, sex, type;
    Money deposit;
    QString limitFlag = QStringLiteral("无");
    QDate endDay, birthDay, createDay;
    QString department, tel, email, address, memo;
    QByteArray photo;         // JPEG; empty: none
    // Kept by the desk (lending, top-up); the editor only reads them.
    bool prepaid = false;
    int loans = 0, quotaBought = 0, quotaLeft = 0, quotaUsed = 0;
};

// The password every save writes. Other parts of the system may rely on
// it; it is never shown.
inline QString defaultReaderPassword() { return QStringLiteral("tulm"); }

// The last day of a card issued on `base` for `months` months: the same
// day that many months later (clamped to the month's end) plus one day.
// 2024-01-31 + 1 month: 2024-02-29 + 1 day = 2024-03-01.
QDate readerValidityEnd(const QDate &base, int months);

// Deposit, validity flag and end day a type gives a reader issued on `base`.
// No such type: deposit 0, "无", no end day.
void applyTypeTerms(Reader &r, const std::optional<ReaderType> &type, const QDate &base);

// The status rule of a save. `readerPrepaid` is the row's 包租 flag,
// `typePrepaid` the type's.
QString statusOnSave(const QString &current, const QString &limitFlag, const QDate &endDay, const QDate &today,
                     bool readerPrepaid, bool typePrepaid);

struct ReaderCheckFailure {
    QString message;
    QString focus; // objectName of the editor
};

// The rules of the reader screens, without widgets.
class ReaderBook {
public:
    ReaderBook(TBast &bast, NumberRule numbering) : m_bast(bast), m_numbering(numbering) {}
    void setToday(const QDate &d) { m_today = d; }
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }
    TBast &bast() const { return m_bast; }
    const NumberRule &numbering() const { return m_numbering; }

    QStringList typeNames();
    QStringList departments(); // followed by "编辑"

    // A new reader: the proposed number (when numbering is on), "正常", today.
    Reader newReader();
    std::optional<QString> proposeNumber();

    // ApplyReaderType: nothing for an empty type text.
    void applyType(Reader &r);

    std::optional<ReaderCheckFailure> check(const Reader &r, bool adding, const QString &startNumber,
                                            const QStringList &typeItems);

    enum class SaveResult {
        Saved,
        Refused,    // a check failed (its message was shown)
        Collision,  // another desk took the number first; r.number is the offered one
        Failed,     // database error (shown)
    };
    // Checks, applies the status rule and writes the row in one
    // transaction (an edit goes by id and must find the row). The desk's
    // counters are never written here.
    SaveResult save(Reader &r, bool adding, const QString &startNumber, const QStringList &typeItems);

    std::optional<Reader> load(qint64 id);

    // "删除(&D)": empty check, confirmation, delete by id. Open loans are
    // refused: their books would stay lent to nobody.
    bool remove(const Reader *r);

private:
    TBast &m_bast;
    NumberRule m_numbering;
    QDate m_today;
};

} // namespace qandor
