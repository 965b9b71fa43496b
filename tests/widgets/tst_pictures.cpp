#include "widgets/pictures.h"
#include "support/recordingsink.h"

#include <QtNetwork>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void blobRoundTrip();
    void nullBlob();
    void imageFile_data();
    void imageFile();
    void unreadableFile();
    void webPicture();
    void webFailures_data();
    void webFailures();
    void camera();
    void browseStart();
    void checkListItems_data();
    void checkListItems();
    void checkBoxHit();
};

namespace {

QImage sample(int w = 40, int h = 30)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor(200, 30, 30));
    return img;
}

QByteArray encoded(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

bool isJpeg(const QByteArray &b)
{
    return b.size() > 2 && quint8(b[0]) == 0xFF && quint8(b[1]) == 0xD8;
}

// A one-shot HTTP server on 127.0.0.1 answering every request with the
// given status and body.
class TinyHttp : public QObject {
public:
    TinyHttp(int status, QByteArray body) : m_status(status), m_body(std::move(body))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    m_request += s->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
                    s->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason + "\r\nContent-Type: image/png\r\nContent-Length: "
                             + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
                    s->disconnectFromHost();
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QUrl url(const QString &path = QStringLiteral("/cover.png")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    QByteArray request() const { return m_request; }

private:
    QTcpServer m_server;
    int m_status;
    QByteArray m_body;
    QByteArray m_request;
};

} // namespace

void TestPictures::blobRoundTrip()
{
    const QByteArray jpeg = Pictures::toJpeg(sample());
    QVERIFY(isJpeg(jpeg));
    QLabel label;
    QVERIFY(Pictures::LoadJpegToImage(&label, QVariant(jpeg)));
    QCOMPARE(label.pixmap().size(), QSize(40, 30));
    QImage picture;
    QVERIFY(Pictures::LoadJpegToPicture(picture, QVariant(jpeg)));
    QCOMPARE(picture.size(), QSize(40, 30));
    // Colour survives the trip within JPEG's loss.
    const QColor c = picture.pixelColor(20, 15);
    QVERIFY(qAbs(c.red() - 200) < 20 && c.green() < 60 && c.blue() < 60);
}

void TestPictures::nullBlob()
{
    QLabel label;
    label.setPixmap(QPixmap::fromImage(sample()));
    QVERIFY(!Pictures::LoadJpegToImage(&label, QVariant(QMetaType(QMetaType::QByteArray))));
    QVERIFY(label.pixmap().isNull());

    QImage picture = sample(5, 5);
    QVERIFY(!Pictures::LoadJpegToPicture(picture, QVariant(QMetaType(QMetaType::QByteArray))));
    QCOMPARE(picture.size(), QSize(5, 5)); // unchanged
    QVERIFY(!Pictures::LoadJpegToPicture(picture, QVariant(QByteArray("not a picture"))));
    QCOMPARE(picture.size(), QSize(5, 5));
}

void TestPictures::imageFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("png") << QStringLiteral("photo.png") << QByteArray("PNG");
    QTest::newRow("jpeg extension") << QStringLiteral("photo.jpeg") << QByteArray("JPG");
    QTest::newRow("bmp upper case") << QStringLiteral("PHOTO.BMP") << QByteArray("BMP");
    QTest::newRow("wrong extension") << QStringLiteral("photo.jpg") << QByteArray("PNG");
}

void TestPictures::imageFile()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, format);
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    QVERIFY(sample(64, 48).save(path, format.constData()));
    RecordingSink sink;
    QLabel label;
    const auto jpeg = Pictures::LoadImageFile(&label, path, 100, 80, &sink);
    QVERIFY(jpeg);
    QVERIFY(isJpeg(*jpeg));
    QCOMPARE(QImage::fromData(*jpeg, "JPG").size(), QSize(80, 100)); // stretched to width x height
    QCOMPARE(label.pixmap().size(), QSize(80, 100));
    QVERIFY(sink.entries.isEmpty());
}

void TestPictures::unreadableFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.jpg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is no picture");
    f.close();
    RecordingSink sink;
    QLabel label;
    QVERIFY(!Pictures::LoadImageFile(&label, path, 10, 10, &sink));
    QVERIFY(!Pictures::LoadImageFile(&label, dir.filePath(QStringLiteral("missing.png")), 10, 10, &sink));
    QCOMPARE(sink.texts(), (QStringList{QStringLiteral("图片格式无法识别！"), QStringLiteral("图片格式无法识别！")}));
    QCOMPARE(sink.lastKind(), QStringLiteral("error"));
}

void TestPictures::webPicture()
{
    TinyHttp server(200, encoded(sample(33, 22), "PNG"));
    QLabel label;
    QString error;
    const auto jpeg = Pictures::LoadWebImage(server.url(), &label, &error);
    QVERIFY2(jpeg, qPrintable(error));
    QVERIFY(error.isEmpty());
    QVERIFY(isJpeg(*jpeg));
    QCOMPARE(QImage::fromData(*jpeg).size(), QSize(33, 22));
    QCOMPARE(label.pixmap().size(), QSize(33, 22));
    QVERIFY(server.request().startsWith("GET /cover.png"));
}

void TestPictures::webFailures_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("refused");
    QTest::newRow("not found") << 404 << QByteArray("<html>no</html>") << false;
    QTest::newRow("not a picture") << 200 << QByteArray("<html>cover</html>") << false;
    QTest::newRow("refused") << 200 << QByteArray() << true;
}

void TestPictures::webFailures()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, refused);
    QUrl url;
    std::unique_ptr<TinyHttp> server;
    if (refused) {
        // A port nobody listens on: take one and let it go.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        url = QUrl(QStringLiteral("http://127.0.0.1:%1/cover.png").arg(probe.serverPort()));
    } else {
        server = std::make_unique<TinyHttp>(status, body);
        url = server->url();
    }
    QLabel label;
    label.setPixmap(QPixmap::fromImage(sample()));
    QString error;
    QVERIFY(!Pictures::LoadWebImage(url, &label, &error));
    QCOMPARE(error, QStringLiteral("图书封面获取失败，请稍后重试！"));
    QCOMPARE(label.pixmap().size(), QSize(40, 30)); // the old picture stays
}

void TestPictures::camera()
{
    RecordingSink sink;
    Pictures::registerCamera({});
    QVERIFY(!Pictures::cameraAvailable());
    QVERIFY(!Pictures::CapturePhoto(nullptr, &sink));
    QCOMPARE(sink.texts(), QStringList{QStringLiteral("未检测到摄像头！")});

    Pictures::registerCamera([](QWidget *) -> std::optional<QImage> { return sample(16, 12); });
    const auto jpeg = Pictures::CapturePhoto(nullptr, &sink);
    QVERIFY(jpeg);
    QVERIFY(isJpeg(*jpeg));
    QCOMPARE(QImage::fromData(*jpeg).size(), QSize(16, 12));
    Pictures::registerCamera([](QWidget *) -> std::optional<QImage> { return std::nullopt; }); // operator gave up
    QVERIFY(!Pictures::CapturePhoto(nullptr, &sink));
    QCOMPARE(sink.entries.size(), 1);
    Pictures::registerCamera({});
}

void TestPictures::browseStart()
{
    QTemporaryDir dir;
    QString folder = dir.path();
    QCOMPARE(browseStartFolder(folder, QStringLiteral("/")), dir.path());
    QCOMPARE(folder, dir.path());
    folder = dir.filePath(QStringLiteral("gone"));
    QCOMPARE(browseStartFolder(folder, dir.path()), dir.path());
    QVERIFY(folder.isEmpty());
}

void TestPictures::checkListItems_data()
{
    QTest::addColumn<QList<bool>>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<bool>>("after");
    QTest::addColumn<int>("result");
    const QList<bool> mixed{true, false, false};
    QTest::newRow("invert") << mixed << -1 << QList<bool>{false, true, true} << 2;
    QTest::newRow("clear") << mixed << 0 << QList<bool>{false, false, false} << 0;
    QTest::newRow("tick all") << mixed << 1 << QList<bool>{true, true, true} << 3;
    QTest::newRow("other mode ticks all") << mixed << 7 << QList<bool>{true, true, true} << 3;
    QTest::newRow("empty list") << QList<bool>{} << -1 << QList<bool>{} << 0;
}

void TestPictures::checkListItems()
{
    QFETCH(QList<bool>, before);
    QFETCH(int, mode);
    QFETCH(QList<bool>, after);
    QFETCH(int, result);
    QListWidget list;
    QTreeWidget tree;
    for (bool b : before) {
        auto *li = new QListWidgetItem(QStringLiteral("项"), &list);
        li->setCheckState(b ? Qt::Checked : Qt::Unchecked);
        auto *ti = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("项")});
        ti->setCheckState(0, b ? Qt::Checked : Qt::Unchecked);
    }
    QCOMPARE(CheckListItems(&list, mode), result);
    QCOMPARE(CheckListItems(&tree, mode), result);
    for (int i = 0; i < after.size(); ++i) {
        QCOMPARE(list.item(i)->checkState() == Qt::Checked, after[i]);
        QCOMPARE(tree.topLevelItem(i)->checkState(0) == Qt::Checked, after[i]);
    }
}

void TestPictures::checkBoxHit()
{
    QListWidget list;
    list.resize(300, 200);
    for (int i = 0; i < 3; ++i) {
        auto *item = new QListWidgetItem(QStringLiteral("一个很长的项目名称 %1").arg(i), &list);
        item->setCheckState(Qt::Unchecked);
    }
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QRect r = list.visualItemRect(list.item(1));
    QStyleOptionViewItem opt;
    opt.initFrom(&list);
    opt.rect = r;
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QPoint box = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, &list).center();
    QVERIFY(IsCheckBoxHit(box.x(), box.y(), &list));
    // Clicking the box toggles it, as the helper predicts.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(list.item(1)->checkState(), Qt::Checked);
    QVERIFY(!IsCheckBoxHit(r.right() - 5, box.y(), &list));      // on the text
    QVERIFY(!IsCheckBoxHit(box.x(), r.bottom() + 100, &list));   // below the items

    QTreeWidget tree;
    tree.resize(300, 200);
    auto *ti = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("一个很长的项目名称")});
    ti->setCheckState(0, Qt::Unchecked);
    auto *plain = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("没有复选框")});
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    const QRect tr = tree.visualItemRect(ti);
    QStyleOptionViewItem topt;
    topt.initFrom(&tree);
    topt.rect = QRect(tr.left(), tr.top(), tree.columnWidth(0) - tr.left(), tr.height());
    topt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QPoint tbox = tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &topt, &tree).center();
    QVERIFY(IsCheckBoxHit(tbox.x(), tbox.y(), &tree));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tbox);
    QCOMPARE(ti->checkState(0), Qt::Checked);
    const QRect pr = tree.visualItemRect(plain);
    QVERIFY(!IsCheckBoxHit(tbox.x(), pr.center().y(), &tree));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
