#include "readers/tfrmtakephotofromvideo.h"
#include "widgets/pictures.h"

#include <QCamera>
#include <QCameraDevice>
#include <QHBoxLayout>
#include <QImageCapture>
#include <QInputDialog>
#include <QLabel>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace qandor {

TfrmTakePhotoFromVideo::TfrmTakePhotoFromVideo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTakePhotoFromVideo"));
    setWindowTitle(QStringLiteral("拍摄照片"));
    auto *layout = new QVBoxLayout(this);
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("ShowBigPic"));
    area->setFixedSize(240, 300);
    auto *stack = new QStackedLayout(area);
    m_photoShow = new QLabel(area);
    m_photoShow->setObjectName(QStringLiteral("PhotoShow"));
    m_photoShow->setAlignment(Qt::AlignCenter);
    m_photoShow->setWordWrap(true);
    m_photoShow->setFrameShape(QFrame::Box);
    m_preview = new QVideoWidget(area);
    stack->addWidget(m_photoShow);
    stack->addWidget(m_preview);
    layout->addWidget(area, 0, Qt::AlignHCenter);

    auto *bar = new QHBoxLayout;
    m_take = new QPushButton(QStringLiteral("拍摄(&P)"), this);
    m_take->setObjectName(QStringLiteral("TakePhoto"));
    m_format = new QPushButton(QStringLiteral("拍摄区域设置"), this);
    m_format->setObjectName(QStringLiteral("B_SetVIDEOFORMAT"));
    m_source = new QPushButton(QStringLiteral("拍摄质量设置"), this);
    m_source->setObjectName(QStringLiteral("B_SetVIDEOSOURCE"));
    auto *quit = new QPushButton(QStringLiteral("退出(Q)"), this);
    quit->setObjectName(QStringLiteral("quit"));
    for (QPushButton *b : {m_take, m_format, m_source, quit})
        bar->addWidget(b);
    layout->addLayout(bar);
    connect(m_take, &QPushButton::clicked, this, &TfrmTakePhotoFromVideo::takePhoto);
    connect(m_format, &QPushButton::clicked, this, &TfrmTakePhotoFromVideo::chooseFormat);
    connect(m_source, &QPushButton::clicked, this, &TfrmTakePhotoFromVideo::chooseSource);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    openCamera(0);
}

TfrmTakePhotoFromVideo::~TfrmTakePhotoFromVideo()
{
    closeCamera();
}

QString TfrmTakePhotoFromVideo::noCameraText()
{
    return QStringLiteral("未检测到摄像头！\n请连接摄像头后重新打开本窗口，\n或在编辑窗口中用“选择照片”从图片文件载入照片。");
}

void TfrmTakePhotoFromVideo::showProblem(const QString &text)
{
    m_photoShow->setText(text);
    static_cast<QStackedLayout *>(m_photoShow->parentWidget()->layout())->setCurrentWidget(m_photoShow);
    m_take->setEnabled(false);
    m_format->setEnabled(m_camera != nullptr);
}

void TfrmTakePhotoFromVideo::openCamera(int deviceIndex)
{
    closeCamera();
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (deviceIndex < 0 || deviceIndex >= devices.size()) {
        showProblem(noCameraText());
        m_source->setEnabled(!devices.isEmpty());
        return;
    }
    m_session = new QMediaCaptureSession(this);
    m_camera = new QCamera(devices.at(deviceIndex), this);
    m_capture = new QImageCapture(this);
    m_capture->setFileFormat(QImageCapture::JPEG);
    m_session->setCamera(m_camera);
    m_session->setImageCapture(m_capture);
    m_session->setVideoOutput(m_preview);
    connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &text) {
        showProblem(QStringLiteral("摄像头无法打开：") + text);
    });
    connect(m_capture, &QImageCapture::imageCaptured, this, [this](int, const QImage &frame) {
        if (frame.isNull())
            return;
        m_picture = frame;
        m_photoShow->setPixmap(QPixmap::fromImage(frame.scaled(240, 300, Qt::KeepAspectRatio)));
        closeCamera();
        accept();
    });
    connect(m_capture, &QImageCapture::errorOccurred, this, [this](int, QImageCapture::Error, const QString &text) {
        showProblem(QStringLiteral("拍摄失败：") + text);
    });
    static_cast<QStackedLayout *>(m_preview->parentWidget()->layout())->setCurrentWidget(m_preview);
    m_take->setEnabled(true);
    m_format->setEnabled(true);
    m_source->setEnabled(true);
    m_camera->start();
}

void TfrmTakePhotoFromVideo::closeCamera()
{
    if (m_camera)
        m_camera->stop();
    delete m_capture;
    delete m_camera;
    delete m_session;
    m_capture = nullptr;
    m_camera = nullptr;
    m_session = nullptr;
}

void TfrmTakePhotoFromVideo::takePhoto()
{
    if (!m_capture || !m_capture->isReadyForCapture())
        return;
    m_capture->capture();
}

void TfrmTakePhotoFromVideo::chooseFormat()
{
    if (!m_camera)
        return;
    const QList<QCameraFormat> formats = m_camera->cameraDevice().videoFormats();
    if (formats.isEmpty())
        return;
    QStringList names;
    for (const QCameraFormat &f : formats)
        names << QStringLiteral("%1 × %2").arg(f.resolution().width()).arg(f.resolution().height());
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, QStringLiteral("拍摄区域设置"), QStringLiteral("画面大小："), names, 0,
                                                 false, &ok);
    if (ok)
        m_camera->setCameraFormat(formats.at(names.indexOf(chosen)));
}

void TfrmTakePhotoFromVideo::chooseSource()
{
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (devices.isEmpty())
        return;
    QStringList names;
    for (const QCameraDevice &d : devices)
        names << d.description();
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, QStringLiteral("拍摄质量设置"), QStringLiteral("摄像头："), names, 0,
                                                 false, &ok);
    if (ok)
        openCamera(names.indexOf(chosen));
}

void ensureCameraRegistered()
{
    if (Pictures::cameraAvailable())
        return;
    Pictures::registerCamera([](QWidget *parent) -> std::optional<QImage> {
        TfrmTakePhotoFromVideo dlg(parent);
        if (parent)
            dlg.setCaller(parent->objectName());
        if (dlg.exec() != QDialog::Accepted)
            return std::nullopt;
        return dlg.picture();
    });
}

} // namespace qandor
