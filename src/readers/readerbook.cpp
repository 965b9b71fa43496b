#include "readers/readerbook.h"
#include "readers/readerrows.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");
const QString Normal = QStringLiteral("正常");

QVariant dateOrNull(const QDate &d) { return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>()); }
QVariant textOrNull(const QString &s) { return s.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(s); }
} // namespace

QDate readerValidityEnd(const QDate &base, int months)
{
    // QDate::addMonths clamps to the last day of a shorter month.
    return base.addMonths(months).addDays(1);
}

void applyTypeTerms(Reader &r, const std::optional<ReaderType> &type, const QDate &base)
{
    if (!type) {
        r.deposit = Money();
        r.limitFlag = QStringLiteral("无");
        r.endDay = QDate();
        return;
    }
    r.deposit = type->deposit;
    r.limitFlag = type->limitFlag;
    if (type->limitFlag == QStringLiteral("有") && type->months >= 1)
        r.endDay = readerValidityEnd(base, type->months);
    else
        r.endDay = QDate();
}

QString statusOnSave(const QString &current, const QString &limitFlag, const QDate &endDay, const QDate &today,
                     bool readerPrepaid, bool typePrepaid)
{
    QString status = current;
    const bool unlimited = limitFlag.trimmed() == QStringLiteral("无");
    if (current != QStringLiteral("过期")) {
        if (unlimited)
            status = Normal;
    } else if (endDay.isValid() && today <= endDay && !readerPrepaid) {
        status = Normal;
    } else if (unlimited) {
        status = Normal;
    }
    // A prepaid type's reader without a quota waits for the first top-up.
    if (!readerPrepaid && typePrepaid)
        status = QStringLiteral("等待");
    return status;
}

QStringList ReaderBook::typeNames()
{
    QStringList list;
    m_bast.FillStringsBySql(list, QStringLiteral("select 类型名称 from 读者类型 order by 类型名称"));
    return list;
}

QStringList ReaderBook::departments()
{
    QStringList list;
    m_bast.FillEditableList(list, QStringLiteral("单位部门"), QStringLiteral("名称"));
    return list;
}

std::optional<QString> ReaderBook::proposeNumber()
{
    return proposeItemNumber(m_bast, NumberKind::Reader, m_numbering);
}

Reader ReaderBook::newReader()
{
    Reader r;
    if (const auto n = proposeNumber())
        r.number = *n;
    r.status = Normal;
    r.createDay = today();
    return r;
}

void ReaderBook::applyType(Reader &r)
{
    const QString type = r.type.trimmed();
    if (type.isEmpty())
        return;
    std::optional<ReaderType> t;
    try {
        t = ReaderTypeBook(m_bast).find(type);
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return;
    }
    applyTypeTerms(r, t, r.createDay.isValid() ? r.createDay : today());
}

std::optional<ReaderCheckFailure> ReaderBook::check(const Reader &r, bool adding, const QString &startNumber,
                                                    const QStringList &typeItems)
{
    const QString number = r.number.trimmed();
    if (number.isEmpty())
        return ReaderCheckFailure{QStringLiteral("读者编号不能为空值!"), QStringLiteral("R_NO")};
    if (r.name.trimmed().isEmpty())
        return ReaderCheckFailure{QStringLiteral("读者姓名不能为空值!"), QStringLiteral("R_Name")};
    if (r.type.trimmed().isEmpty())
        return ReaderCheckFailure{QStringLiteral("读者类型不能为空值!"), QStringLiteral("R_Type")};
    if (!typeItems.contains(r.type.trimmed()))
        return ReaderCheckFailure{QStringLiteral("当前选择的读者类型不存在，请从下拉表中选择正确的读者类型!"),
                                  QStringLiteral("R_Type")};
    if (adding || number != startNumber.trimmed()) {
        if (m_bast.ValueExists(QStringLiteral("读者资料"), QStringLiteral("编号"), number))
            return ReaderCheckFailure{QStringLiteral("当前输入的读者编号[") + number
                                          + QStringLiteral("]已被其他读者使用,请输入其他编号!"),
                                      QStringLiteral("R_NO")};
    }
    return std::nullopt;
}

ReaderBook::SaveResult ReaderBook::save(Reader &r, bool adding, const QString &startNumber, const QStringList &typeItems)
{
    Database &db = *m_bast.database();
    try {
        if (const auto failure = check(r, adding, startNumber, typeItems)) {
            m_bast.ShowMsg(failure->message, Warn);
            return SaveResult::Refused;
        }
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return SaveResult::Failed;
    }
    Reader w = r;
    w.number = r.number.trimmed();
    w.type = r.type.trimmed();
    if (w.department.trimmed() == QString::fromUtf8(TBast::EditEntry))
        w.department.clear();
    if (!w.createDay.isValid())
        w.createDay = today();
    try {
        const bool typePrepaid = ReaderTypeBook(m_bast).find(w.type).value_or(ReaderType()).prepaid;
        w.status = statusOnSave(w.status, w.limitFlag, w.endDay, today(), w.prepaid, typePrepaid);
        const QVariant photo = w.photo.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(w.photo);
        const QVariantList values{w.status,          w.number,           w.name,           textOrNull(w.sex),
                                  w.type,            QVariant::fromValue(w.deposit), w.limitFlag, dateOrNull(w.endDay),
                                  textOrNull(w.department), dateOrNull(w.birthDay), dateOrNull(w.createDay),
                                  textOrNull(w.tel), textOrNull(w.email), textOrNull(w.address), textOrNull(w.memo),
                                  photo,             defaultReaderPassword()};
        Transaction tx(db);
        if (adding) {
            w.id = db.insertReturningId(
                QStringLiteral("insert into 读者资料 (状态,编号,姓名,性别,类型,押金,有效期限制,截止日期,单位部门,出生日期,"
                               "办证日期,联系电话,电子邮箱,联系地址,备注信息,照片,密码) "
                               "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                values, QStringLiteral("ID"));
        } else {
            QVariantList binds = values;
            binds << w.id;
            const int n = db.execAffected(
                QStringLiteral("update 读者资料 set 状态=?,编号=?,姓名=?,性别=?,类型=?,押金=?,有效期限制=?,截止日期=?,"
                               "单位部门=?,出生日期=?,办证日期=?,联系电话=?,电子邮箱=?,联系地址=?,备注信息=?,照片=?,"
                               "密码=? where ID=?"),
                binds, "ReaderBook::save");
            if (n != 1) {
                m_bast.ShowMsg(QStringLiteral("当前读者信息已被其他操作员删除，无法保存!"), Warn);
                return SaveResult::Failed;
            }
        }
        tx.commit();
        r = w;
        return SaveResult::Saved;
    } catch (const DbError &e) {
        // Another desk may have saved the same number since the check.
        if (adding) {
            const auto offer = numberAfterCollision(m_bast, NumberKind::Reader, w.number, m_numbering.length);
            if (offer) {
                m_bast.ShowMsg(collisionMessage(w.number, *offer), Warn);
                r.number = *offer;
                return SaveResult::Collision;
            }
        } else if (w.number != startNumber.trimmed()) {
            try {
                if (m_bast.ValueExists(QStringLiteral("读者资料"), QStringLiteral("编号"), w.number)) {
                    m_bast.ShowMsg(QStringLiteral("当前输入的读者编号[") + w.number
                                       + QStringLiteral("]已被其他读者使用,请输入其他编号!"),
                                   Warn);
                    return SaveResult::Refused;
                }
            } catch (const DbError &) {
            }
        }
        m_bast.ShowDbError(e);
        return SaveResult::Failed;
    }
}

std::optional<Reader> ReaderBook::load(qint64 id)
{
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select * from 读者资料 where ID=?"), {id}, "ReaderBook::load");
        if (!q.next())
            return std::nullopt;
        const QSqlRecord rec = q.record();
        auto v = [&](const char *n) { return rec.value(QString::fromUtf8(n)); };
        Reader r;
        r.id = v("ID").toLongLong();
        r.status = v("状态").toString().trimmed();
        r.number = v("编号").toString().trimmed();
        r.name = v("姓名").toString();
        r.sex = v("性别").toString();
        r.type = v("类型").toString().trimmed();
        r.deposit = Money::fromVariant(v("押金"));
        r.limitFlag = v("有效期限制").toString().trimmed();
        r.endDay = toDate(v("截止日期"));
        r.department = v("单位部门").toString();
        r.birthDay = toDate(v("出生日期"));
        r.createDay = toDate(v("办证日期"));
        r.tel = v("联系电话").toString();
        r.email = v("电子邮箱").toString();
        r.address = v("联系地址").toString();
        r.memo = v("备注信息").toString();
        r.photo = v("照片").toByteArray();
        r.prepaid = toBool(v("包租"));
        r.loans = v("借阅次数").toInt();
        r.quotaBought = v("当前包租量").toInt();
        r.quotaLeft = v("当前可用量").toInt();
        r.quotaUsed = v("当前已用量").toInt();
        return r;
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
}

bool ReaderBook::remove(const Reader *r)
{
    if (!r) {
        m_bast.ShowMsg(QStringLiteral("当前读者信息数据为空,没有可以删除的对象!"), Warn);
        return false;
    }
    if (!m_bast.AskMsg(QStringLiteral("是否确定要删除当前选中的读者编号为:[") + r->number + QStringLiteral("]的读者信息?"),
                       QStringLiteral("yes")))
        return false;
    return ReaderRows::removeOne(m_bast, QStringLiteral("delete from 读者资料 where ID=?"), {r->id}, "ReaderBook::remove",
                                 QStringLiteral("当前读者信息已被其他操作员删除!"), [&](Database &db) {
                                     const int open = ReaderRows::openLoans(db, QStringLiteral("读者编号"), r->number,
                                                                            "ReaderBook::remove");
                                     if (open > 0) {
                                         m_bast.ShowMsg(QStringLiteral("读者[") + r->number + QStringLiteral("]还有")
                                                            + QString::number(open)
                                                            + QStringLiteral("册图书期刊未归还，不能删除！"),
                                                        Warn);
                                         return false;
                                     }
                                     return true;
                                 });
}

} // namespace qandor
