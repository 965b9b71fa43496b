#include "catalogue/magazineeditorlogic.h"

namespace qandor {

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }
const QString NumCol = QStringLiteral("期刊编号");
const QString TitleCol = QStringLiteral("期刊名称");
const QString IssnCol = QStringLiteral("标准ISSN");
const QString PicCol = QStringLiteral("图片");

QStringList list(std::initializer_list<const char *> names)
{
    QStringList l;
    for (const char *c : names)
        l << s(c);
    return l;
}
} // namespace

MagazineEditorLogic::MagazineEditorLogic(TBast &bast, NumberRule rule) : m_bast(bast), m_rule(rule) {}

const QStringList &MagazineEditorLogic::columns()
{
    static const QStringList cols = list({"期刊编号", "期刊名称", "标准ISSN", "分类号", "分类名", "刊次", "总刊次", "主编信息",
                                          "定价", "出版社", "出版地", "出版日期", "密级", "存放位置", "入库时间", "刊期类别",
                                          "页码", "开本", "语种", "配送物品", "备注信息", "印刷版面", "图片", "ISSN"});
    return cols;
}

const QStringList &MagazineEditorLogic::previousColumns()
{
    static const QStringList cols = list({"期刊名称", "标准ISSN", "ISSN", "刊期类别", "刊次", "总刊次", "分类号", "分类名",
                                          "主编信息", "定价", "出版社", "出版地", "出版日期", "密级", "存放位置", "入库时间",
                                          "页码", "开本", "语种", "配送物品", "备注信息"});
    return cols;
}

QString MagazineEditorLogic::dbColumn(const QString &column)
{
    return column == IssnCol ? QStringLiteral("标准ISBN") : column;
}

QString MagazineEditorLogic::selectList() const
{
    QStringList l;
    for (const QString &c : columns())
        l << (c == IssnCol ? QStringLiteral("标准ISBN as 标准ISSN") : c);
    return l.join(QLatin1Char(','));
}

bool MagazineEditorLogic::beginAdd()
{
    m_addMode = true;
    m_editId = 0;
    record.clear();
    for (const QString &c : columns())
        record.insert(c, EditorRecords::emptyValue(c));
    bool numbered = false;
    if (m_rule.autoOn) {
        if (auto n = proposeItemNumber(m_bast, NumberKind::Magazine, m_rule)) {
            record.insert(NumCol, *n);
            numbered = true;
        }
    }
    record.insert(QStringLiteral("入库时间"), m_today);
    return numbered;
}

bool MagazineEditorLogic::beginEdit(qint64 id)
{
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + selectList() + QStringLiteral(" from 期刊资料 where ID=?"),
                                              {id}, "MagazineEditor");
        if (!q.next()) {
            m_bast.ShowMsg(QStringLiteral("当前选中的期刊已不存在，可能已被其他操作员删除！"), QStringLiteral("warn"));
            return false;
        }
        record = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    m_addMode = false;
    m_editId = id;
    return true;
}

void MagazineEditorLogic::magazineNoLeft()
{
    if (!m_addMode || !m_rule.autoOn || !EditorRecords::text(record, NumCol).trimmed().isEmpty())
        return;
    if (auto n = proposeItemNumber(m_bast, NumberKind::Magazine, m_rule))
        record.insert(NumCol, *n);
}

void MagazineEditorLogic::copyFromRow(const EditorRecord &row, const QStringList &cols)
{
    for (const QString &c : cols)
        record.insert(c, row.value(c, EditorRecords::emptyValue(c)));
}

namespace {
// The columns both recalls copy, from ISSN on, and the picture.
QStringList recalledColumns()
{
    QStringList cols = MagazineEditorLogic::previousColumns();
    cols.removeOne(TitleCol);
    cols.removeOne(IssnCol);
    cols << PicCol;
    return cols;
}
} // namespace

bool MagazineEditorLogic::RecallByIssn()
{
    if (!m_addMode)
        return false;
    const QString box = EditorRecords::text(record, IssnCol);
    if (box.trimmed().isEmpty() || box == LastRecalledIsbn)
        return false;
    EditorRecord row;
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + selectList()
                                                  + QStringLiteral(" from 期刊资料 where 标准ISBN=? order by ID desc"),
                                              {box}, "RecallByIssn");
        if (!q.next())
            return false;
        row = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    if (!m_bast.AskMsg(QStringLiteral("从库中检索到拥有相同ISBN号的期刊资料，是否调用其相关信息？"), QStringLiteral("yes")))
        return false;
    LastRecalledIsbn = box;
    LastRecalledTitle = EditorRecords::text(row, TitleCol);
    record.insert(TitleCol, LastRecalledTitle);
    record.insert(IssnCol, row.value(IssnCol));
    copyFromRow(row, recalledColumns());
    return true;
}

bool MagazineEditorLogic::RecallByTitle()
{
    if (!m_addMode)
        return false;
    const QString box = EditorRecords::text(record, TitleCol);
    if (box.trimmed().isEmpty() || box == LastRecalledTitle)
        return false;
    EditorRecord row;
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select ") + selectList()
                                                  + QStringLiteral(" from 期刊资料 where 期刊名称=? order by ID desc"),
                                              {box}, "RecallByTitle");
        if (!q.next())
            return false;
        row = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    if (!m_bast.AskMsg(QStringLiteral("从库中检索到拥有相同名称的期刊资料，是否调用其相关信息？"), QStringLiteral("yes")))
        return false;
    LastRecalledTitle = box;
    LastRecalledIsbn = EditorRecords::text(row, IssnCol);
    record.insert(IssnCol, LastRecalledIsbn);
    copyFromRow(row, recalledColumns());
    return true;
}

bool MagazineEditorLogic::CopyPrior()
{
    if (!m_addMode || !PreviousMagazine)
        return false;
    copyFromRow(*PreviousMagazine, previousColumns());
    return true;
}

bool MagazineEditorLogic::clearPicture()
{
    if (!hasPicture()) {
        m_bast.ShowMsg(QStringLiteral("当前图片已经为已经为空！"), QStringLiteral("warn"));
        return false;
    }
    setPicture(QByteArray());
    return true;
}

void MagazineEditorLogic::resetRange()
{
    year = m_today.year();
    bNum = 1;
    eNum = 2;
    overallIndex = 1;
}

QList<EditorRecord> MagazineEditorLogic::rowsToSave()
{
    if (!m_addMode || !checkMany)
        return {record};
    const int from = clampIssue(bNum), to = clampIssue(eNum);
    if (from > to) {
        m_bast.ShowMsg(QStringLiteral("起始期数不能大于结束期数，请重新设置期刊多刊生成范围！"), QStringLiteral("warn"));
        return {};
    }
    const int y = year > 0 ? year : m_today.year();
    const QString first = EditorRecords::text(record, NumCol).trimmed();
    QList<EditorRecord> rows;
    for (int i = from; i <= to; ++i) {
        EditorRecord r = record;
        QString num;
        if (!EditorRecords::stepNumber(first, i - from, num)) {
            m_bast.ShowMsg(QStringLiteral("期刊编号[") + first
                               + QStringLiteral("]不是纯数字，无法为多期期刊依次编号，请输入数字编号！"),
                           QStringLiteral("warn"));
            return {};
        }
        r.insert(NumCol, num);
        r.insert(QStringLiteral("刊次"), QStringLiteral("%1年第%2期").arg(y).arg(i));
        r.insert(QStringLiteral("总刊次"), QString::number(clampOverall(overallIndex) + (i - from)));
        r.insert(QStringLiteral("出版日期"), QDate());
        rows << r;
    }
    return rows;
}

bool MagazineEditorLogic::save()
{
    m_savedIds.clear();
    record.insert(NumCol, EditorRecords::text(record, NumCol).trimmed());
    if (EditorRecords::text(record, NumCol).isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("期刊编号不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    if (EditorRecords::text(record, TitleCol).trimmed().isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("期刊名称不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    const QList<EditorRecord> rows = rowsToSave();
    if (rows.isEmpty())
        return false;

    Database &db = *m_bast.database();
    const QStringList cols = columns();
    QStringList dbCols;
    for (const QString &c : cols)
        dbCols << dbColumn(c);
    QString taken;
    try {
        for (const EditorRecord &r : rows) {
            const QString num = EditorRecords::text(r, NumCol);
            const int same = db.scalar(QStringLiteral("select count(*) from 期刊资料 where 期刊编号=? and ID<>?"),
                                       {num, m_addMode ? qint64(-1) : m_editId}, "MagazineEditor::save")
                                 .toInt();
            if (same > 0) {
                m_bast.ShowMsg(QStringLiteral("期刊编号为[") + num + QStringLiteral("]的期刊已经存在，请重新输入！"),
                               QStringLiteral("warn"));
                return false;
            }
        }
        Transaction tx(db);
        for (const EditorRecord &r : rows) {
            QVariantList values;
            for (const QString &c : cols)
                values << EditorRecords::toDb(c, r.value(c));
            taken = EditorRecords::text(r, NumCol);
            if (m_addMode) {
                values << QStringLiteral("在馆") << 0;
                m_savedIds << db.insertReturningId(QStringLiteral("insert into 期刊资料 (") + dbCols.join(QLatin1Char(','))
                                                       + QStringLiteral(",状态,借出次数) values (")
                                                       + QStringLiteral("?,").repeated(cols.size() + 1) + QStringLiteral("?)"),
                                                   values, QStringLiteral("ID"));
            } else {
                values << m_editId;
                const int n = db.execAffected(QStringLiteral("update 期刊资料 set ") + dbCols.join(QStringLiteral("=?,"))
                                                  + QStringLiteral("=? where ID=?"),
                                              values, "MagazineEditor::save");
                if (n != 1) {
                    m_bast.ShowMsg(QStringLiteral("当前期刊已不存在，可能已被其他操作员删除，修改未能保存！"),
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
                offered = numberAfterCollision(m_bast, NumberKind::Magazine, taken, m_rule.length);
            } catch (const DbError &) {
            }
            if (offered) {
                record.insert(NumCol, *offered);
                m_bast.ShowMsg(collisionMessage(taken, *offered), QStringLiteral("warn"));
                return false;
            }
        }
        m_bast.ShowDbError(e);
        return false;
    }
    EditorRecord prev;
    for (const QString &c : previousColumns())
        prev.insert(c, record.value(c));
    PreviousMagazine = prev;
    return true;
}

} // namespace qandor
