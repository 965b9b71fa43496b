#pragma once

#include "data/messagesink.h"

class QWidget;

namespace qandor {

// Message and confirmation boxes on screen, captioned "系统提示".
class MessageBoxSink final : public MessageSink {
public:
    explicit MessageBoxSink(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void showMsg(const QString &text, const QString &kind) override;
    bool askMsg(const QString &text, const QString &kind) override;
    void showError(const QString &text, const QString &details) override;

private:
    QWidget *m_parent;
};

} // namespace qandor
