#include "app/mainbackground.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>

namespace qandor {

MainBackground::MainBackground(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainBack"));
    setAutoFillBackground(false);
}

bool MainBackground::loadPicture(const QString &path)
{
    if (path.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return false;
    QPixmap p;
    if (!p.load(path))
        return false;
    m_picture = p;
    m_path = path;
    update();
    return true;
}

void MainBackground::useBuiltIn()
{
    m_picture = QPixmap();
    m_path.clear();
    update();
}

void MainBackground::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    if (!m_picture.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(r, m_picture);
        return;
    }
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, QColor(0xe8, 0xf3, 0xfb));
    g.setColorAt(0.55, QColor(0xd4, 0xea, 0xe4));
    g.setColorAt(1.0, QColor(0xb9, 0xd7, 0xea));
    p.fillRect(r, g);

    // A few soft "book spines" along the bottom edge.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor spines[] = {QColor(31, 95, 139, 40), QColor(60, 157, 155, 40), QColor(200, 120, 60, 35)};
    const int h = r.height();
    for (int i = 0, x = r.width() / 12; x < r.width() - 20; ++i) {
        const int w = 18 + (i * 7) % 14;
        const int sh = h / 6 + (i * 37) % (h / 8 + 1);
        p.setBrush(spines[i % 3]);
        p.drawRoundedRect(QRect(x, h - sh - 24, w, sh), 3, 3);
        x += w + 4 + (i % 4 == 3 ? 30 : 0);
    }

    QFont title = font();
    title.setPointSize(qMax(18, r.height() / 18));
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(31, 95, 139, 190));
    p.drawText(r.adjusted(0, 0, 0, -r.height() / 6), Qt::AlignCenter, QStringLiteral("Qandor图书馆管理系统"));
    QFont sub = font();
    sub.setPointSize(qMax(10, r.height() / 45));
    p.setFont(sub);
    p.setPen(QColor(60, 90, 110, 170));
    p.drawText(r.adjusted(0, r.height() / 8, 0, 0), Qt::AlignCenter,
               QStringLiteral("借阅 · 续借 · 归还 · 编目 · 读者 · 统计"));
}

} // namespace qandor
