#include "widgets/pictures.h"

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace qandor {
namespace Pictures {

QString unreadableMessage() { return QStringLiteral("图片格式无法识别！"); }
QString webFailedMessage() { return QStringLiteral("图书封面获取失败，请稍后重试！"); }
QString noCameraMessage() { return QStringLiteral("未检测到摄像头！"); }

QByteArray toJpeg(const QImage &image, int quality)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // JPEG has no alpha: flatten onto white rather than letting
    // transparent parts turn black.
    QImage rgb = image;
    if (rgb.hasAlphaChannel()) {
        QImage flat(rgb.size(), QImage::Format_RGB888);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, rgb);
        p.end();
        rgb = flat;
    } else {
        rgb = rgb.convertToFormat(QImage::Format_RGB888);
    }
    if (!rgb.save(&buffer, "JPG", quality))
        return {};
    return bytes;
}

QImage fromBlob(const QVariant &blob)
{
    if (blob.isNull() || !blob.isValid())
        return {};
    const QByteArray bytes = blob.toByteArray();
    if (bytes.isEmpty())
        return {};
    return QImage::fromData(bytes);
}

bool LoadJpegToImage(QLabel *image, const QVariant &blob)
{
    const QImage img = fromBlob(blob);
    if (img.isNull()) {
        image->clear();
        return false;
    }
    image->setPixmap(QPixmap::fromImage(img));
    return true;
}

bool LoadJpegToPicture(QImage &picture, const QVariant &blob)
{
    const QImage img = fromBlob(blob);
    if (img.isNull())
        return false;
    picture = img;
    return true;
}

std::optional<QByteArray> LoadImageFile(QLabel *image, const QString &fileName, int height, int width, MessageSink *sink)
{
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull()) {
        if (sink)
            sink->showMsg(unreadableMessage(), QStringLiteral("error"));
        return std::nullopt;
    }
    if (width > 0 && height > 0)
        img = img.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray jpeg = toJpeg(img);
    if (jpeg.isEmpty()) {
        if (sink)
            sink->showMsg(unreadableMessage(), QStringLiteral("error"));
        return std::nullopt;
    }
    if (image)
        image->setPixmap(QPixmap::fromImage(QImage::fromData(jpeg, "JPG")));
    return jpeg;
}

std::optional<QByteArray> LoadWebImage(const QUrl &url, QLabel *image, QString *error, int timeoutMs)
{
    auto fail = [error]() -> std::optional<QByteArray> {
        if (error)
            *error = webFailedMessage();
        return std::nullopt;
    };
    if (!url.isValid() || url.isEmpty())
        return fail();

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = manager.get(request);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    std::unique_ptr<QNetworkReply> owned(reply);
    if (!reply->isFinished()) {
        reply->abort();
        return fail();
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || (status != 0 && (status < 200 || status >= 300)))
        return fail();
    const QImage img = QImage::fromData(reply->readAll());
    if (img.isNull())
        return fail();
    const QByteArray jpeg = toJpeg(img);
    if (jpeg.isEmpty())
        return fail();
    if (image) {
        image->clear();
        image->setPixmap(QPixmap::fromImage(img));
    }
    return jpeg;
}

namespace {
CameraCapture &cameraSlot()
{
    static CameraCapture capture;
    return capture;
}
} // namespace

void registerCamera(CameraCapture capture)
{
    cameraSlot() = std::move(capture);
}

bool cameraAvailable()
{
    return bool(cameraSlot());
}

std::optional<QByteArray> CapturePhoto(QWidget *parent, MessageSink *sink)
{
    if (!cameraAvailable()) {
        if (sink)
            sink->showMsg(noCameraMessage(), QStringLiteral("error"));
        return std::nullopt;
    }
    const std::optional<QImage> frame = cameraSlot()(parent);
    if (!frame || frame->isNull())
        return std::nullopt;
    const QByteArray jpeg = toJpeg(*frame);
    if (jpeg.isEmpty())
        return std::nullopt;
    return jpeg;
}

} // namespace Pictures

QString browseStartFolder(QString &folder, const QString &root)
{
    if (!folder.isEmpty() && !QDir(folder).exists())
        folder.clear();
    return folder.isEmpty() ? root : folder;
}

bool BrowseFolder(QWidget *owner, const QString &title, QString &folder, const QString &root)
{
    const QString start = browseStartFolder(folder, root);
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = QDir::toNativeSeparators(chosen);
    return true;
}

namespace {
Qt::CheckState applyMode(Qt::CheckState state, int mode)
{
    if (mode == -1)
        return state == Qt::Checked ? Qt::Unchecked : Qt::Checked;
    return mode == 0 ? Qt::Unchecked : Qt::Checked;
}

// Items show a check box only once they carry a check state (the default
// item flags already say "user checkable").
bool hitsIndicator(QAbstractItemView *view, const QRect &itemRect, const QPoint &pos, bool checkable)
{
    if (!checkable || !itemRect.contains(pos))
        return false;
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.rect = itemRect;
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    opt.showDecorationSelected = true;
    const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    return box.contains(pos);
}
} // namespace

int CheckListItems(QListWidget *list, int mode)
{
    int ticked = 0;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const Qt::CheckState s = applyMode(item->checkState(), mode);
        item->setCheckState(s);
        ticked += s == Qt::Checked;
    }
    return ticked;
}

int CheckListItems(QTreeWidget *list, int mode)
{
    int ticked = 0;
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        const Qt::CheckState s = applyMode((*it)->checkState(0), mode);
        (*it)->setCheckState(0, s);
        ticked += s == Qt::Checked;
    }
    return ticked;
}

bool IsCheckBoxHit(int x, int y, QListWidget *list)
{
    const QPoint pos(x, y);
    QListWidgetItem *item = list->itemAt(pos);
    if (!item)
        return false;
    return hitsIndicator(list, list->visualItemRect(item), pos, item->data(Qt::CheckStateRole).isValid());
}

bool IsCheckBoxHit(int x, int y, QTreeWidget *list)
{
    const QPoint pos(x, y);
    QTreeWidgetItem *item = list->itemAt(pos);
    if (!item || list->columnAt(x) != 0)
        return false;
    QRect rect = list->visualItemRect(item);
    rect.setWidth(list->columnWidth(0) - (rect.left() - list->header()->sectionViewportPosition(0)));
    return hitsIndicator(list, rect, pos, item->data(0, Qt::CheckStateRole).isValid());
}

} // namespace qandor
