#pragma once

#include "data/money.h"
#include "support/testdb.h"

#include <QDate>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace qandor::test {

inline QDate day(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }
inline Money yuan(const char *text) { return *Money::parse(QString::fromLatin1(text)); }

// Reader types, readers, copies and loans for the desk tests, written
// straight into the delivered schema.
struct DeskFixture {
    explicit DeskFixture(TestDb &t) : t(t) { t.createDelivered(); }
    TestDb &t;
    Database &db() { return t.db(); }

    struct Type {
        QString name;
        int limit = 3;
        int days = 30;
        Money rent, fine;
        bool prepaid = false;
        Money price;
        int quota = 0;
        int months = 0;
    };
    void addType(const Type &ty)
    {
        db().exec(QStringLiteral("insert into 读者类型 (类型名称,图书可借数量,图书可借天数,图书每日租金,图书超期罚金,期限限制,有效期限,"
                                 "包租,包租金,包租量) values (?,?,?,?,?,?,?,?,?,?)"),
                  {ty.name, ty.limit, ty.days, QVariant::fromValue(ty.rent), QVariant::fromValue(ty.fine),
                   ty.prepaid ? QStringLiteral("有") : QStringLiteral("无"), ty.months, ty.prepaid, QVariant::fromValue(ty.price),
                   ty.quota});
    }

    struct Reader {
        QString number, name, type;
        QString status = QStringLiteral("正常");
        QString sex = QStringLiteral("男");
        bool prepaid = false;
        int quotaBought = 0, quotaLeft = 0;
        Money deposit;
    };
    void addReader(const Reader &r)
    {
        db().exec(QStringLiteral("insert into 读者资料 (编号,姓名,性别,类型,状态,包租,当前包租量,当前可用量,当前已用量,押金,借阅次数) "
                                 "values (?,?,?,?,?,?,?,?,?,?,0)"),
                  {r.number, r.name, r.sex, r.type, r.status, r.prepaid, r.quotaBought, r.quotaLeft, r.quotaBought - r.quotaLeft,
                   QVariant::fromValue(r.deposit)});
    }
    // A valid top-up record in step with the reader's counters.
    void addTopUp(const QString &reader, int bought, int left)
    {
        db().exec(QStringLiteral("insert into 包租充值 (状态,读者编号,包租量,可用量,已用量) values (?,?,?,?,?)"),
                  {QStringLiteral("有效"), reader, bought, left, bought - left});
    }

    void addBook(const QString &number, const QString &title, const QString &isbn = QString(),
                 const QString &status = QStringLiteral("在馆"), const QString &isbn13 = QString())
    {
        db().exec(QStringLiteral("insert into 图书资料 (图书编号,图书名称,标准ISBN,ISBN,分类名,状态,借出次数) values (?,?,?,?,?,?,0)"),
                  {number, title, isbn, isbn13, QStringLiteral("文学"), status});
    }

    // An open loan written as the lending desk writes it; the copy is marked lent.
    void addOpenLoan(const QString &reader, const QString &type, const QString &book, const QDate &lent, const QDate &due)
    {
        db().exec(QStringLiteral("insert into 图书借阅信息 (状态,读者类型,读者编号,姓名,性别,图书编号,图书名称,借出日期,应还日期,操作员) "
                                 "values (?,?,?,?,?,?,?,?,?,?)"),
                  {QStringLiteral("未还"), type, reader, QString(QStringLiteral("读者") + reader), QStringLiteral("男"), book,
                   QString(QStringLiteral("书") + book), lent, due, QStringLiteral("管理员")});
        db().exec(QStringLiteral("update 图书资料 set 状态=? where 图书编号=?"), {QStringLiteral("借出"), book});
    }

    void addReservation(const QString &reader, const QString &book, const QString &kind = QStringLiteral("图书"),
                        const QString &status = QStringLiteral("有效"))
    {
        db().exec(QStringLiteral("insert into 预定记录 (读者编号,书籍编号,类型,状态) values (?,?,?,?)"), {reader, book, kind, status});
    }

    QVariant value(const QString &sql, const QVariantList &binds = {}) { return db().scalar(sql, binds); }
    int count(const QString &sql, const QVariantList &binds = {}) { return db().scalar(sql, binds).toInt(); }
    QString text(const QString &sql, const QVariantList &binds = {}) { return db().scalar(sql, binds).toString().trimmed(); }
    Money money(const QString &sql, const QVariantList &binds = {}) { return Money::fromVariant(db().scalar(sql, binds)); }
    QDate date(const QString &sql, const QVariantList &binds = {}) { return toDate(db().scalar(sql, binds)); }

    QString bookStatus(const QString &book) { return text(QStringLiteral("select 状态 from 图书资料 where 图书编号=?"), {book}); }
    QString readerStatus(const QString &reader) { return text(QStringLiteral("select 状态 from 读者资料 where 编号=?"), {reader}); }
    int openLoans(const QString &reader)
    {
        return count(QStringLiteral("select count(*) from 图书借阅信息 where 状态='未还' and 读者编号=?"), {reader});
    }
    int loanRows() { return count(QStringLiteral("select count(*) from 图书借阅信息")); }
};

// A second desk on a connection of its own ("二号台"), for the races
// between two desks. Check ok() before use.
template <class Desk>
struct OtherDesk {
    explicit OtherDesk(TestDb &t, const QDate &today = QDate())
        : db(t.openSecondConnection()), bast(db.get(), &sink), desk(bast, QStringLiteral("二号台"))
    {
        if (today.isValid())
            desk.setToday(today);
    }
    bool ok() const { return db != nullptr; }

    std::unique_ptr<Database> db;
    RecordingSink sink;
    TBast bast;
    Desk desk;
};

} // namespace qandor::test
