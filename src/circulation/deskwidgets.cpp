#include "circulation/deskwidgets.h"
#include "widgets/pictures.h"

#include <QAction>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace qandor::DeskUi {

QLineEdit *field(const char *objectName, QWidget *parent, int width)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus); // Tab goes from input to input
    e->setStyleSheet(QStringLiteral("QLineEdit{background:#f4f6f8;}"));
    if (width > 0)
        e->setMinimumWidth(width);
    return e;
}

QLineEdit *input(const char *objectName, QWidget *parent, std::function<void()> lookUp)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setClearButtonEnabled(false);
    QAction *go = e->addAction(parent->style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
    go->setToolTip(QStringLiteral("检索"));
    QObject::connect(go, &QAction::triggered, e, lookUp);
    QObject::connect(e, &QLineEdit::returnPressed, e, lookUp);
    return e;
}

QPushButton *button(const char *objectName, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setMinimumHeight(30);
    return b;
}

void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *w)
{
    auto *l = new QLabel(caption, grid->parentWidget());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(w);
    grid->addWidget(l, row, col * 2);
    grid->addWidget(w, row, col * 2 + 1);
}

QGroupBox *photoPanel(QLabel *&pic, QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("读者照片"), parent);
    auto *lay = new QVBoxLayout(box);
    pic = new QLabel(box);
    pic->setObjectName(QStringLiteral("Pic"));
    pic->setFixedSize(110, 140);
    pic->setScaledContents(true);
    pic->setFrameShape(QFrame::StyledPanel);
    pic->setAlignment(Qt::AlignCenter);
    lay->addWidget(pic, 0, Qt::AlignCenter);
    return box;
}

void showPhoto(QLabel *pic, const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        pic->clear();
    else
        Pictures::LoadJpegToImage(pic, QVariant(jpeg));
}

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy年MM月dd日 hh时mm分"));
}

QWidget *operatorAndClock(const QString &operatorName, bool ticking, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *lay = new QHBoxLayout(w);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(new QLabel(QStringLiteral("当前操作员："), w));
    auto *op = new QLabel(operatorName, w);
    op->setObjectName(QStringLiteral("OperatorName"));
    op->setStyleSheet(QStringLiteral("color:#1a4f8b;font-weight:bold;"));
    lay->addWidget(op);
    lay->addSpacing(24);
    lay->addWidget(new QLabel(QStringLiteral("当前日期时间："), w));
    auto *clock = new QLabel(nowText(), w);
    clock->setObjectName(QStringLiteral("NowShow"));
    clock->setStyleSheet(QStringLiteral("color:#1a4f8b;font-weight:bold;"));
    lay->addWidget(clock);
    if (ticking) {
        auto *timer = new QTimer(clock);
        timer->setObjectName(QStringLiteral("Timer1"));
        QObject::connect(timer, &QTimer::timeout, clock, [clock] { clock->setText(nowText()); });
        timer->start(1000);
    }
    lay->addStretch();
    return w;
}

QTreeWidget *bookList(const QStringList &captions, bool checkBoxes, QWidget *parent)
{
    auto *t = new QTreeWidget(parent);
    t->setObjectName(QStringLiteral("BookList"));
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setAlternatingRowColors(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setSortingEnabled(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setHeaderLabels(captions);
    t->header()->setSectionsClickable(false);
    t->header()->setStretchLastSection(true);
    Q_UNUSED(checkBoxes);
    return t;
}

void focusBox(QLineEdit *box, bool select)
{
    if (!box)
        return;
    box->setFocus();
    if (select)
        box->selectAll();
}

QString count(int n, const QString &unit) { return QString::number(n) + unit; }

} // namespace qandor::DeskUi
