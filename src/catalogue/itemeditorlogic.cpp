#include "catalogue/itemeditorlogic.h"

namespace qandor {

ItemEditorLogic::ItemEditorLogic(TBast &bast, NumberRule rule, const ItemEditorTable &table)
    : m_bast(bast), m_rule(rule), m_table(table)
{
}

std::optional<QString> ItemEditorLogic::nextNumber() { return proposeItemNumber(m_bast, m_table.kind, m_rule); }

bool ItemEditorLogic::beginAdd()
{
    m_addMode = true;
    m_editId = 0;
    record.clear();
    for (const QString &c : m_table.columns)
        record.insert(c, EditorRecords::emptyValue(c));
    bool numbered = false;
    if (m_rule.autoOn) {
        if (const auto n = nextNumber(); n && !n->isEmpty()) {
            record.insert(m_table.numCol, *n);
            numbered = true;
        }
    }
    record.insert(QStringLiteral("入库时间"), m_today);
    return numbered;
}

bool ItemEditorLogic::beginEdit(qint64 id)
{
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + m_table.selectList + QStringLiteral(" from ")
                                                  + m_table.table + QStringLiteral(" where ID=?"),
                                              {id}, m_table.where);
        if (!q.next()) {
            m_bast.ShowMsg(QStringLiteral("当前选中的") + m_table.noun + QStringLiteral("已不存在，可能已被其他操作员删除！"),
                           QStringLiteral("warn"));
            return false;
        }
        record = EditorRecords::readRow(q, m_table.columns);
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    m_addMode = false;
    m_editId = id;
    return true;
}

void ItemEditorLogic::numberLeft()
{
    if (!m_addMode || !m_rule.autoOn || !EditorRecords::text(record, m_table.numCol).trimmed().isEmpty())
        return;
    if (const auto n = nextNumber(); n && !n->isEmpty())
        record.insert(m_table.numCol, *n);
}

void ItemEditorLogic::copyFromRow(const EditorRecord &row, const QStringList &cols)
{
    for (const QString &c : cols)
        record.insert(c, row.value(c, EditorRecords::emptyValue(c)));
}

std::optional<EditorRecord> ItemEditorLogic::offerRecall(const QString &condition, const QVariantList &values,
                                                         const char *where, const QString &question)
{
    EditorRecord row;
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + m_table.selectList + QStringLiteral(" from ")
                                                  + m_table.table + QStringLiteral(" where ") + condition
                                                  + QStringLiteral(" order by ID desc"),
                                              values, where);
        if (!q.next())
            return std::nullopt;
        row = EditorRecords::readRow(q, m_table.columns);
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return std::nullopt;
    }
    if (!m_bast.AskMsg(question, QStringLiteral("yes")))
        return std::nullopt;
    return row;
}

bool ItemEditorLogic::CopyPrior()
{
    // Nothing saved yet in this editor: restoring would only wipe the fields.
    if (!m_addMode || !m_previous)
        return false;
    copyFromRow(*m_previous, m_table.previous);
    return true;
}

bool ItemEditorLogic::clearPicture()
{
    if (!hasPicture()) {
        m_bast.ShowMsg(QStringLiteral("当前图片已经为已经为空！"), QStringLiteral("warn"));
        return false;
    }
    setPicture(QByteArray());
    return true;
}

bool ItemEditorLogic::save()
{
    m_savedIds.clear();
    record.insert(m_table.numCol, EditorRecords::text(record, m_table.numCol).trimmed());
    if (EditorRecords::text(record, m_table.numCol).isEmpty()) {
        m_bast.ShowMsg(m_table.noun + QStringLiteral("编号不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    if (EditorRecords::text(record, m_table.titleCol).trimmed().isEmpty()) {
        m_bast.ShowMsg(m_table.noun + QStringLiteral("名称不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    completeRecord();
    const QList<EditorRecord> rows = rowsToSave();
    if (rows.isEmpty() || !writeRows(rows))
        return false;
    EditorRecord prev;
    for (const QString &c : m_table.previous)
        prev.insert(c, record.value(c));
    m_previous = prev;
    return true;
}

bool ItemEditorLogic::writeRows(const QList<EditorRecord> &rows)
{
    Database &db = *m_bast.database();
    const QStringList &cols = m_table.columns;
    const QString dbCols = m_table.dbColumns.join(QLatin1Char(','));
    QString taken;
    try {
        for (const EditorRecord &r : rows) {
            const QString num = EditorRecords::text(r, m_table.numCol);
            const int same = db.scalar(QStringLiteral("select count(*) from ") + m_table.table + QStringLiteral(" where ")
                                           + m_table.numCol + QStringLiteral("=? and ID<>?"),
                                       {num, m_addMode ? qint64(-1) : m_editId}, m_table.saveWhere)
                                 .toInt();
            if (same > 0) {
                m_bast.ShowMsg(m_table.noun + QStringLiteral("编号为[") + num + QStringLiteral("]的") + m_table.noun
                                   + QStringLiteral("已经存在，请重新输入！"),
                               QStringLiteral("warn"));
                return false;
            }
        }
        Transaction tx(db);
        for (const EditorRecord &r : rows) {
            QVariantList values;
            for (const QString &c : cols)
                values << EditorRecords::toDb(c, r.value(c));
            taken = EditorRecords::text(r, m_table.numCol);
            if (m_addMode) {
                values << QStringLiteral("在馆") << 0;
                m_savedIds << db.insertReturningId(QStringLiteral("insert into ") + m_table.table + QStringLiteral(" (")
                                                       + dbCols + QStringLiteral(",状态,借出次数) values (")
                                                       + QStringLiteral("?,").repeated(cols.size() + 1) + QStringLiteral("?)"),
                                                   values, QStringLiteral("ID"));
            } else {
                values << m_editId;
                const int n = db.execAffected(QStringLiteral("update ") + m_table.table + QStringLiteral(" set ")
                                                  + m_table.dbColumns.join(QStringLiteral("=?,")) + QStringLiteral("=? where ID=?"),
                                              values, m_table.saveWhere);
                if (n != 1) {
                    m_bast.ShowMsg(QStringLiteral("当前") + m_table.noun
                                       + QStringLiteral("已不存在，可能已被其他操作员删除，修改未能保存！"),
                                   QStringLiteral("warn"));
                    return false;
                }
                m_savedIds << m_editId;
            }
        }
        tx.commit();
    } catch (const DbError &e) {
        m_savedIds.clear();
        if (m_addMode) {
            std::optional<QString> offered;
            try {
                offered = numberAfterCollision(m_bast, m_table.kind, taken, m_rule.length);
            } catch (const DbError &) {
            }
            if (offered) {
                // Another desk took the number meanwhile; offer the next free one.
                record.insert(m_table.numCol, *offered);
                m_bast.ShowMsg(collisionMessage(taken, *offered), QStringLiteral("warn"));
                return false;
            }
        }
        m_bast.ShowDbError(e);
        return false;
    }
    return true;
}

} // namespace qandor
