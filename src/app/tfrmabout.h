#pragma once

#include <QDialog>

namespace qandor {

// "关于": product name, version and date.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    static QString productName() { return QStringLiteral("Qandor图书馆管理系统"); }
    static QString version() { return QStringLiteral("1.0.0"); }
    static QString releaseDate() { return QStringLiteral("2026年12月"); }
};

} // namespace qandor
