#pragma once

#include "catalogue/editorrecord.h"
#include "catalogue/itemnumbering.h"
#include "data/tbast.h"

#include <QDate>
#include <QList>
#include <optional>

namespace qandor {

// The rules of the book record editor, without widgets: the record, the
// call number, recall of a stored description by ISBN or title, the
// automatic number, copy-previous, the multi-volume settings and the save.
// Every message goes through the TBast's sink.
class BookEditorLogic {
public:
    BookEditorLogic(TBast &bast, NumberRule rule);

    // The columns the editor shows, in tab order, and the 21 values
    // "复制上本图书信息" restores, in order.
    static const QStringList &columns();
    static const QStringList &previousColumns();

    void setToday(const QDate &today) { m_today = today; }
    void setRule(NumberRule rule) { m_rule = rule; }
    NumberRule rule() const { return m_rule; }
    QDate today() const { return m_today; }

    // Add mode: a fresh record with the automatic number (when the rule is
    // on), 入库时间 today and 批次 "yyyyMM". True when a number was put in
    // (the focus then goes to the ISBN box).
    bool beginAdd();
    // Edit mode on the row with this ID; false (with a message) when gone.
    bool beginEdit(qint64 id);

    bool addMode() const { return m_addMode; }
    qint64 editId() const { return m_editId; }

    EditorRecord record;

    QString EditStartClassNo;
    int EditStartSeqNo = 0;
    QString LastRecalledIsbn;
    QString LastRecalledTitle;
    std::optional<EditorRecord> PreviousBook;

    // Call number.
    void ComputeCallNumber();
    void classNoLeft();
    void seqNoLeft(const QString &seqText);
    // Leaving an empty 图书编号 while adding with the rule on.
    void bookNoLeft();

    // Check digits of the 标准ISBN: true when they check, the box is empty
    // or the operator keeps the number after the warning.
    bool confirmIsbn();

    enum class Recall { Nothing, Recalled, Restored };
    Recall RecallByIsbn();
    Recall RecallByTitle();
    // "复制上本图书信息": false when there is nothing to copy or not adding.
    bool CopyPrior();

    // Multi-volume settings (add mode only).
    enum class Volumes { Single, Two, Three, Num, Sames };
    Volumes volumes = Volumes::Single;
    int numSet = 2;
    int samesSet = 2;
    static int clampVolumeCount(int n) { return n < 2 ? 2 : (n > 99 ? 99 : n); }

    // The rows a save writes: one per volume or copy, numbered on from the
    // record's 图书编号. Empty (with a message) when the number cannot be
    // stepped.
    QList<EditorRecord> rowsToSave();

    // Checks and writes the record (all volumes in one transaction). On
    // success PreviousBook holds the saved description and true is
    // returned; on a refusal or database error nothing is written and the
    // message has been shown. A number taken meanwhile by another desk is
    // replaced by the next free one for the operator to save again.
    bool save();
    // After "保存继续": a fresh record as on opening.
    bool continueAfterSave() { return beginAdd(); }

    // Pictures.
    bool hasPicture() const { return !record.value(QStringLiteral("图片")).toByteArray().isEmpty(); }
    void setPicture(const QByteArray &jpeg) { record.insert(QStringLiteral("图片"), jpeg); }
    // "清除图片": false with "当前图片已经为已经为空！" when there is none.
    bool clearPicture();

    QList<qint64> lastSavedIds() const { return m_savedIds; }

private:
    void copyFromRow(const EditorRecord &row, const QStringList &cols);
    QString nextNumber();

    TBast &m_bast;
    NumberRule m_rule;
    QDate m_today = QDate::currentDate();
    bool m_addMode = true;
    qint64 m_editId = 0;
    QString m_confirmedIsbn;
    QList<qint64> m_savedIds;
};

} // namespace qandor
