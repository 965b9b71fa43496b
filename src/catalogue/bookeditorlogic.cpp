#include "catalogue/bookeditorlogic.h"
#include "catalogue/catalogueservices.h"

namespace qandor {

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }
const QString NumCol = QStringLiteral("图书编号");
const QString TitleCol = QStringLiteral("图书名称");
const QString StdIsbnCol = QStringLiteral("标准ISBN");
const QString ClassCol = QStringLiteral("分类号");
const QString SeqCol = QStringLiteral("种次号");
const QString CallCol = QStringLiteral("索书号");
const QString PicCol = QStringLiteral("图片");

const ItemEditorTable &bookTable()
{
    static const ItemEditorTable t{QStringLiteral("图书资料"),
                                   NumberKind::Book,
                                   QStringLiteral("图书"),
                                   NumCol,
                                   TitleCol,
                                   StdIsbnCol,
                                   BookEditorLogic::columns(),
                                   BookEditorLogic::columns(),
                                   BookEditorLogic::previousColumns(),
                                   QStringLiteral("*"),
                                   "BookEditor",
                                   "BookEditor::save"};
    return t;
}
} // namespace

BookEditorLogic::BookEditorLogic(TBast &bast, NumberRule rule) : ItemEditorLogic(bast, rule, bookTable()) {}

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

bool BookEditorLogic::beginAdd()
{
    const bool numbered = ItemEditorLogic::beginAdd();
    record.insert(QStringLiteral("批次"), m_today.toString(QStringLiteral("yyyyMM")));
    return numbered;
}

bool BookEditorLogic::beginEdit(qint64 id)
{
    if (!ItemEditorLogic::beginEdit(id))
        return false;
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

BookEditorLogic::Recall BookEditorLogic::RecallByIsbn()
{
    if (!m_addMode)
        return Recall::Nothing;
    const QString box = EditorRecords::text(record, StdIsbnCol);
    if (box.trimmed().isEmpty())
        return Recall::Nothing;
    if (box == LastRecalledIsbn)
        return CopyPrior() ? Recall::Restored : Recall::Nothing;
    const auto row = offerRecall(QStringLiteral("标准ISBN=? or ISBN=?"), {box, box}, "RecallByIsbn",
                                 QStringLiteral("从库中检索到拥有相同ISBN号的图书资料，是否调用其相关信息？"));
    if (!row)
        return Recall::Nothing;
    LastRecalledIsbn = box;
    LastRecalledTitle = EditorRecords::text(*row, TitleCol);
    record.insert(TitleCol, LastRecalledTitle);
    QStringList cols = previousColumns();
    cols.removeOne(TitleCol);
    cols << QStringLiteral("ISBN") << PicCol;
    copyFromRow(*row, cols);
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
    const auto row = offerRecall(QStringLiteral("图书名称=?"), {box}, "RecallByTitle",
                                 QStringLiteral("从库中检索到拥有相同名称的图书资料，是否调用其相关信息？"));
    if (!row)
        return Recall::Nothing;
    LastRecalledTitle = box;
    LastRecalledIsbn = EditorRecords::text(*row, StdIsbnCol);
    record.insert(StdIsbnCol, LastRecalledIsbn);
    QStringList cols = previousColumns();
    cols.removeOne(TitleCol);
    cols.removeOne(StdIsbnCol);
    cols << PicCol;
    copyFromRow(*row, cols);
    classNoLeft();
    return Recall::Recalled;
}

bool BookEditorLogic::CopyPrior()
{
    if (!ItemEditorLogic::CopyPrior())
        return false;
    ComputeCallNumber();
    return true;
}

void BookEditorLogic::completeRecord()
{
    const QString stdIsbn = EditorRecords::text(record, StdIsbnCol).trimmed();
    if (EditorRecords::text(record, QStringLiteral("ISBN")).trimmed().isEmpty() && !stdIsbn.isEmpty())
        record.insert(QStringLiteral("ISBN"), IsbnTo13(QString(stdIsbn).remove(QLatin1Char(' '))));
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

} // namespace qandor
