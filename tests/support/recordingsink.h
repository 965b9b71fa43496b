#pragma once

#include "data/messagesink.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace qandor::test {

// Records every message instead of showing a box; questions get the
// scripted answers in order, then the default answer.
class RecordingSink final : public MessageSink {
public:
    struct Entry {
        QString text;
        QString kind;
        bool question = false;
    };

    void showMsg(const QString &text, const QString &kind) override { entries.append({text, kind, false}); }
    bool askMsg(const QString &text, const QString &kind) override
    {
        entries.append({text, kind, true});
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
    void showError(const QString &text, const QString &details) override
    {
        entries.append({text, QStringLiteral("error"), false});
        lastDetails = details;
    }

    QString lastText() const { return entries.isEmpty() ? QString() : entries.last().text; }
    QString lastKind() const { return entries.isEmpty() ? QString() : entries.last().kind; }
    QStringList texts() const
    {
        QStringList out;
        for (const Entry &e : entries)
            out << e.text;
        return out;
    }
    void clear() { entries.clear(); answers.clear(); lastDetails.clear(); }

    QList<Entry> entries;
    QQueue<bool> answers;
    bool defaultAnswer = true;
    QString lastDetails;
};

} // namespace qandor::test
