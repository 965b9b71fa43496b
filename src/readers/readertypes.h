#pragma once
#include "data/money.h"
#include "data/tbast.h"
#include <QList>
#include <QString>
#include <optional>

namespace qandor {

// One row of 读者类型: the lending terms of a class of readers.
struct ReaderType {
    qint64 id = 0;            // 0 while not saved
    QString name;             // 类型名称
    Money deposit;            // 办证押金
    int bookCount = 0;        // 图书可借数量
    int bookDays = 0;         // 图书可借天数
    Money bookRent;           // 图书每日租金
    Money bookFine;           // 图书超期罚金
    int magazineCount = 0;    // 期刊可借数量
    int magazineDays = 0;     // 期刊可借天数
    Money magazineRent;       // 期刊每日租金
    Money magazineFine;       // 期刊超期罚金
    QString limitFlag = QStringLiteral("无"); // 期限限制: "无" or "有"
    int months = 0;           // 有效期限
    bool prepaid = false;     // 包租
    Money prepaidPrice;       // 包租金
    int prepaidQuota = 0;     // 包租量
};

// The first failed check of the type editor: the message (warn) and the
// objectName of the editor that gets the focus.
struct TypeCheckFailure {
    QString message;
    QString focus;
};

// The rules of the reader type screens, without widgets. Messages and
// questions go through bast; database errors are shown through bast and
// leave the data as it was.
class ReaderTypeBook {
public:
    explicit ReaderTypeBook(TBast &bast) : m_bast(bast) {}

    static QString listSql() { return QStringLiteral("select * from 读者类型 order by 图书可借数量 desc "); }
    static QStringList limitItems() { return {QStringLiteral("无"), QStringLiteral("有")}; }

    // Every type in list order; empty (after showing the error) on failure.
    QList<ReaderType> loadAll();
    // The type of that name (trimmed), if any. Throws DbError.
    std::optional<ReaderType> find(const QString &name);

    // The editor's checks in order. `adding` enables the name test against
    // existing rows; `originalName` is the name the edited row had.
    std::optional<TypeCheckFailure> check(const ReaderType &t, bool adding, const QString &originalName = {});

    // Checks, then writes the type in one transaction. Editing goes by id
    // and checks the row is still there; a new name is carried over to the
    // readers of the type and to their open loans, so they keep finding
    // their terms. True when written; t.id is set for a new row.
    bool save(ReaderType &t, bool adding, const QString &originalName = {});

    // "删除选中类型(&D)": the confirmation, then the delete. A type still
    // carried by readers or open loans is not deleted (they would no
    // longer find their terms). `t` null: the list is empty.
    bool remove(const ReaderType *t);

private:
    ReaderType fromQuery(const QSqlQuery &q) const;
    TBast &m_bast;
};

} // namespace qandor
