#pragma once
#include <QDialog>
#include <QImage>
#include <optional>

class QCamera;
class QImageCapture;
class QLabel;
class QMediaCaptureSession;
class QPushButton;
class QVideoWidget;

namespace qandor {

// "拍摄照片": a live preview from the first camera and one still picture,
// handed back to the editor that opened it (reader photo, book or
// magazine cover). Without a camera it says so and captures nothing.
class TfrmTakePhotoFromVideo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTakePhotoFromVideo(QWidget *parent = nullptr);
    ~TfrmTakePhotoFromVideo() override;

    // "frmAddOrEditReaderInfor", "frmAddOrEditBookInfor", "frmAddOrEditMagazineInfor".
    void setCaller(const QString &name) { m_caller = name; }
    QString caller() const { return m_caller; }

    bool hasCamera() const { return m_camera != nullptr; }
    // The frame taken, at the camera's size; nothing when none was taken.
    std::optional<QImage> picture() const { return m_picture; }

    static QString noCameraText();

public slots:
    void takePhoto();        // "拍摄(&P)"
    void chooseFormat();     // "拍摄区域设置"
    void chooseSource();     // "拍摄质量设置"

private:
    void openCamera(int deviceIndex);
    void closeCamera();
    void showProblem(const QString &text);

    QString m_caller;
    std::optional<QImage> m_picture;
    QLabel *m_photoShow;
    QVideoWidget *m_preview;
    QPushButton *m_take, *m_format, *m_source;
    QCamera *m_camera = nullptr;
    QImageCapture *m_capture = nullptr;
    QMediaCaptureSession *m_session = nullptr;
};

// Puts the camera screen behind the picture helpers' camera hook, so every
// editor's "视频拍照" reaches it. Safe to call more than once.
void ensureCameraRegistered();

} // namespace qandor
