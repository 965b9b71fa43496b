#include "app/sysparameterset.h"
#include "app/hub.h"
#include "app/hubservices.h"

namespace qandor {

namespace {
const QString Section = QStringLiteral("SYSPARAMETER");
const QString OnExitKey = QStringLiteral("BACKUPONEXIT");
const QString PathKey = QStringLiteral("BACKUPPATH");

QVariantList fieldBinds(const SysParameterValues &v)
{
    return {v.readerAuto, v.readerLength, v.bookAuto, v.bookLength, v.magazineAuto, v.magazineLength,
            v.bookOverdueWarn, v.magazineOverdueWarn, v.pageSize};
}
const QString FieldColumns = QStringLiteral("AutoCreateReaderNum,R_Length,AutoCreateBookNum,B_Length,AutoCreateMagazineNum,M_Length,"
                                            "AutoBookOutTimeWarn,AutoMagazineOutTimeWarn,PageSize");

// A new row: the fields above plus empty marks and the card texts, so the
// cards keep their default heading.
qint64 insertRow(Database &db, const SysParameterValues &v)
{
    QVariantList binds = fieldBinds(v);
    binds << QString() << QString() << QString() << QString() << QString() << QString() << Schema::DefaultCardTitle
          << Schema::defaultCardBackInfor();
    return db.insertReturningId(QStringLiteral("insert into SysParameter (") + FieldColumns
                                    + QStringLiteral(",R_FrontMark,R_BehindMark,B_FrontMark,B_BehindMark,M_FrontMark,M_BehindMark,"
                                                     "CardTitle,CardBackInfor) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                                binds, QStringLiteral("ID"));
}
} // namespace

SysParameterValues SysParameterSetLogic::load()
{
    SysParameterValues v;
    m_rowId = QVariant();
    Database &db = *m_hub.db();
    try {
        QSqlQuery q = db.exec(QStringLiteral("select ID,") + FieldColumns + QStringLiteral(" from SysParameter order by ID")
                                  + db.dialect().limit(1),
                              {}, "SysParameterSetLogic::load");
        if (q.next()) {
            m_rowId = q.value(0);
            v.readerAuto = toBool(q.value(1));
            v.readerLength = q.value(2).toInt();
            v.bookAuto = toBool(q.value(3));
            v.bookLength = q.value(4).toInt();
            v.magazineAuto = toBool(q.value(5));
            v.magazineLength = q.value(6).toInt();
            v.bookOverdueWarn = toBool(q.value(7));
            v.magazineOverdueWarn = toBool(q.value(8));
            v.pageSize = q.value(9).toInt();
            v.backupOnExit = m_hub.IniIo.ReadBool(Section, OnExitKey);
        } else {
            q.finish();
            // No row yet: lay one with the defaults and switch the exit backup on.
            v = SysParameterValues{};
            m_hub.IniIo.WriteBool(Section, OnExitKey, true);
            v.backupOnExit = true;
            m_rowId = insertRow(db, v);
        }
    } catch (const DbError &e) {
        m_rowId = QVariant();
        m_hub.Bast1.messageSink()->showError(
            QStringLiteral("数据打开时发生错误，可能是由于数据文件以独占方式打开或者数据库文件已经损坏所造成！"), e.details());
    }
    const QString path = m_hub.IniIo.ReadString(Section, PathKey);
    v.backupPath = isNoPath(path) ? m_hub.g.BackupPath : path;
    return v;
}

SysParameterSetLogic::SaveResult SysParameterSetLogic::save(const SysParameterValues &v)
{
    // Checked before anything is written, so "取消退出" after the warning leaves set.ini as it was.
    if (v.backupOnExit && v.backupPath.trimmed().isEmpty()) {
        m_hub.Bast1.ShowMsg(QStringLiteral("请选择数据备份路径!"), QStringLiteral("warn"));
        return SaveResult::PathMissing;
    }
    const QString failed = QStringLiteral("数据保存时发生错误，请检查数据输入是否合法！");
    Database &db = *m_hub.db();
    try {
        Transaction tx(db);
        int changed = 0;
        if (m_rowId.isValid()) {
            QVariantList binds = fieldBinds(v);
            binds << m_rowId;
            changed = db.execAffected(QStringLiteral("update SysParameter set AutoCreateReaderNum=?,R_Length=?,AutoCreateBookNum=?,"
                                                     "B_Length=?,AutoCreateMagazineNum=?,M_Length=?,AutoBookOutTimeWarn=?,"
                                                     "AutoMagazineOutTimeWarn=?,PageSize=? where ID=?"),
                                      binds, "SysParameterSetLogic::save");
        }
        // The row could not be laid on show, or another desk removed it.
        if (changed == 0)
            m_rowId = insertRow(db, v);
        tx.commit();
        LoadSysParameter(db, m_hub.sysParams);
    } catch (const DbError &e) {
        m_hub.Bast1.messageSink()->showError(failed, e.details());
        return SaveResult::Failed;
    }
    try {
        m_hub.IniIo.WriteBool(Section, OnExitKey, v.backupOnExit);
        if (!isNoPath(v.backupPath))
            m_hub.IniIo.WriteString(Section, PathKey, v.backupPath.trimmed());
    } catch (const IniError &e) {
        m_hub.Bast1.messageSink()->showError(failed, e.message());
        return SaveResult::Failed;
    }
    if (!isNoPath(v.backupPath))
        m_hub.g.BackupPath = v.backupPath.trimmed();
    m_hub.Bast1.ShowMsg(QStringLiteral("数据保存成功！"), QStringLiteral("ok"));
    return SaveResult::Saved;
}

} // namespace qandor
