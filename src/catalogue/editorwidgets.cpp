#include "catalogue/editorwidgets.h"
#include "data/money.h"
#include "reports/tfrmeditdataforchoice.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace qandor {

namespace {
const QString DateFormat = QStringLiteral("yyyy-MM-dd");

QString controlText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        return m->toPlainText();
    return {};
}

void setControlText(QWidget *w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setText(text);
        e->setCursorPosition(0);
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        const QSignalBlocker block(c);
        c->setCurrentText(text);
    } else if (auto *m = qobject_cast<QPlainTextEdit *>(w)) {
        m->setPlainText(text);
    }
}
} // namespace

void EditorBinding::pull(EditorRecord &record, const QDate &today) const
{
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const QString &col = it.key();
        const QString text = controlText(it.value());
        if (EditorRecords::isDateColumn(col)) {
            QDate d = QDate::fromString(text.trimmed(), DateFormat);
            if (!d.isValid() && col == QStringLiteral("入库时间"))
                d = today;
            record.insert(col, d);
        } else if (EditorRecords::isMoneyColumn(col)) {
            record.insert(col, QVariant::fromValue(Money::parse(text.trimmed()).value_or(Money())));
        } else if (EditorRecords::isIntColumn(col)) {
            record.insert(col, text.trimmed().toInt());
        } else if (!EditorRecords::isPictureColumn(col)) {
            record.insert(col, text);
        }
    }
}

void EditorBinding::push(const EditorRecord &record) const
{
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const QString &col = it.key();
        const QVariant v = record.value(col);
        QString text;
        if (EditorRecords::isDateColumn(col))
            text = v.toDate().isValid() ? v.toDate().toString(DateFormat) : QString();
        else if (EditorRecords::isMoneyColumn(col))
            text = v.value<Money>().toString();
        else if (EditorRecords::isIntColumn(col))
            text = QString::number(v.toInt());
        else if (EditorRecords::isPictureColumn(col))
            continue;
        else
            text = v.toString();
        setControlText(it.value(), text);
    }
}

namespace EditorWidgets {

bool fillPickList(QComboBox *box, TBast &bast, const QString &table, const QString &column)
{
    QStringList items;
    const bool ok = bast.FillEditableList(items, table, column);
    const QSignalBlocker block(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentText(text);
    return ok;
}

bool handleEditEntry(QComboBox *box, TBast &bast, const QString &table, const QString &column, QWidget *parent)
{
    if (box->currentText().trimmed() != QString::fromUtf8(TBast::EditEntry))
        return false;
    QStringList items;
    EditListValues(bast, items, table, column, parent);
    {
        const QSignalBlocker block(box);
        box->setCurrentText(QString());
    }
    fillPickList(box, bast, table, column);
    const QSignalBlocker block(box);
    box->setCurrentText(QString());
    return true;
}

void showPicture(QLabel *label, const QByteArray &jpeg)
{
    QImage img;
    if (jpeg.isEmpty() || !img.loadFromData(jpeg)) {
        label->clear();
        return;
    }
    label->setPixmap(QPixmap::fromImage(img).scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace EditorWidgets
} // namespace qandor

#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace qandor::EditorWidgets {

QGroupBox *buildLookupGroup(QWidget *parent, bool book)
{
    auto *group = new QGroupBox(book ? QStringLiteral("输入标准ISBN号或者书名通过互联网检索图书信息并自动为图书编目[F2]")
                                     : QStringLiteral("输入标准ISSN号通过互联网检索期刊信息并自动为期刊编目[F2]"),
                                parent);
    group->setObjectName(QStringLiteral("SearchFromIntnet"));
    auto *lay = new QHBoxLayout(group);
    if (book) {
        auto *byIsbn = new QRadioButton(QStringLiteral("输入标准ISBN"), group);
        byIsbn->setObjectName(QStringLiteral("ISBN_Check"));
        byIsbn->setChecked(true);
        auto *byName = new QRadioButton(QStringLiteral("输入图书名称"), group);
        byName->setObjectName(QStringLiteral("Name_Check"));
        lay->addWidget(byIsbn);
        lay->addWidget(byName);
    } else {
        lay->addWidget(new QLabel(QStringLiteral("标准ISSN："), group));
    }
    auto *input = new QLineEdit(group);
    input->setObjectName(QStringLiteral("isbninput"));
    lay->addWidget(input, 1);
    auto *find = new QPushButton(QStringLiteral("开始从互联网检索图书信息  "), group);
    find->setObjectName(QStringLiteral("FindButton"));
    find->setEnabled(false);
    find->setToolTip(QStringLiteral("互联网检索功能暂未提供"));
    lay->addWidget(find);
    if (book) {
        auto *pic = new QPushButton(QStringLiteral("开始从互联网检索图书封面  "), group);
        pic->setObjectName(QStringLiteral("FindPicButton"));
        pic->setEnabled(false);
        pic->setToolTip(QStringLiteral("互联网检索功能暂未提供"));
        lay->addWidget(pic);
    }
    auto *status = new QWidget(group);
    status->setObjectName(QStringLiteral("inforshow"));
    auto *statusLay = new QHBoxLayout(status);
    statusLay->setContentsMargins(0, 0, 0, 0);
    auto *text = new QLabel(status);
    text->setObjectName(QStringLiteral("searchshow"));
    auto *bar = new QProgressBar(status);
    bar->setObjectName(QStringLiteral("ProgressBar"));
    statusLay->addWidget(text);
    statusLay->addWidget(bar);
    status->hide();
    lay->addWidget(status);
    return group;
}

void markRequired(QWidget *control)
{
    control->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid blue; background: #e8f0ff; }"));
}

} // namespace qandor::EditorWidgets
