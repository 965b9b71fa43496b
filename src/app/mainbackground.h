#pragma once

#include <QPixmap>
#include <QWidget>

namespace qandor {

// The main window's background: a picture stretched over the client area,
// or the built-in one (a soft gradient with the product name) painted in code.
class MainBackground : public QWidget {
    Q_OBJECT
public:
    explicit MainBackground(QWidget *parent = nullptr);

    // Loads and shows the picture; false (and nothing changed) when the
    // file is missing or is not a picture.
    bool loadPicture(const QString &path);
    void useBuiltIn();
    bool isBuiltIn() const { return m_picture.isNull(); }
    QString picturePath() const { return m_path; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    QString m_path;
};

} // namespace qandor
