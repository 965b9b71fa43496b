#pragma once

#include "catalogue/editorrecord.h"
#include "catalogue/itemnumbering.h"
#include "data/tbast.h"

#include <QDate>
#include <QList>
#include <optional>

namespace qandor {

// What tells the book editor's rules from the magazine editor's where the
// flow is the same: the table, the key columns and the noun of the messages.
struct ItemEditorTable {
    QString table;       // 图书资料
    NumberKind kind;     // whose automatic numbers
    QString noun;        // 图书: "图书编号不能为空值!", "当前图书已不存在…"
    QString numCol;      // 图书编号
    QString titleCol;    // 图书名称
    QString stdNumCol;   // the record column of the standard number (标准ISBN / 标准ISSN)
    QStringList columns; // record columns, tab order
    QStringList dbColumns; // the table column behind each of columns
    QStringList previous;  // the values "复制上本图书信息" restores, in order
    QString selectList;  // what a read selects ("*" or the renaming list)
    const char *where;        // "BookEditor"
    const char *saveWhere;    // "BookEditor::save"
};

// The record editor rules both catalogue editors share, without widgets:
// the record, add and edit mode, the automatic number, recall from the
// latest matching row, copy-previous, pictures and the save of one or more
// rows in one transaction. Every message goes through the TBast's sink.
class ItemEditorLogic {
public:
    ItemEditorLogic(TBast &bast, NumberRule rule, const ItemEditorTable &table);
    virtual ~ItemEditorLogic() = default;

    const ItemEditorTable &table() const { return m_table; }

    void setToday(const QDate &today) { m_today = today; }
    void setRule(NumberRule rule) { m_rule = rule; }
    NumberRule rule() const { return m_rule; }
    QDate today() const { return m_today; }

    // Add mode: a fresh record with the automatic number (when the rule is
    // on) and 入库时间 today. True when a number was put in.
    virtual bool beginAdd();
    // Edit mode on the row with this ID; false (with a message) when gone.
    virtual bool beginEdit(qint64 id);
    bool addMode() const { return m_addMode; }
    qint64 editId() const { return m_editId; }

    EditorRecord record;
    QString LastRecalledIsbn;
    QString LastRecalledTitle;

    // Leaving an empty number box while adding with the rule on.
    void numberLeft();

    // "复制上本图书信息": false when there is nothing to copy or not adding.
    virtual bool CopyPrior();

    // The rows a save writes (several for volumes or issue ranges). Empty
    // (with a message) when they cannot be made.
    virtual QList<EditorRecord> rowsToSave() { return {record}; }

    // Checks and writes every row in one transaction. On success the
    // copy-previous values are kept and true is returned; on a refusal or
    // database error nothing is written and the message has been shown. A
    // number taken meanwhile by another desk is replaced by the next free
    // one for the operator to save again.
    bool save();

    bool hasPicture() const { return !record.value(QStringLiteral("图片")).toByteArray().isEmpty(); }
    void setPicture(const QByteArray &jpeg) { record.insert(QStringLiteral("图片"), jpeg); }
    // "清除图片": false with "当前图片已经为已经为空！" when there is none.
    bool clearPicture();

    QList<qint64> lastSavedIds() const { return m_savedIds; }

protected:
    // Completes the record before its rows are made (after the required checks).
    virtual void completeRecord() {}

    void copyFromRow(const EditorRecord &row, const QStringList &cols);
    std::optional<QString> nextNumber();
    // The latest row matching `condition` (with the values bound), offered
    // to the operator with `question`; nullopt when none, refused or on a
    // database error (shown).
    std::optional<EditorRecord> offerRecall(const QString &condition, const QVariantList &values, const char *where,
                                            const QString &question);

    TBast &m_bast;
    NumberRule m_rule;
    QDate m_today = QDate::currentDate();
    bool m_addMode = true;
    qint64 m_editId = 0;
    std::optional<EditorRecord> m_previous;

private:
    bool writeRows(const QList<EditorRecord> &rows);

    const ItemEditorTable &m_table;
    QList<qint64> m_savedIds;
};

} // namespace qandor
