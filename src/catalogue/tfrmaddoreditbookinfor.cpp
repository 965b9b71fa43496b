#include "catalogue/tfrmaddoreditbookinfor.h"
#include "catalogue/tfrmbookconcernset.h"
#include "catalogue/tfrmcreatenum.h"
#include "catalogue/tfrmselectclassification.h"
#include "widgets/pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qandor {

namespace {
const QString Caller = QStringLiteral("frmAddOrEditBookInfor");
QString u(const char *s) { return QString::fromUtf8(s); }

enum class Kind { Line, ReadOnly, Chooser, Combo, Memo };
struct Field {
    const char *name;
    const char *label;
    const char *column;
    Kind kind;
};

// Tab order of the page "图书基本信息".
const Field Fields[] = {
    {"Book_NO", "图书编号", "图书编号", Kind::Line},
    {"Book_ISBN", "标准ISBN", "标准ISBN", Kind::Line},
    {"Book_Name", "图书名称", "图书名称", Kind::Line},
    {"Book_TypeNO", "分类号", "分类号", Kind::Chooser},
    {"Book_TypeName", "分类名", "分类名", Kind::Line},
    {"Book_TypeIndex", "种次号", "种次号", Kind::Line},
    {"Book_Index", "索书号", "索书号", Kind::ReadOnly},
    {"Book_Writer", "作者信息", "作者信息", Kind::Line},
    {"Book_Price", "定价", "定价", Kind::Line},
    {"Book_Public", "出版社", "出版社", Kind::Chooser},
    {"Book_City", "出版地", "出版地", Kind::Line},
    {"Book_Year", "出版年", "出版年", Kind::Line},
    {"Book_s", "密级", "密级", Kind::Combo},
    {"Book_Pos", "存放位置", "存放位置", Kind::Combo},
    {"Book_InDate", "入库时间", "入库时间", Kind::Line},
    {"inputindex", "批次", "批次", Kind::Line},
    {"Book_pagecount", "页码", "页码", Kind::Line},
    {"Book_size", "开本", "开本", Kind::Line},
    {"Book_language", "语种", "语种", Kind::Line},
    {"Book_pubcount", "版次", "版次", Kind::Line},
    {"Book_subjection", "所属丛书", "所属丛书", Kind::Line},
    {"Book_PrintType", "印刷版面", "印刷版面", Kind::Line},
    {"Book_accessory", "配送物品", "配送物品", Kind::Line},
    {"Book_Summary", "内容简介", "内容简介", Kind::Memo},
    {"Book_Memo", "备注信息", "备注信息", Kind::Memo},
};
} // namespace

TfrmAddOrEditBookInfor::TfrmAddOrEditBookInfor(const CatalogueContext &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_bast(*ctx.bast), m_logic(*ctx.bast, ctx.bookRule)
{
    setObjectName(QStringLiteral("frmAddOrEditBookInfor"));
    buildUi();
}

TfrmAddOrEditBookInfor::~TfrmAddOrEditBookInfor()
{
    // The boxes report leaving when they are destroyed after this part of
    // the window is gone; they must not reach the handlers any more.
    m_closing = true;
    const auto controls = findChildren<QWidget *>();
    for (QWidget *w : controls)
        w->disconnect(this);
}

void TfrmAddOrEditBookInfor::buildUi()
{
    auto *lookup = EditorWidgets::buildLookupGroup(this, true);
    auto *f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [lookup] {
        if (auto *box = lookup->findChild<QLineEdit *>(QStringLiteral("isbninput")))
            box->setFocus();
    });

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("图书基本信息"));
    auto *grid = new QGridLayout;
    int row = 0, col = 0;
    QWidget *previous = nullptr;
    for (const Field &f : Fields) {
        QWidget *control = nullptr;
        QWidget *cell = nullptr;
        switch (f.kind) {
        case Kind::Line:
        case Kind::ReadOnly: {
            auto *e = new QLineEdit(page);
            e->setReadOnly(f.kind == Kind::ReadOnly);
            control = cell = e;
            break;
        }
        case Kind::Chooser: {
            auto *e = new QLineEdit(page);
            auto *b = new QToolButton(page);
            b->setText(QStringLiteral("…"));
            b->setFocusPolicy(Qt::NoFocus);
            b->setObjectName(QString::fromUtf8(f.name) + QStringLiteral("Button"));
            cell = new QWidget(page);
            auto *h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(1);
            h->addWidget(e);
            h->addWidget(b);
            control = e;
            if (u(f.name) == QStringLiteral("Book_TypeNO"))
                connect(b, &QToolButton::clicked, this, &TfrmAddOrEditBookInfor::chooseClass);
            else
                connect(b, &QToolButton::clicked, this, &TfrmAddOrEditBookInfor::choosePublisher);
            e->installEventFilter(this);
            break;
        }
        case Kind::Combo: {
            auto *c = new QComboBox(page);
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            control = cell = c;
            break;
        }
        case Kind::Memo: {
            auto *m = new QPlainTextEdit(page);
            m->setTabChangesFocus(true);
            m->setMaximumHeight(60);
            control = cell = m;
            break;
        }
        }
        control->setObjectName(QString::fromUtf8(f.name));
        m_binding.bind(QString::fromUtf8(f.column), control);
        auto *label = new QLabel(QString::fromUtf8(f.label) + QLatin1Char(':'), page);
        label->setBuddy(control);
        if (f.kind == Kind::Memo) {
            if (col != 0) {
                ++row;
                col = 0;
            }
            grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignTop);
            grid->addWidget(cell, row, 1, 1, 5);
            ++row;
        } else {
            grid->addWidget(label, row, col * 2, Qt::AlignRight);
            grid->addWidget(cell, row, col * 2 + 1);
            if (++col == 3) {
                col = 0;
                ++row;
            }
        }
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    m_no = findChild<QLineEdit *>(QStringLiteral("Book_NO"));
    m_isbn = findChild<QLineEdit *>(QStringLiteral("Book_ISBN"));
    m_name = findChild<QLineEdit *>(QStringLiteral("Book_Name"));
    m_typeNo = findChild<QLineEdit *>(QStringLiteral("Book_TypeNO"));
    m_typeIndex = findChild<QLineEdit *>(QStringLiteral("Book_TypeIndex"));
    m_public = findChild<QLineEdit *>(QStringLiteral("Book_Public"));
    m_batch = findChild<QLineEdit *>(QStringLiteral("inputindex"));
    m_secret = findChild<QComboBox *>(QStringLiteral("Book_s"));
    m_pos = findChild<QComboBox *>(QStringLiteral("Book_Pos"));
    EditorWidgets::markRequired(m_no);
    EditorWidgets::markRequired(m_name);

    connect(m_no, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_NOExit);
    connect(m_isbn, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_ISBNExit);
    connect(m_batch, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_ISBNExit);
    connect(m_name, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_NameExit);
    connect(m_typeNo, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_TypeNOExit);
    connect(m_typeIndex, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_TypeIndexExit);
    connect(m_secret, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"), this);
    });
    connect(m_pos, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"), this);
    });

    auto *note = new QLabel(QStringLiteral("(注：蓝色编辑框为必填项目)"), page);
    note->setStyleSheet(QStringLiteral("color: blue;"));
    auto *pageLay = new QVBoxLayout(page);
    pageLay->addWidget(note);
    pageLay->addLayout(grid);
    pageLay->addStretch();

    // The cover picture.
    auto *picBox = new QGroupBox(QStringLiteral("图书图片"), this);
    picBox->setObjectName(QStringLiteral("PicBox"));
    m_pic = new QLabel(picBox);
    m_pic->setObjectName(QStringLiteral("Pic"));
    m_pic->setFixedSize(160, 200);
    m_pic->setFrameShape(QFrame::Box);
    m_pic->setAlignment(Qt::AlignCenter);
    m_pic->installEventFilter(this);
    auto *picLay = new QVBoxLayout(picBox);
    picLay->addWidget(m_pic, 0, Qt::AlignHCenter);
    auto picButton = [&](const char *name, const QString &caption, void (TfrmAddOrEditBookInfor::*slot)()) {
        auto *b = new QPushButton(caption, picBox);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        picLay->addWidget(b);
    };
    picButton("pic_add", QStringLiteral("选择图片"), &TfrmAddOrEditBookInfor::choosePictureFile);
    picButton("takephoto", QStringLiteral("视频拍照"), &TfrmAddOrEditBookInfor::takePhoto);
    picButton("pic_del", QStringLiteral("清除图片"), &TfrmAddOrEditBookInfor::clearPicture);
    picButton("Pic_show", QStringLiteral("查看大图"), &TfrmAddOrEditBookInfor::showBigPicture);
    picLay->addStretch();

    // Multi-volume settings.
    m_numGroup = new QGroupBox(QStringLiteral("图书多卷生成设置"), this);
    m_numGroup->setObjectName(QStringLiteral("NumGroup"));
    auto *numLay = new QHBoxLayout(m_numGroup);
    auto check = [&](QWidget *parent, const char *name, const QString &caption) {
        auto *c = new QCheckBox(caption, parent);
        c->setObjectName(QString::fromUtf8(name));
        return c;
    };
    auto spin = [&](const char *name) {
        auto *s = new QSpinBox(m_numGroup);
        s->setObjectName(QString::fromUtf8(name));
        s->setRange(2, 99);
        s->setValue(2);
        s->setEnabled(false);
        s->setToolTip(QStringLiteral("输入数值的范围限制在2～99之间"));
        return s;
    };
    m_two = check(m_numGroup, "CheckTwo", QStringLiteral("本书分上、下卷"));
    m_three = check(m_numGroup, "CheckThree", QStringLiteral("本书分上、中、下卷"));
    m_num = check(m_numGroup, "CheckNum", QStringLiteral("本书分"));
    m_numSet = spin("NumSet");
    m_sames = check(m_numGroup, "CheckSames", QStringLiteral("本书有"));
    m_samesSet = spin("SamesSet");
    numLay->addWidget(m_two);
    numLay->addWidget(m_three);
    numLay->addWidget(m_num);
    numLay->addWidget(m_numSet);
    numLay->addWidget(new QLabel(QStringLiteral("卷"), m_numGroup));
    numLay->addWidget(m_sames);
    numLay->addWidget(m_samesSet);
    numLay->addWidget(new QLabel(QStringLiteral("本"), m_numGroup));
    numLay->addStretch();
    for (QCheckBox *c : {m_two, m_three, m_num, m_sames})
        connect(c, &QCheckBox::toggled, this, [this, c](bool on) { volumeToggled(c, on); });

    m_paramGroup = new QGroupBox(QStringLiteral("图书录入参数设置"), this);
    m_paramGroup->setObjectName(QStringLiteral("ParameterGroup"));
    auto *paramLay = new QHBoxLayout(m_paramGroup);
    m_askTitle = check(m_paramGroup, "CheckBox2", QStringLiteral("存在同名图书时弹出提示"));
    m_isbnDirect = check(m_paramGroup, "CheckBox3", QStringLiteral("存在相同ISBN时直接调用"));
    m_askTitle->setChecked(true);
    m_isbnDirect->setChecked(true);
    auto *copy = new QPushButton(QStringLiteral("复制上本图书信息(&C)"), m_paramGroup);
    copy->setObjectName(QStringLiteral("CopyPrior"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &TfrmAddOrEditBookInfor::copyPrior);
    auto *rule = new QPushButton(QStringLiteral("设置图书编号规则(&N)"), m_paramGroup);
    rule->setObjectName(QStringLiteral("SpeedButton1"));
    rule->setAutoDefault(false);
    connect(rule, &QPushButton::clicked, this, &TfrmAddOrEditBookInfor::openNumbering);
    paramLay->addWidget(m_askTitle);
    paramLay->addWidget(m_isbnDirect);
    paramLay->addStretch();
    paramLay->addWidget(copy);
    paramLay->addWidget(rule);

    m_saveAndContinue = new QPushButton(QStringLiteral("保存继续(&A)"), this);
    m_saveAndContinue->setObjectName(QStringLiteral("SaveAndContinu"));
    m_saveAndClose = new QPushButton(QStringLiteral("保存退出(&S)"), this);
    m_saveAndClose->setObjectName(QStringLiteral("SaveAndClose"));
    auto *cancel = new QPushButton(QStringLiteral("取消退出(&Q)"), this);
    cancel->setObjectName(QStringLiteral("CancelAndClose"));
    for (QPushButton *b : {m_saveAndContinue, m_saveAndClose, cancel})
        b->setAutoDefault(false);
    connect(m_saveAndContinue, &QPushButton::clicked, this, &TfrmAddOrEditBookInfor::saveAndContinue);
    connect(m_saveAndClose, &QPushButton::clicked, this, &TfrmAddOrEditBookInfor::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &TfrmAddOrEditBookInfor::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveAndContinue);
    buttons->addWidget(m_saveAndClose);
    buttons->addWidget(cancel);

    auto *middle = new QHBoxLayout;
    middle->addWidget(tabs, 1);
    middle->addWidget(picBox);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(lookup);
    lay->addLayout(middle, 1);
    lay->addWidget(m_numGroup);
    lay->addWidget(m_paramGroup);
    lay->addLayout(buttons);

    // The large picture lies over the middle of the window when shown.
    m_bigPanel = new QGroupBox(QStringLiteral("图书图片"), this);
    m_bigPanel->setObjectName(QStringLiteral("ShowBigPic"));
    m_bigPic = new QLabel(m_bigPanel);
    m_bigPic->setObjectName(QStringLiteral("BigPic"));
    m_bigPic->setFixedSize(240, 300);
    m_bigPic->setAlignment(Qt::AlignCenter);
    auto *closeBig = new QPushButton(QStringLiteral("关闭"), m_bigPanel);
    closeBig->setObjectName(QStringLiteral("B_CloseBigPic"));
    closeBig->setAutoDefault(false);
    connect(closeBig, &QPushButton::clicked, m_bigPanel, &QWidget::hide);
    auto *bigLay = new QVBoxLayout(m_bigPanel);
    bigLay->addWidget(m_bigPic);
    bigLay->addWidget(closeBig, 0, Qt::AlignHCenter);
    m_bigPanel->setAutoFillBackground(true);
    m_bigPanel->hide();

    resize(900, 640);
}

bool TfrmAddOrEditBookInfor::startAdd()
{
    setWindowTitle(QStringLiteral("添加图书信息"));
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    const bool numbered = m_logic.beginAdd();
    push();
    (numbered ? m_isbn : m_no)->setFocus();
    return true;
}

bool TfrmAddOrEditBookInfor::startEdit(qint64 id)
{
    setWindowTitle(QStringLiteral("修改当前选中的图书信息"));
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    if (!m_logic.beginEdit(id))
        return false;
    m_numGroup->hide();
    m_paramGroup->hide();
    m_saveAndContinue->hide();
    resize(width(), height() - 68);
    push();
    m_no->setFocus();
    return true;
}

void TfrmAddOrEditBookInfor::pull() { m_binding.pull(m_logic.record, m_logic.today()); }

void TfrmAddOrEditBookInfor::push()
{
    m_binding.push(m_logic.record);
    refreshPicture();
}

void TfrmAddOrEditBookInfor::refreshPicture()
{
    EditorWidgets::showPicture(m_pic, m_logic.record.value(QStringLiteral("图片")).toByteArray());
}

void TfrmAddOrEditBookInfor::Book_NOExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.bookNoLeft();
    push();
}

void TfrmAddOrEditBookInfor::Book_ISBNExit()
{
    if (m_closing)
        return;
    pull();
    if (!m_logic.confirmIsbn()) {
        m_isbn->setFocus();
        m_isbn->selectAll();
        return;
    }
    const auto r = m_logic.RecallByIsbn();
    push();
    if (r == BookEditorLogic::Recall::Recalled)
        m_no->setFocus();
}

void TfrmAddOrEditBookInfor::Book_NameExit()
{
    if (m_closing)
        return;
    pull();
    const auto r = m_logic.RecallByTitle();
    push();
    if (r == BookEditorLogic::Recall::Recalled)
        m_no->setFocus();
}

void TfrmAddOrEditBookInfor::Book_TypeNOExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.classNoLeft();
    push();
}

void TfrmAddOrEditBookInfor::Book_TypeIndexExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.seqNoLeft(m_typeIndex->text());
    push();
}

void TfrmAddOrEditBookInfor::applyClass(const QString &code, const QString &name)
{
    pull();
    m_logic.record.insert(QStringLiteral("分类号"), code);
    m_logic.record.insert(QStringLiteral("分类名"), name);
    push();
}

void TfrmAddOrEditBookInfor::applyPublisher(const QString &name, const QString &city, const QString &isbn)
{
    pull();
    m_logic.record.insert(QStringLiteral("出版社"), name);
    m_logic.record.insert(QStringLiteral("出版地"), city);
    if (EditorRecords::text(m_logic.record, QStringLiteral("标准ISBN")).trimmed().isEmpty())
        m_logic.record.insert(QStringLiteral("标准ISBN"), isbn);
    push();
}

void TfrmAddOrEditBookInfor::chooseClass()
{
    TfrmSelectClassification dlg(m_bast, m_ctx.treeFile, Caller, this);
    if (dlg.exec() == QDialog::Accepted) {
        applyClass(dlg.code(), dlg.name());
        m_typeNo->setFocus();
    }
}

void TfrmAddOrEditBookInfor::choosePublisher()
{
    TfrmBookconcernSet dlg(m_bast, Caller, m_ctx.publisherRight, this);
    if (dlg.exec() == QDialog::Accepted && dlg.chosen()) {
        const Publisher p = *dlg.chosen();
        applyPublisher(p.name, p.city, p.isbn);
    }
}

bool TfrmAddOrEditBookInfor::loadPictureFile(const QString &fileName)
{
    const auto jpeg = Pictures::LoadImageFile(nullptr, fileName, 300, 240, m_bast.messageSink());
    if (!jpeg)
        return false;
    m_logic.setPicture(*jpeg);
    refreshPicture();
    return true;
}

void TfrmAddOrEditBookInfor::choosePictureFile()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择图片"), QString(),
                                                      QStringLiteral("图片文件 (*.jpg *.jpeg *.bmp *.png)"));
    if (!file.isEmpty())
        loadPictureFile(file);
}

void TfrmAddOrEditBookInfor::takePhoto()
{
    if (const auto jpeg = Pictures::CapturePhoto(this, m_bast.messageSink())) {
        m_logic.setPicture(*jpeg);
        refreshPicture();
    }
}

void TfrmAddOrEditBookInfor::clearPicture()
{
    if (m_logic.clearPicture())
        refreshPicture();
}

void TfrmAddOrEditBookInfor::showBigPicture()
{
    if (!m_logic.hasPicture())
        return;
    QImage img;
    img.loadFromData(m_logic.record.value(QStringLiteral("图片")).toByteArray());
    m_bigPic->setPixmap(QPixmap::fromImage(img).scaled(m_bigPic->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_bigPanel->adjustSize();
    m_bigPanel->move((width() - m_bigPanel->width()) / 2, (height() - m_bigPanel->height()) / 2);
    m_bigPanel->raise();
    m_bigPanel->show();
}

void TfrmAddOrEditBookInfor::copyPrior()
{
    pull();
    if (m_logic.CopyPrior())
        push();
}

void TfrmAddOrEditBookInfor::openNumbering()
{
    TfrmCreateNum dlg(m_bast, this);
    dlg.setCaller(Caller, m_logic.addMode());
    connect(&dlg, &TfrmCreateNum::saved, this, [this] {
        try {
            m_logic.setRule(loadNumberingSettings(*m_bast.database()).book);
        } catch (const DbError &e) {
            m_bast.ShowDbError(e);
        }
        if (m_ctx.settingsSaved)
            m_ctx.settingsSaved();
    });
    connect(&dlg, &TfrmCreateNum::numberProposed, this, [this](const QString &number) {
        if (!m_logic.addMode())
            return;
        pull();
        m_logic.record.insert(QStringLiteral("图书编号"), number);
        push();
    });
    dlg.exec();
}

void TfrmAddOrEditBookInfor::readVolumes()
{
    using V = BookEditorLogic::Volumes;
    m_logic.volumes = m_two->isChecked() ? V::Two
        : m_three->isChecked()           ? V::Three
        : m_num->isChecked()             ? V::Num
        : m_sames->isChecked()           ? V::Sames
                                         : V::Single;
    m_logic.numSet = m_numSet->value();
    m_logic.samesSet = m_samesSet->value();
}

void TfrmAddOrEditBookInfor::setCurrentVolumes(BookEditorLogic::Volumes v)
{
    using V = BookEditorLogic::Volumes;
    m_two->setChecked(v == V::Two);
    m_three->setChecked(v == V::Three);
    m_num->setChecked(v == V::Num);
    m_sames->setChecked(v == V::Sames);
}

void TfrmAddOrEditBookInfor::volumeToggled(QCheckBox *box, bool on)
{
    if (on)
        for (QCheckBox *c : {m_two, m_three, m_num, m_sames})
            if (c != box)
                c->setChecked(false);
    if (box == m_num) {
        m_numSet->setEnabled(on);
        if (!on)
            m_numSet->setValue(2);
    } else if (box == m_sames) {
        m_samesSet->setEnabled(on);
        if (!on)
            m_samesSet->setValue(2);
    }
}

bool TfrmAddOrEditBookInfor::saveAndContinue()
{
    pull();
    readVolumes();
    if (!m_logic.save()) {
        push();
        return false;
    }
    m_logic.continueAfterSave();
    push();
    (m_logic.rule().autoOn ? m_isbn : m_no)->setFocus();
    return true;
}

bool TfrmAddOrEditBookInfor::saveAndClose()
{
    pull();
    readVolumes();
    if (!m_logic.save()) {
        push();
        return false;
    }
    accept();
    return true;
}

void TfrmAddOrEditBookInfor::reject()
{
    // Esc first hides the large picture.
    if (m_bigPanel->isVisible()) {
        m_bigPanel->hide();
        return;
    }
    QDialog::reject();
}

void TfrmAddOrEditBookInfor::done(int result)
{
    m_closing = true;
    QDialog::done(result);
}

bool TfrmAddOrEditBookInfor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pic && event->type() == QEvent::MouseButtonRelease) {
        showBigPicture();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_typeNo) {
                chooseClass();
                return true;
            }
            if (watched == m_public) {
                choosePublisher();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qandor
