#pragma once

#include "catalogue/itemeditorlogic.h"

namespace qandor {

// The rules of the book record editor, without widgets: on top of the
// shared editor rules the call number, recall of a stored description by
// ISBN or title, the 批次 and the multi-volume settings.
class BookEditorLogic : public ItemEditorLogic {
public:
    BookEditorLogic(TBast &bast, NumberRule rule);

    // The columns the editor shows, in tab order, and the 21 values
    // "复制上本图书信息" restores, in order.
    static const QStringList &columns();
    static const QStringList &previousColumns();

    // Add mode also sets 批次 "yyyyMM". True when a number was put in (the
    // focus then goes to the ISBN box).
    bool beginAdd() override;
    bool beginEdit(qint64 id) override;

    QString EditStartClassNo;
    int EditStartSeqNo = 0;
    const std::optional<EditorRecord> &PreviousBook() const { return m_previous; }

    // Call number.
    void ComputeCallNumber();
    void classNoLeft();
    void seqNoLeft(const QString &seqText);
    // Leaving an empty 图书编号 while adding with the rule on.
    void bookNoLeft() { numberLeft(); }

    // Check digits of the 标准ISBN: true when they check, the box is empty
    // or the operator keeps the number after the warning.
    bool confirmIsbn();

    enum class Recall { Nothing, Recalled, Restored };
    Recall RecallByIsbn();
    Recall RecallByTitle();
    bool CopyPrior() override;

    // Multi-volume settings (add mode only).
    enum class Volumes { Single, Two, Three, Num, Sames };
    Volumes volumes = Volumes::Single;
    int numSet = 2;
    int samesSet = 2;
    static int clampVolumeCount(int n) { return n < 2 ? 2 : (n > 99 ? 99 : n); }

    // One row per volume or copy, numbered on from the record's 图书编号.
    // Empty (with a message) when the number cannot be stepped.
    QList<EditorRecord> rowsToSave() override;

    // After "保存继续": a fresh record as on opening.
    bool continueAfterSave() { return beginAdd(); }

protected:
    // ISBN (the 13-digit form) from 标准ISBN when empty.
    void completeRecord() override;

private:
    QString m_confirmedIsbn;
};

} // namespace qandor
