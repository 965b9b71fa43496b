#pragma once

#include <QString>

namespace qandor {

// Where the data layer's messages and questions go. The program supplies
// message boxes; tests supply a recorder with scripted answers.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // kind: "infor", "warn", "error"; anything else shows as information.
    virtual void showMsg(const QString &text, const QString &kind) = 0;
    // kind "ok": OK/Cancel, "yes": Yes/No; true for OK/Yes. Other kinds: false, no box.
    virtual bool askMsg(const QString &text, const QString &kind) = 0;
    // A database error: a short message, the details on request.
    virtual void showError(const QString &text, const QString &details) { Q_UNUSED(details); showMsg(text, QStringLiteral("error")); }
};

// Swallows everything and answers no; the default until the program sets one.
class SilentSink final : public MessageSink {
public:
    void showMsg(const QString &, const QString &) override {}
    bool askMsg(const QString &, const QString &) override { return false; }
};

} // namespace qandor
