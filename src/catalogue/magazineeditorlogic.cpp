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

const ItemEditorTable &magazineTable()
{
    static const ItemEditorTable t = [] {
        QStringList dbCols, select;
        for (const QString &c : MagazineEditorLogic::columns()) {
            dbCols << MagazineEditorLogic::dbColumn(c);
            select << (c == IssnCol ? QStringLiteral("标准ISBN as 标准ISSN") : c);
        }
        return ItemEditorTable{QStringLiteral("期刊资料"),
                               NumberKind::Magazine,
                               QStringLiteral("期刊"),
                               NumCol,
                               TitleCol,
                               IssnCol,
                               MagazineEditorLogic::columns(),
                               dbCols,
                               MagazineEditorLogic::previousColumns(),
                               select.join(QLatin1Char(',')),
                               "MagazineEditor",
                               "MagazineEditor::save"};
    }();
    return t;
}

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

MagazineEditorLogic::MagazineEditorLogic(TBast &bast, NumberRule rule) : ItemEditorLogic(bast, rule, magazineTable()) {}

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

bool MagazineEditorLogic::recall(const QString &boxCol, const QString &otherCol, const QString &condition,
                                 const char *where, const QString &question, QString &lastOfBox, QString &lastOfOther)
{
    if (!m_addMode)
        return false;
    const QString box = EditorRecords::text(record, boxCol);
    if (box.trimmed().isEmpty() || box == lastOfBox)
        return false;
    const auto row = offerRecall(condition, {box}, where, question);
    if (!row)
        return false;
    lastOfBox = box;
    lastOfOther = EditorRecords::text(*row, otherCol);
    // The stored spelling of the matched value comes along too.
    record.insert(boxCol, row->value(boxCol));
    record.insert(otherCol, lastOfOther);
    copyFromRow(*row, recalledColumns());
    return true;
}

bool MagazineEditorLogic::RecallByIssn()
{
    return recall(IssnCol, TitleCol, QStringLiteral("标准ISBN=?"), "RecallByIssn",
                  QStringLiteral("从库中检索到拥有相同ISBN号的期刊资料，是否调用其相关信息？"), LastRecalledIsbn,
                  LastRecalledTitle);
}

bool MagazineEditorLogic::RecallByTitle()
{
    return recall(TitleCol, IssnCol, QStringLiteral("期刊名称=?"), "RecallByTitle",
                  QStringLiteral("从库中检索到拥有相同名称的期刊资料，是否调用其相关信息？"), LastRecalledTitle,
                  LastRecalledIsbn);
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

} // namespace qandor
