#pragma once

#include "data/messagesink.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QTreeWidget;
class QWidget;

namespace qandor {

// Pictures (reader photos, covers) are stored as JPEG blobs.
namespace Pictures {

// The message for a picture file Qt cannot read.
QString unreadableMessage();
// The message for a web picture that could not be fetched or read.
QString webFailedMessage();
// The message when no camera is registered.
QString noCameraMessage();

// The picture as JPEG bytes for a blob column (empty for a null image).
QByteArray toJpeg(const QImage &image, int quality = 90);
// A blob read back; older rows may hold other formats, so the format is
// taken from the data. A null image for NULL or unreadable data.
QImage fromBlob(const QVariant &blob);

// Shows the blob in the label; NULL (or unreadable data) clears it.
// True when a picture is shown.
bool LoadJpegToImage(QLabel *image, const QVariant &blob);
// Reads the blob into the picture; NULL leaves the picture unchanged.
bool LoadJpegToPicture(QImage &picture, const QVariant &blob);

// Reads a picture file of any format Qt reads, stretches it to exactly
// width x height (when both are positive), converts it to JPEG, shows it
// in `image` (when given) and returns the JPEG bytes. A file that cannot
// be read gives "图片格式无法识别！" (kind "error") and nullopt.
std::optional<QByteArray> LoadImageFile(QLabel *image, const QString &fileName, int height, int width, MessageSink *sink);

// Fetches the address by HTTP GET (waiting at most timeoutMs), shows the
// picture in `image` (when given) and returns it as JPEG bytes. On any
// failure (network, HTTP status, time-out, not a picture) nullopt with
// *error = "图书封面获取失败，请稍后重试！" for the caller to show.
std::optional<QByteArray> LoadWebImage(const QUrl &url, QLabel *image, QString *error, int timeoutMs = 15000);

// The camera: the reader screens register a capture function (it shows a
// preview and returns one frame, or nullopt when the operator gave up).
using CameraCapture = std::function<std::optional<QImage>(QWidget *parent)>;
void registerCamera(CameraCapture capture);
bool cameraAvailable();
// One frame as JPEG bytes; without a camera "未检测到摄像头！" (kind "error").
std::optional<QByteArray> CapturePhoto(QWidget *parent, MessageSink *sink);

// The program has no embedded browser, so there is no page sound to mute;
// kept so callers written for the browser need no change.
inline void MuteSound() {}

} // namespace Pictures

// The folder picker. Starts at `folder` when it exists (else it is
// cleared and the picker starts at `root`); true and the chosen path in
// `folder` when the operator picks one.
bool BrowseFolder(QWidget *owner, const QString &title, QString &folder, const QString &root = QString());
// Where the picker starts, after clearing a folder that does not exist.
QString browseStartFolder(QString &folder, const QString &root);

// Check-box list helpers. mode -1 inverts every item and returns how many
// are ticked; 0 clears all and returns 0; any other mode ticks all and
// returns the item count.
int CheckListItems(QListWidget *list, int mode);
int CheckListItems(QTreeWidget *list, int mode);
// True when the point (viewport coordinates) is on an item's check box.
bool IsCheckBoxHit(int x, int y, QListWidget *list);
bool IsCheckBoxHit(int x, int y, QTreeWidget *list);

} // namespace qandor
