#include "catalogue/bookeditorlogic.h"
#include "catalogue/catalogueservices.h"

namespace qandor {

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }
const QString Table = QStringLiteral("图书资料");
const QString NumCol = QStringLiteral("图书编号");
const QString TitleCol = QStringLiteral("图书名称");
const QString StdIsbnCol = QStringLiteral("标准ISBN");
const QString ClassCol = QStringLiteral("分类号");
const QString SeqCol = QStringLiteral("种次号");
const QString CallCol = QStringLiteral("索书号");
const QString PicCol = QStringLiteral("图片");
} // namespace

BookEditorLogic::BookEditorLogic(TBast &bast, NumberRule rule) : m_bast(bast), m_rule(rule) {}

const QStringList &BookEditorLogic::columns()
{
    static const QStringList cols = [] {
        QStringList l;
        for (const char *c : {"图书编号", "标准ISBN", "图书名称", "分类号", "分类名", "种次号", "索书号", "作者信息", "定价",
                              "出版社", "出版地", "出版年", "密级", "存放位置", "入库时间", "批次", "内容简介", "页码", "开本",
                              "语种", "版次", "所属丛书", "印刷版面", "配送物品", "备注信息", "图片", "ISBN"})
            l << s(c);
        return l;
    }();
    return cols;
}

const QStringList &BookEditorLogic::previousColumns()
{
    static const QStringList cols = [] {
        QStringList l;
        for (const char *c : {"图书名称", "标准ISBN", "分类号", "分类名", "作者信息", "定价", "出版社", "出版地", "出版年", "密级",
                              "存放位置", "入库时间", "内容简介", "页码", "开本", "语种", "版次", "所属丛书", "配送物品",
                              "印刷版面", "备注信息"})
            l << s(c);
        return l;
    }();
    return cols;
}

QString BookEditorLogic::nextNumber()
{
    return proposeItemNumber(m_bast, NumberKind::Book, m_rule).value_or(QString());
}

bool BookEditorLogic::beginAdd()
{
    m_addMode = true;
    m_editId = 0;
    record.clear();
    for (const QString &c : columns())
        record.insert(c, EditorRecords::emptyValue(c));
    bool numbered = false;
    if (m_rule.autoOn) {
        const QString n = nextNumber();
        if (!n.isEmpty()) {
            record.insert(NumCol, n);
            numbered = true;
        }
    }
    record.insert(QStringLiteral("入库时间"), m_today);
    record.insert(QStringLiteral("批次"), m_today.toString(QStringLiteral("yyyyMM")));
    return numbered;
}

bool BookEditorLogic::beginEdit(qint64 id)
{
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select * from 图书资料 where ID=?"), {id}, "BookEditor");
        if (!q.next()) {
            m_bast.ShowMsg(QStringLiteral("当前选中的图书已不存在，可能已被其他操作员删除！"), QStringLiteral("warn"));
            return false;
        }
        record = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return false;
    }
    m_addMode = false;
    m_editId = id;
    EditStartClassNo = EditorRecords::text(record, ClassCol);
    EditStartSeqNo = record.value(SeqCol).toInt();
    return true;
}

void BookEditorLogic::ComputeCallNumber()
{
    const QString cls = EditorRecords::text(record, ClassCol).trimmed();
    if (cls.isEmpty()) {
        record.insert(SeqCol, 0);
        record.insert(CallCol, QString());
        return;
    }
    int serial = 0;
    QString call;
    try {
        MakeCallNumber(*m_bast.database(), cls, EditorRecords::text(record, TitleCol), serial, call,
                       EditorRecords::text(record, StdIsbnCol));
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return;
    }
    record.insert(SeqCol, serial);
    record.insert(CallCol, call);
}

void BookEditorLogic::classNoLeft()
{
    const QString cls = EditorRecords::text(record, ClassCol).trimmed();
    if (m_addMode || cls.isEmpty() || cls != EditStartClassNo) {
        ComputeCallNumber();
        return;
    }
    record.insert(SeqCol, EditStartSeqNo);
}

void BookEditorLogic::seqNoLeft(const QString &seqText)
{
    const QString seq = seqText.trimmed();
    record.insert(SeqCol, seq.toInt());
    const QString cls = EditorRecords::text(record, ClassCol).trimmed();
    record.insert(CallCol, cls.isEmpty() ? QString() : QString(cls + QLatin1Char('/') + seq));
}

void BookEditorLogic::bookNoLeft()
{
    if (!m_addMode || !m_rule.autoOn || !EditorRecords::text(record, NumCol).trimmed().isEmpty())
        return;
    const QString n = nextNumber();
    if (!n.isEmpty())
        record.insert(NumCol, n);
}

bool BookEditorLogic::confirmIsbn()
{
    const QString isbn = EditorRecords::text(record, StdIsbnCol).trimmed();
    if (isbn.isEmpty() || IsbnChecks(isbn) || isbn == m_confirmedIsbn)
        return true;
    if (!m_bast.AskMsg(QStringLiteral("标准ISBN号[") + isbn
                           + QStringLiteral("]不是有效的ISBN-10或ISBN-13号码（位数或校验位不正确），可能输入有误。\n"
                                            "是否仍然使用该号码？"),
                       QStringLiteral("yes")))
        return false;
    m_confirmedIsbn = isbn;
    return true;
}

void BookEditorLogic::copyFromRow(const EditorRecord &row, const QStringList &cols)
{
    for (const QString &c : cols)
        record.insert(c, row.value(c, EditorRecords::emptyValue(c)));
}

BookEditorLogic::Recall BookEditorLogic::RecallByIsbn()
{
    if (!m_addMode)
        return Recall::Nothing;
    const QString box = EditorRecords::text(record, StdIsbnCol);
    if (box.trimmed().isEmpty())
        return Recall::Nothing;
    if (box == LastRecalledIsbn)
        return CopyPrior() ? Recall::Restored : Recall::Nothing;
    EditorRecord row;
    try {
        QSqlQuery q = m_bast.database()->exec(
            QStringLiteral("select * from 图书资料 where 标准ISBN=? or ISBN=? order by ID desc"), {box, box}, "RecallByIsbn");
        if (!q.next())
            return Recall::Nothing;
        row = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return Recall::Nothing;
    }
    if (!m_bast.AskMsg(QStringLiteral("从库中检索到拥有相同ISBN号的图书资料，是否调用其相关信息？"), QStringLiteral("yes")))
        return Recall::Nothing;
    LastRecalledIsbn = box;
    LastRecalledTitle = EditorRecords::text(row, TitleCol);
    record.insert(TitleCol, LastRecalledTitle);
    QStringList cols = previousColumns();
    cols.removeOne(TitleCol);
    cols << QStringLiteral("ISBN") << PicCol;
    copyFromRow(row, cols);
    classNoLeft();
    return Recall::Recalled;
}

BookEditorLogic::Recall BookEditorLogic::RecallByTitle()
{
    if (!m_addMode)
        return Recall::Nothing;
    const QString box = EditorRecords::text(record, TitleCol);
    if (box.trimmed().isEmpty() || box == LastRecalledTitle)
        return Recall::Nothing;
    EditorRecord row;
    try {
        QSqlQuery q = m_bast.database()->exec(QStringLiteral("select * from 图书资料 where 图书名称=? order by ID desc"), {box},
                                              "RecallByTitle");
        if (!q.next())
            return Recall::Nothing;
        row = EditorRecords::readRow(q, columns());
    } catch (const DbError &e) {
        m_bast.ShowDbError(e);
        return Recall::Nothing;
    }
    if (!m_bast.AskMsg(QStringLiteral("从库中检索到拥有相同名称的图书资料，是否调用其相关信息？"), QStringLiteral("yes")))
        return Recall::Nothing;
    LastRecalledTitle = box;
    LastRecalledIsbn = EditorRecords::text(row, StdIsbnCol);
    record.insert(StdIsbnCol, LastRecalledIsbn);
    QStringList cols = previousColumns();
    cols.removeOne(TitleCol);
    cols.removeOne(StdIsbnCol);
    cols << PicCol;
    copyFromRow(row, cols);
    classNoLeft();
    return Recall::Recalled;
}

bool BookEditorLogic::CopyPrior()
{
    // Nothing saved yet in this editor: restoring would only wipe the fields.
    if (!m_addMode || !PreviousBook)
        return false;
    copyFromRow(*PreviousBook, previousColumns());
    ComputeCallNumber();
    return true;
}

bool BookEditorLogic::clearPicture()
{
    if (!hasPicture()) {
        m_bast.ShowMsg(QStringLiteral("当前图片已经为已经为空！"), QStringLiteral("warn"));
        return false;
    }
    setPicture(QByteArray());
    return true;
}

QList<EditorRecord> BookEditorLogic::rowsToSave()
{
    if (!m_addMode)
        return {record};
    QStringList suffixes;
    int copies = 1;
    switch (volumes) {
    case Volumes::Single:
        break;
    case Volumes::Two:
        suffixes = {QStringLiteral("(上卷)"), QStringLiteral("(下卷)")};
        break;
    case Volumes::Three:
        suffixes = {QStringLiteral("(上卷)"), QStringLiteral("(中卷)"), QStringLiteral("(下卷)")};
        break;
    case Volumes::Num:
        for (int i = 1; i <= clampVolumeCount(numSet); ++i)
            suffixes << QStringLiteral("(第%1卷)").arg(i);
        break;
    case Volumes::Sames:
        copies = clampVolumeCount(samesSet);
        break;
    }
    const int n = suffixes.isEmpty() ? copies : int(suffixes.size());
    if (n == 1)
        return {record};
    const QString first = EditorRecords::text(record, NumCol).trimmed();
    QList<EditorRecord> rows;
    for (int i = 0; i < n; ++i) {
        EditorRecord r = record;
        QString num;
        if (!EditorRecords::stepNumber(first, i, num)) {
            m_bast.ShowMsg(QStringLiteral("图书编号[") + first
                               + QStringLiteral("]不是纯数字，无法为多卷（多本）图书依次编号，请输入数字编号！"),
                           QStringLiteral("warn"));
            return {};
        }
        r.insert(NumCol, num);
        if (!suffixes.isEmpty())
            r.insert(TitleCol, QString(EditorRecords::text(record, TitleCol) + suffixes.at(i)));
        rows << r;
    }
    return rows;
}

bool BookEditorLogic::save()
{
    m_savedIds.clear();
    record.insert(NumCol, EditorRecords::text(record, NumCol).trimmed());
    if (EditorRecords::text(record, NumCol).isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("图书编号不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    if (EditorRecords::text(record, TitleCol).trimmed().isEmpty()) {
        m_bast.ShowMsg(QStringLiteral("图书名称不能为空值!"), QStringLiteral("warn"));
        return false;
    }
    const QString stdIsbn = EditorRecords::text(record, StdIsbnCol).trimmed();
    if (EditorRecords::text(record, QStringLiteral("ISBN")).trimmed().isEmpty() && !stdIsbn.isEmpty())
        record.insert(QStringLiteral("ISBN"), IsbnTo13(QString(stdIsbn).remove(QLatin1Char(' '))));
    const QList<EditorRecord> rows = rowsToSave();
    if (rows.isEmpty())
        return false;

    Database &db = *m_bast.database();
    QStringList cols = columns();
    QString taken;
    try {
        for (const EditorRecord &r : rows) {
            const QString num = EditorRecords::text(r, NumCol);
            const int same = db.scalar(QStringLiteral("select count(*) from 图书资料 where 图书编号=? and ID<>?"),
                                       {num, m_addMode ? qint64(-1) : m_editId}, "BookEditor::save")
                                 .toInt();
            if (same > 0) {
                m_bast.ShowMsg(QStringLiteral("图书编号为[") + num + QStringLiteral("]的图书已经存在，请重新输入！"),
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
                m_savedIds << db.insertReturningId(QStringLiteral("insert into 图书资料 (") + cols.join(QLatin1Char(','))
                                                       + QStringLiteral(",状态,借出次数) values (")
                                                       + QStringLiteral("?,").repeated(cols.size() + 1) + QStringLiteral("?)"),
                                                   values, QStringLiteral("ID"));
            } else {
                values << m_editId;
                const int n = db.execAffected(QStringLiteral("update 图书资料 set ") + cols.join(QStringLiteral("=?,"))
                                                  + QStringLiteral("=? where ID=?"),
                                              values, "BookEditor::save");
                if (n != 1) {
                    m_bast.ShowMsg(QStringLiteral("当前图书已不存在，可能已被其他操作员删除，修改未能保存！"),
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
                offered = numberAfterCollision(m_bast, NumberKind::Book, taken, m_rule.length);
            } catch (const DbError &) {
            }
            if (offered) {
                // Another desk took the number meanwhile; offer the next free one.
                QString first = *offered;
                record.insert(NumCol, first);
                m_bast.ShowMsg(collisionMessage(taken, first), QStringLiteral("warn"));
                return false;
            }
        }
        m_bast.ShowDbError(e);
        return false;
    }
    EditorRecord prev;
    for (const QString &c : previousColumns())
        prev.insert(c, record.value(c));
    PreviousBook = prev;
    return true;
}

} // namespace qandor
