#include "readers/readertypes.h"
#include "readers/readerrows.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace qandor {

namespace {
const QString Warn = QStringLiteral("warn");

QVariant money(Money m) { return QVariant::fromValue(m); }
} // namespace

ReaderType ReaderTypeBook::fromQuery(const QSqlQuery &q) const
{
    const QSqlRecord r = q.record();
    auto v = [&](const char *name) { return r.value(QString::fromUtf8(name)); };
    ReaderType t;
    t.id = v("ID").toLongLong();
    t.name = v("类型名称").toString().trimmed();
    t.deposit = Money::fromVariant(v("办证押金"));
    t.bookCount = v("图书可借数量").toInt();
    t.bookDays = v("图书可借天数").toInt();
    t.bookRent = Money::fromVariant(v("图书每日租金"));
    t.bookFine = Money::fromVariant(v("图书超期罚金"));
    t.magazineCount = v("期刊可借数量").toInt();
    t.magazineDays = v("期刊可借天数").toInt();
    t.magazineRent = Money::fromVariant(v("期刊每日租金"));
    t.magazineFine = Money::fromVariant(v("期刊超期罚金"));
    t.limitFlag = v("期限限制").toString().trimmed();
    t.months = v("有效期限").toInt();
    t.prepaid = toBool(v("包租"));
    t.prepaidPrice = Money::fromVariant(v("包租金"));
    t.prepaidQuota = v("包租量").toInt();
    return t;
}

QList<ReaderType> ReaderTypeBook::loadAll()
{
    QList<ReaderType> out;
    try {
        QSqlQuery q = m_bast.database()->exec(listSql(), {}, "ReaderTypeBook::loadAll");
        while (q.next())
            out << fromQuery(q);
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        out.clear();
    }
    return out;
}

std::optional<ReaderType> ReaderTypeBook::find(const QString &name)
{
    QSqlQuery q = m_bast.database()->exec(QStringLiteral("select * from 读者类型 where 类型名称=?"), {name.trimmed()},
                                          "ReaderTypeBook::find");
    if (!q.next())
        return std::nullopt;
    return fromQuery(q);
}

std::optional<TypeCheckFailure> ReaderTypeBook::check(const ReaderType &t, bool adding, const QString &originalName)
{
    const QString name = t.name.trimmed();
    if (name.isEmpty())
        return TypeCheckFailure{QStringLiteral("类型名称不能为空值!"), QStringLiteral("TypeName")};
    // A rename is tested too: the name is the key readers and loans use.
    if (adding || name != originalName.trimmed()) {
        if (m_bast.ValueExists(QStringLiteral("读者类型"), QStringLiteral("类型名称"), name))
            return TypeCheckFailure{QStringLiteral("当前输入的类型名称已存在，请输入其他名称!"), QStringLiteral("TypeName")};
    }
    if (t.bookCount <= 0)
        return TypeCheckFailure{QStringLiteral("图书可借数量不能小于1!"), QStringLiteral("BRN_limit")};
    if (t.bookDays <= 0)
        return TypeCheckFailure{QStringLiteral("图书可借天数不能小于1!"), QStringLiteral("BRD_limit")};
    if (t.magazineCount <= 0)
        return TypeCheckFailure{QStringLiteral("期刊可借数量不能小于1!"), QStringLiteral("MRN_limit")};
    if (t.magazineDays <= 0)
        return TypeCheckFailure{QStringLiteral("期刊可借天数不能小于1!"), QStringLiteral("MRD_limit")};
    if (!limitItems().contains(t.limitFlag))
        return TypeCheckFailure{QStringLiteral("有效期限限制数据输入不合法,您可以直接从下拉框中选择相应数据!"),
                                QStringLiteral("LimitFlag")};
    if (t.limitFlag == QStringLiteral("有") && t.months <= 0)
        return TypeCheckFailure{QStringLiteral("当前有效期不能为零或者小于零的值，请检查有效期值是否合法!"),
                                QStringLiteral("TimeLimit")};
    if (t.prepaid && t.prepaidPrice <= Money())
        return TypeCheckFailure{QStringLiteral("当前包租金不能为零或者小于零的值，请检查包租金是否合法!"),
                                QStringLiteral("FixedRent")};
    if (t.prepaid && t.prepaidQuota <= 0)
        return TypeCheckFailure{QStringLiteral("当前包租量不能为零或者小于零的值，请检查包租量是否合法!"),
                                QStringLiteral("FixedNum")};
    return std::nullopt;
}

bool ReaderTypeBook::save(ReaderType &t, bool adding, const QString &originalName)
{
    Database &db = *m_bast.database();
    try {
        if (const auto failure = check(t, adding, originalName)) {
            m_bast.ShowMsg(failure->message, Warn);
            return false;
        }
        t.name = t.name.trimmed();
        if (t.limitFlag == QStringLiteral("无"))
            t.months = 0;
        const QVariantList values{t.name,          money(t.deposit),      t.bookCount,          t.bookDays,
                                  money(t.bookRent), money(t.bookFine),   t.magazineCount,      t.magazineDays,
                                  money(t.magazineRent), money(t.magazineFine), t.limitFlag,    t.months,
                                  t.prepaid,       money(t.prepaidPrice), t.prepaidQuota};
        const QString columns = QStringLiteral("类型名称,办证押金,图书可借数量,图书可借天数,图书每日租金,图书超期罚金,"
                                               "期刊可借数量,期刊可借天数,期刊每日租金,期刊超期罚金,期限限制,有效期限,"
                                               "包租,包租金,包租量");
        Transaction tx(db);
        if (adding) {
            t.id = db.insertReturningId(QStringLiteral("insert into 读者类型 (") + columns
                                            + QStringLiteral(") values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                                        values, QStringLiteral("ID"));
        } else {
            QVariantList binds = values;
            binds << t.id << originalName.trimmed();
            // By id and the name the editor started from: a type another
            // desk renamed or deleted meanwhile is not overwritten blindly.
            const int n = db.execAffected(
                QStringLiteral("update 读者类型 set 类型名称=?,办证押金=?,图书可借数量=?,图书可借天数=?,图书每日租金=?,"
                               "图书超期罚金=?,期刊可借数量=?,期刊可借天数=?,期刊每日租金=?,期刊超期罚金=?,"
                               "期限限制=?,有效期限=?,包租=?,包租金=?,包租量=? where ID=? and 类型名称=?"),
                binds, "ReaderTypeBook::save");
            if (n != 1) {
                m_bast.ShowMsg(QStringLiteral("当前读者类型已被其他操作员修改或删除，请刷新列表后重试!"), Warn);
                return false;
            }
            if (t.name != originalName.trimmed()) {
                const QVariantList rename{t.name, originalName.trimmed()};
                db.exec(QStringLiteral("update 读者资料 set 类型=? where 类型=?"), rename, "ReaderTypeBook::rename");
                db.exec(QStringLiteral("update 图书借阅信息 set 读者类型=? where 读者类型=? and 状态='未还'"), rename,
                        "ReaderTypeBook::rename");
                db.exec(QStringLiteral("update 期刊借阅信息 set 读者类型=? where 读者类型=? and 状态='未还'"), rename,
                        "ReaderTypeBook::rename");
            }
        }
        tx.commit();
        return true;
    } catch (const DbError &e) {
        if (adding || t.name != originalName.trimmed()) {
            // Another desk may have saved the same name in between: say so
            // plainly rather than with the database's text.
            try {
                if (m_bast.ValueExists(QStringLiteral("读者类型"), QStringLiteral("类型名称"), t.name)) {
                    m_bast.ShowMsg(QStringLiteral("当前输入的类型名称已存在，请输入其他名称!"), Warn);
                    return false;
                }
            } catch (const DbError &) {
            }
        }
        m_bast.ShowDbError(e);
        return false;
    }
}

bool ReaderTypeBook::remove(const ReaderType *t)
{
    if (!t) {
        m_bast.ShowMsg(QStringLiteral("当前读者类型数据为空,没有可以删除的对象!"), Warn);
        return false;
    }
    if (!m_bast.AskMsg(QStringLiteral("是否确定要删除当前选中的类型名称为:[") + t->name + QStringLiteral("]的读者类型数据?"),
                       QStringLiteral("yes")))
        return false;
    return ReaderRows::removeOne(
        m_bast, QStringLiteral("delete from 读者类型 where ID=? and 类型名称=?"), {t->id, t->name}, "ReaderTypeBook::remove",
        QStringLiteral("当前读者类型已被其他操作员修改或删除，请刷新列表后重试!"), [&](Database &db) {
            const int readers = db.scalar(QStringLiteral("select count(*) from 读者资料 where 类型=?"), {t->name},
                                          "ReaderTypeBook::remove").toInt();
            const int loans = ReaderRows::openLoans(db, QStringLiteral("读者类型"), t->name, "ReaderTypeBook::remove");
            if (readers > 0 || loans > 0) {
                m_bast.ShowMsg(QStringLiteral("当前读者类型[") + t->name + QStringLiteral("]仍有") + QString::number(readers)
                                   + QStringLiteral("位读者、") + QString::number(loans)
                                   + QStringLiteral("笔未还借阅在使用，不能删除！请先将这些读者改为其他类型。"),
                               Warn);
                return false;
            }
            return true;
        });
}

} // namespace qandor
