#include "app/messageboxsink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace qandor {

namespace {
const QString Caption = QStringLiteral("系统提示");

// Delphi message texts use "\r" as a line break.
QString lines(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}
} // namespace

void MessageBoxSink::showMsg(const QString &text, const QString &kind)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    if (kind == QLatin1String("warn"))
        icon = QMessageBox::Warning;
    else if (kind == QLatin1String("error"))
        icon = QMessageBox::Critical;
    QMessageBox box(icon, Caption, lines(text), QMessageBox::Ok, m_parent ? m_parent : QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool MessageBoxSink::askMsg(const QString &text, const QString &kind)
{
    QMessageBox box(QMessageBox::Question, Caption, lines(text), QMessageBox::NoButton,
                    m_parent ? m_parent : QApplication::activeWindow());
    if (kind == QLatin1String("ok")) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
        return box.exec() == QMessageBox::Ok;
    }
    if (kind == QLatin1String("yes")) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否"));
        return box.exec() == QMessageBox::Yes;
    }
    return false;
}

void MessageBoxSink::showError(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Critical, Caption, lines(text), QMessageBox::Ok,
                    m_parent ? m_parent : QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

} // namespace qandor
