#pragma once

#include "catalogue/itemeditorlogic.h"

namespace qandor {

// The rules of the magazine record editor, without widgets: on top of the
// shared editor rules the recalls and the issue-range generator. The
// standard ISSN is kept in 期刊资料.标准ISBN; the record calls it 标准ISSN.
class MagazineEditorLogic : public ItemEditorLogic {
public:
    MagazineEditorLogic(TBast &bast, NumberRule rule);

    static const QStringList &columns();          // record columns, tab order (+ ISSN)
    static const QStringList &previousColumns();  // the 21 values of "复制上本图书信息"
    // The table column behind a record column.
    static QString dbColumn(const QString &column);

    const std::optional<EditorRecord> &PreviousMagazine() const { return m_previous; }

    // Leaving an empty 期刊编号 while adding with the rule on.
    void magazineNoLeft() { numberLeft(); }
    bool RecallByIssn();
    bool RecallByTitle();

    // The issue-range generator.
    bool checkMany = false;
    int year = 0;          // 0: this year
    int bNum = 1;
    int eNum = 2;
    int overallIndex = 1;
    static int clampIssue(int n) { return n < 1 ? 1 : (n > 99 ? 99 : n); }
    static int clampOverall(int n) { return n < 0 ? 0 : (n > 99999 ? 99999 : n); }
    // Unticking "自动生成": this year, issues 1 to 2, running issue 1.
    void resetRange();
    // The rows a save writes: one, or one per issue of the range with the
    // number stepped on, 刊次 "yyyy年第n期", 总刊次 counting up from
    // overallIndex and no 出版日期 (it differs per issue). Empty (with a
    // message) when the range or the number does not allow it.
    QList<EditorRecord> rowsToSave() override;

private:
    // Both recalls: the latest row whose boxCol equals the box, offered
    // with the question; it fills otherCol and the recalled columns.
    bool recall(const QString &boxCol, const QString &otherCol, const QString &condition, const char *where,
                const QString &question, QString &lastOfBox, QString &lastOfOther);
};

} // namespace qandor
