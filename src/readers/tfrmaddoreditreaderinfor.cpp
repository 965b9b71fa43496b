#include "readers/tfrmaddoreditreaderinfor.h"
#include "readers/readerwidgets.h"
#include "readers/tfrmtakephotofromvideo.h"
#include "reports/tfrmeditdataforchoice.h"
#include "widgets/pictures.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qandor {

namespace {
const QString Required = QStringLiteral("background-color:#a6caf0;"); // sky blue: must be filled

QLineEdit *lineEdit(QWidget *parent, const char *name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QComboBox *combo(QWidget *parent, const char *name, bool editable, const QStringList &items = {})
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    c->addItems(items);
    return c;
}
} // namespace

TfrmAddOrEditReaderInfor::TfrmAddOrEditReaderInfor(TBast &bast, NumberRule numbering, const Reader *existing,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_book(bast, numbering)
    , m_adding(existing == nullptr)
{
    setObjectName(QStringLiteral("frmAddOrEditReaderInfor"));
    setWindowTitle(m_adding ? QStringLiteral("添加读者信息") : QStringLiteral("修改当前选中的读者信息"));
    ensureCameraRegistered();

    auto *outer = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("读者基本信息(注：蓝色编辑框为必填项目)"), this);
    auto *g = new QGridLayout(group);
    outer->addWidget(group);

    m_no = lineEdit(group, "R_NO", 50);
    m_name = lineEdit(group, "R_Name", 50);
    m_sex = combo(group, "R_sex", false, {QStringLiteral("男"), QStringLiteral("女")});
    m_type = combo(group, "R_Type", true);
    m_deposit = new MoneyEdit(group);
    m_deposit->setObjectName(QStringLiteral("R_foregift"));
    m_limitFlag = combo(group, "R_LimitFlag", false, {QStringLiteral("无"), QStringLiteral("有")});
    m_endDay = new NullableDateEdit(group);
    m_endDay->setObjectName(QStringLiteral("R_EndDay"));
    m_birthDay = new NullableDateEdit(group);
    m_birthDay->setObjectName(QStringLiteral("R_BirthDay"));
    m_part = combo(group, "R_Part", true);
    m_createDay = new NullableDateEdit(group);
    m_createDay->setObjectName(QStringLiteral("R_CreateDay"));
    m_tel = lineEdit(group, "R_Tel", 50);
    m_email = lineEdit(group, "R_Email", 100);
    m_adr = lineEdit(group, "R_adr", 255);
    m_memo = new QPlainTextEdit(group);
    m_memo->setObjectName(QStringLiteral("R_Memo"));
    m_memo->setFixedHeight(60);
    for (QWidget *w : {static_cast<QWidget *>(m_no), static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_type)})
        w->setStyleSheet(Required);

    auto put = [&](int row, int col, const QString &caption, QWidget *w) {
        g->addWidget(new QLabel(caption, group), row, col * 2);
        g->addWidget(w, row, col * 2 + 1);
    };
    put(0, 0, QStringLiteral("读者编号："), m_no);
    put(0, 1, QStringLiteral("读者姓名："), m_name);
    put(1, 0, QStringLiteral("读者性别："), m_sex);
    put(1, 1, QStringLiteral("读者类型："), m_type);
    put(2, 0, QStringLiteral("押金："), m_deposit);
    put(2, 1, QStringLiteral("有效期限制："), m_limitFlag);
    put(3, 0, QStringLiteral("截止日期："), m_endDay);
    put(3, 1, QStringLiteral("出生日期："), m_birthDay);
    put(4, 0, QStringLiteral("单位部门："), m_part);
    put(4, 1, QStringLiteral("办证日期："), m_createDay);
    put(5, 0, QStringLiteral("联系电话："), m_tel);
    put(5, 1, QStringLiteral("电子邮箱："), m_email);
    g->addWidget(new QLabel(QStringLiteral("联系地址："), group), 6, 0);
    g->addWidget(m_adr, 6, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("备注信息："), group), 7, 0);
    g->addWidget(m_memo, 7, 1, 1, 3);

    auto *photoBox = new QGroupBox(QStringLiteral("照片"), group);
    auto *pv = new QVBoxLayout(photoBox);
    m_pic = new QLabel(photoBox);
    m_pic->setObjectName(QStringLiteral("Pic"));
    m_pic->setFixedSize(100, 125);
    m_pic->setFrameShape(QFrame::Box);
    m_pic->setAlignment(Qt::AlignCenter);
    m_pic->setScaledContents(true);
    pv->addWidget(m_pic, 0, Qt::AlignHCenter);
    auto photoButton = [&](const char *name, const QString &text, void (TfrmAddOrEditReaderInfor::*slot)()) {
        auto *b = new QPushButton(text, photoBox);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        pv->addWidget(b);
    };
    photoButton("pic_add", QStringLiteral("选择照片"), &TfrmAddOrEditReaderInfor::choosePhoto);
    photoButton("takephoto", QStringLiteral("视频拍照"), &TfrmAddOrEditReaderInfor::takePhoto);
    photoButton("pic_del", QStringLiteral("清除照片"), &TfrmAddOrEditReaderInfor::clearPhoto);
    g->addWidget(photoBox, 0, 4, 8, 1);

    auto *buttons = new QHBoxLayout;
    auto *readCard = new QPushButton(QStringLiteral("读卡(&R)"), this);
    readCard->setObjectName(QStringLiteral("RzBitBtn1"));
    readCard->hide(); // no card reader device is supported
    buttons->addWidget(readCard);
    buttons->addStretch();
    m_saveContinue = new QPushButton(QStringLiteral("保存继续(&A)"), this);
    m_saveContinue->setObjectName(QStringLiteral("SaveAndContinu"));
    m_saveClose = new QPushButton(m_adding ? QStringLiteral("保存退出(&S)") : QStringLiteral("保存退出"), this);
    m_saveClose->setObjectName(QStringLiteral("SaveAndClose"));
    auto *cancel = new QPushButton(QStringLiteral("取消退出(&Q)"), this);
    cancel->setObjectName(QStringLiteral("CancelAndClose"));
    buttons->addWidget(m_saveContinue);
    buttons->addWidget(m_saveClose);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    m_saveContinue->setVisible(m_adding);
    connect(m_saveContinue, &QPushButton::clicked, this, &TfrmAddOrEditReaderInfor::saveAndContinue);
    connect(m_saveClose, &QPushButton::clicked, this, &TfrmAddOrEditReaderInfor::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects too

    // Dialog show, step 1: the lists.
    m_typeItems = m_book.typeNames();
    m_type->addItems(m_typeItems);
    m_part->addItems(m_book.departments());
    connect(m_part, &QComboBox::activated, this, &TfrmAddOrEditReaderInfor::departmentChosen);
    for (QWidget *w : {static_cast<QWidget *>(m_type), static_cast<QWidget *>(m_createDay), static_cast<QWidget *>(m_no)})
        w->installEventFilter(this);

    if (existing) {
        m_reader = *existing;
        m_startNumber = existing->number;
        showReader(m_reader);
        m_no->setFocus();
    } else {
        startNewReader();
    }
    setFixedSize(sizeHint());
}

void TfrmAddOrEditReaderInfor::showReader(const Reader &r)
{
    m_filling = true;
    m_no->setText(r.number);
    m_name->setText(r.name);
    m_sex->setCurrentIndex(r.sex == QStringLiteral("女") ? 1 : r.sex == QStringLiteral("男") ? 0 : -1);
    m_type->setCurrentIndex(m_type->findText(r.type));
    m_type->setEditText(r.type);
    m_deposit->setMoney(r.deposit);
    m_limitFlag->setCurrentIndex(r.limitFlag == QStringLiteral("有") ? 1 : 0);
    m_endDay->setNullableDate(r.endDay);
    m_birthDay->setNullableDate(r.birthDay);
    m_part->setCurrentIndex(-1);
    m_part->setEditText(r.department);
    m_createDay->setNullableDate(r.createDay);
    m_tel->setText(r.tel);
    m_email->setText(r.email);
    m_adr->setText(r.address);
    m_memo->setPlainText(r.memo);
    m_photo = r.photo;
    if (!Pictures::LoadJpegToImage(m_pic, m_photo.isEmpty() ? QVariant() : QVariant(m_photo)))
        m_pic->clear();
    m_filling = false;
}

void TfrmAddOrEditReaderInfor::startNewReader()
{
    m_reader = m_book.newReader();
    m_startNumber.clear();
    showReader(m_reader);
    if (m_book.numbering().autoOn && !m_reader.number.isEmpty())
        m_name->setFocus();
    else
        m_no->setFocus();
}

Reader TfrmAddOrEditReaderInfor::readerOnScreen() const
{
    Reader r = m_reader;
    r.number = m_no->text();
    r.name = m_name->text();
    r.sex = m_sex->currentText();
    r.type = m_type->currentText();
    r.deposit = m_deposit->money();
    r.limitFlag = m_limitFlag->currentText();
    r.endDay = m_endDay->nullableDate();
    r.birthDay = m_birthDay->nullableDate();
    r.department = m_part->currentText();
    r.createDay = m_createDay->nullableDate();
    if (!r.createDay.isValid())
        r.createDay = m_book.today();
    r.tel = m_tel->text();
    r.email = m_email->text();
    r.address = m_adr->text();
    r.memo = m_memo->toPlainText();
    r.photo = m_photo;
    return r;
}

void TfrmAddOrEditReaderInfor::typeLeft()
{
    Reader r = readerOnScreen();
    if (r.type.trimmed().isEmpty())
        return;
    m_book.applyType(r);
    m_deposit->setMoney(r.deposit);
    m_limitFlag->setCurrentIndex(r.limitFlag == QStringLiteral("有") ? 1 : 0);
    m_endDay->setNullableDate(r.endDay);
}

void TfrmAddOrEditReaderInfor::createDayLeft()
{
    const QDate d = m_createDay->nullableDate();
    if (!d.isValid()) {
        m_createDay->setNullableDate(m_book.today());
        return;
    }
    if (d != m_book.today())
        typeLeft();
}

void TfrmAddOrEditReaderInfor::numberLeft()
{
    if (!m_adding || !m_book.numbering().autoOn || !m_no->text().trimmed().isEmpty())
        return;
    if (const auto n = m_book.proposeNumber())
        m_no->setText(*n);
}

bool TfrmAddOrEditReaderInfor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_filling) {
        if (watched == m_type)
            typeLeft();
        else if (watched == m_createDay)
            createDayLeft();
        else if (watched == m_no)
            numberLeft();
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAddOrEditReaderInfor::departmentChosen(int index)
{
    if (m_part->itemText(index) != QString::fromUtf8(TBast::EditEntry))
        return;
    QStringList list;
    EditListValues(m_book.bast(), list, QStringLiteral("单位部门"), QStringLiteral("名称"), this);
    m_part->clear();
    m_part->addItems(m_book.departments());
    m_part->setCurrentIndex(-1);
    m_part->setEditText(QString());
}

void TfrmAddOrEditReaderInfor::focusEditor(const QString &name)
{
    if (auto *w = findChild<QWidget *>(name)) {
        w->setFocus();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->selectAll();
    }
}

bool TfrmAddOrEditReaderInfor::save(bool close)
{
    Reader r = readerOnScreen();
    m_filling = true; // the focus moves below must not re-run the leave rules
    const auto result = m_book.save(r, m_adding, m_startNumber, m_typeItems);
    m_filling = false;
    switch (result) {
    case ReaderBook::SaveResult::Refused:
        if (const auto failure = m_book.check(r, m_adding, m_startNumber, m_typeItems))
            focusEditor(failure->focus);
        return false;
    case ReaderBook::SaveResult::Collision:
        m_no->setText(r.number); // the next free number, offered for another try
        focusEditor(QStringLiteral("R_NO"));
        return false;
    case ReaderBook::SaveResult::Failed:
        return false;
    case ReaderBook::SaveResult::Saved:
        break;
    }
    m_savedIds << r.id;
    emit readerSaved(r.id);
    if (close) {
        accept();
    } else {
        m_pic->clear();
        m_photo.clear();
        startNewReader();
    }
    return true;
}

bool TfrmAddOrEditReaderInfor::saveAndContinue() { return save(false); }
bool TfrmAddOrEditReaderInfor::saveAndClose() { return save(true); }

bool TfrmAddOrEditReaderInfor::loadPhotoFile(const QString &path)
{
    const auto jpeg = Pictures::LoadImageFile(m_pic, path, 125, 100, m_book.bast().messageSink());
    if (!jpeg)
        return false;
    m_photo = *jpeg;
    return true;
}

void TfrmAddOrEditReaderInfor::setPhoto(const QByteArray &jpeg)
{
    m_photo = jpeg;
    if (!Pictures::LoadJpegToImage(m_pic, QVariant(jpeg)))
        m_pic->clear();
}

void TfrmAddOrEditReaderInfor::choosePhoto()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("选择照片"), QString(),
                                                      QStringLiteral("图片文件 (*.jpg *.JPG *.jpeg *.bmp *.BMP)"));
    if (!path.isEmpty())
        loadPhotoFile(path);
}

void TfrmAddOrEditReaderInfor::clearPhoto()
{
    if (m_photo.isEmpty()) {
        m_book.bast().ShowMsg(QStringLiteral("当前照片已经为已经为空！"), QStringLiteral("warn"));
        return;
    }
    m_photo.clear();
    m_pic->clear();
}

void TfrmAddOrEditReaderInfor::takePhoto()
{
    // Nothing captured (no camera, or the operator left): the photo stays.
    if (const auto jpeg = Pictures::CapturePhoto(this, m_book.bast().messageSink()))
        setPhoto(*jpeg);
}

} // namespace qandor
