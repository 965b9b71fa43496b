#pragma once

#include "catalogue/editorrecord.h"
#include "catalogue/itemnumbering.h"
#include "data/tbast.h"

#include <QDate>
#include <QList>
#include <optional>

namespace qandor {

// The rules of the magazine record editor, without widgets. The standard
// ISSN is kept in 期刊资料.标准ISBN; the record calls it 标准ISSN.
class MagazineEditorLogic {
public:
    MagazineEditorLogic(TBast &bast, NumberRule rule);

    static const QStringList &columns();          // record columns, tab order (+ ISSN)
    static const QStringList &previousColumns();  // the 21 values of "复制上本图书信息"
    // The table column behind a record column.
    static QString dbColumn(const QString &column);

    void setToday(const QDate &today) { m_today = today; }
    void setRule(NumberRule rule) { m_rule = rule; }
    NumberRule rule() const { return m_rule; }
    QDate today() const { return m_today; }

    // True when an automatic number was put in (focus then to the title).
    bool beginAdd();
    bool beginEdit(qint64 id);
    bool addMode() const { return m_addMode; }
    qint64 editId() const { return m_editId; }

    EditorRecord record;
    QString LastRecalledIsbn;
    QString LastRecalledTitle;
    std::optional<EditorRecord> PreviousMagazine;

    void magazineNoLeft();
    bool RecallByIssn();
    bool RecallByTitle();
    bool CopyPrior();

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
    QList<EditorRecord> rowsToSave();

    // Checks and writes every row in one transaction (see the book editor).
    bool save();

    bool hasPicture() const { return !record.value(QStringLiteral("图片")).toByteArray().isEmpty(); }
    void setPicture(const QByteArray &jpeg) { record.insert(QStringLiteral("图片"), jpeg); }
    bool clearPicture();

    QList<qint64> lastSavedIds() const { return m_savedIds; }

private:
    void copyFromRow(const EditorRecord &row, const QStringList &cols);
    QString selectList() const;

    TBast &m_bast;
    NumberRule m_rule;
    QDate m_today = QDate::currentDate();
    bool m_addMode = true;
    qint64 m_editId = 0;
    QList<qint64> m_savedIds;
};

} // namespace qandor
