#include "catalogue/itemeditordialog.h"
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
QString u(const char *s) { return QString::fromUtf8(s); }
} // namespace

ItemEditorDialog::ItemEditorDialog(const CatalogueContext &ctx, const Design &design, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_bast(*ctx.bast), m_design(design)
{
}

ItemEditorDialog::~ItemEditorDialog()
{
    // The boxes report leaving when they are destroyed after this part of
    // the window is gone; they must not reach the handlers any more.
    m_closing = true;
    const auto controls = findChildren<QWidget *>();
    for (QWidget *w : controls)
        w->disconnect(this);
}

QCheckBox *ItemEditorDialog::checkBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(u(name));
    return c;
}

QSpinBox *ItemEditorDialog::generatorSpin(QWidget *parent, const char *name, int min, int max, int value)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(u(name));
    s->setRange(min, max);
    s->setValue(value);
    s->setEnabled(false);
    s->setToolTip(QStringLiteral("输入数值的范围限制在2～99之间"));
    return s;
}

void ItemEditorDialog::buildUi()
{
    auto *lookup = EditorWidgets::buildLookupGroup(this, m_design.bookLookup);
    auto *f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [lookup] {
        if (auto *box = lookup->findChild<QLineEdit *>(QStringLiteral("isbninput")))
            box->setFocus();
    });

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(tabs);
    tabs->addTab(page, u(m_design.page));
    auto *grid = new QGridLayout;
    int row = 0, col = 0;
    QWidget *previous = nullptr;
    for (const Field &f : m_design.fields) {
        QWidget *control = nullptr;
        QWidget *cell = nullptr;
        switch (f.kind) {
        case FieldKind::Line:
        case FieldKind::ReadOnly: {
            auto *e = new QLineEdit(page);
            e->setReadOnly(f.kind == FieldKind::ReadOnly);
            control = cell = e;
            break;
        }
        case FieldKind::Chooser: {
            auto *e = new QLineEdit(page);
            auto *b = new QToolButton(page);
            b->setText(QStringLiteral("…"));
            b->setFocusPolicy(Qt::NoFocus);
            b->setObjectName(u(f.name) + QStringLiteral("Button"));
            cell = new QWidget(page);
            auto *h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(1);
            h->addWidget(e);
            h->addWidget(b);
            control = e;
            if (u(f.name) == u(m_design.typeNoName))
                connect(b, &QToolButton::clicked, this, &ItemEditorDialog::chooseClass);
            else
                connect(b, &QToolButton::clicked, this, &ItemEditorDialog::choosePublisher);
            e->installEventFilter(this);
            break;
        }
        case FieldKind::Combo: {
            auto *c = new QComboBox(page);
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            control = cell = c;
            break;
        }
        case FieldKind::Memo: {
            auto *m = new QPlainTextEdit(page);
            m->setTabChangesFocus(true);
            m->setMaximumHeight(60);
            control = cell = m;
            break;
        }
        }
        control->setObjectName(u(f.name));
        m_binding.bind(u(f.column), control);
        auto *label = new QLabel(u(f.label) + QLatin1Char(':'), page);
        label->setBuddy(control);
        if (f.kind == FieldKind::Memo) {
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
    m_no = findChild<QLineEdit *>(u(m_design.noName));
    m_name = findChild<QLineEdit *>(u(m_design.nameName));
    m_typeNo = findChild<QLineEdit *>(u(m_design.typeNoName));
    m_public = findChild<QLineEdit *>(u(m_design.publicName));
    m_secret = findChild<QComboBox *>(u(m_design.secretName));
    m_pos = findChild<QComboBox *>(u(m_design.posName));
    EditorWidgets::markRequired(m_no);
    EditorWidgets::markRequired(m_name);

    connect(m_no, &QLineEdit::editingFinished, this, &ItemEditorDialog::numberExit);
    connect(m_secret, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"), this);
    });
    connect(m_pos, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"), this);
    });
    bindOwnFields();

    auto *note = new QLabel(QStringLiteral("(注：蓝色编辑框为必填项目)"), page);
    note->setStyleSheet(QStringLiteral("color: blue;"));
    auto *pageLay = new QVBoxLayout(page);
    pageLay->addWidget(note);
    pageLay->addLayout(grid);
    pageLay->addStretch();

    // The cover picture.
    auto *picBox = new QGroupBox(u(m_design.picture), this);
    picBox->setObjectName(QStringLiteral("PicBox"));
    m_pic = new QLabel(picBox);
    m_pic->setObjectName(QStringLiteral("Pic"));
    m_pic->setFixedSize(160, 200);
    m_pic->setFrameShape(QFrame::Box);
    m_pic->setAlignment(Qt::AlignCenter);
    m_pic->installEventFilter(this);
    auto *picLay = new QVBoxLayout(picBox);
    picLay->addWidget(m_pic, 0, Qt::AlignHCenter);
    auto picButton = [&](const char *name, const QString &caption, void (ItemEditorDialog::*slot)()) {
        auto *b = new QPushButton(caption, picBox);
        b->setObjectName(u(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        picLay->addWidget(b);
    };
    picButton("pic_add", QStringLiteral("选择图片"), &ItemEditorDialog::choosePictureFile);
    picButton("takephoto", QStringLiteral("视频拍照"), &ItemEditorDialog::takePhoto);
    picButton("pic_del", QStringLiteral("清除图片"), &ItemEditorDialog::clearPicture);
    picButton("Pic_show", QStringLiteral("查看大图"), &ItemEditorDialog::showBigPicture);
    picLay->addStretch();

    // Several volumes or issues from one description.
    m_numGroup = new QGroupBox(u(m_design.generator), this);
    m_numGroup->setObjectName(QStringLiteral("NumGroup"));
    buildGenerator(m_numGroup);

    m_paramGroup = new QGroupBox(QStringLiteral("图书录入参数设置"), this);
    m_paramGroup->setObjectName(QStringLiteral("ParameterGroup"));
    auto *paramLay = new QHBoxLayout(m_paramGroup);
    m_askTitle = checkBox(m_paramGroup, "CheckBox2", QStringLiteral("存在同名图书时弹出提示"));
    m_askSame = checkBox(m_paramGroup, "CheckBox3", u(m_design.askSame));
    m_askTitle->setChecked(true);
    m_askSame->setChecked(true);
    auto *copy = new QPushButton(QStringLiteral("复制上本图书信息(&C)"), m_paramGroup);
    copy->setObjectName(QStringLiteral("CopyPrior"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &ItemEditorDialog::copyPrior);
    auto *rule = new QPushButton(QStringLiteral("设置图书编号规则(&N)"), m_paramGroup);
    rule->setObjectName(QStringLiteral("SpeedButton1"));
    rule->setAutoDefault(false);
    connect(rule, &QPushButton::clicked, this, &ItemEditorDialog::openNumbering);
    paramLay->addWidget(m_askTitle);
    paramLay->addWidget(m_askSame);
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
    connect(m_saveAndContinue, &QPushButton::clicked, this, &ItemEditorDialog::saveAndContinue);
    connect(m_saveAndClose, &QPushButton::clicked, this, &ItemEditorDialog::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &ItemEditorDialog::reject);
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
    m_bigPanel = new QGroupBox(u(m_design.picture), this);
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

bool ItemEditorDialog::startAdd()
{
    setWindowTitle(u(m_design.addTitle));
    fillOwnPickLists();
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    const bool numbered = logicBase().beginAdd();
    push();
    (numbered ? focusWhenNumbered() : m_no)->setFocus();
    return true;
}

bool ItemEditorDialog::startEdit(qint64 id)
{
    setWindowTitle(u(m_design.editTitle));
    fillOwnPickLists();
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    if (!logicBase().beginEdit(id))
        return false;
    m_numGroup->hide();
    m_paramGroup->hide();
    m_saveAndContinue->hide();
    prepareEditMode();
    resize(width(), height() - 68);
    push();
    m_no->setFocus();
    return true;
}

void ItemEditorDialog::pull() { m_binding.pull(logicBase().record, logicBase().today()); }

void ItemEditorDialog::push()
{
    m_binding.push(logicBase().record);
    refreshPicture();
}

void ItemEditorDialog::refreshPicture()
{
    EditorWidgets::showPicture(m_pic, logicBase().record.value(QStringLiteral("图片")).toByteArray());
}

void ItemEditorDialog::numberExit()
{
    if (m_closing)
        return;
    pull();
    logicBase().numberLeft();
    push();
}

void ItemEditorDialog::applyClass(const QString &code, const QString &name)
{
    pull();
    logicBase().record.insert(QStringLiteral("分类号"), code);
    logicBase().record.insert(QStringLiteral("分类名"), name);
    push();
}

void ItemEditorDialog::applyPublisher(const QString &name, const QString &city, const QString &stdNumber)
{
    ItemEditorLogic &logic = logicBase();
    const QString &stdCol = logic.table().stdNumCol;
    pull();
    logic.record.insert(QStringLiteral("出版社"), name);
    logic.record.insert(QStringLiteral("出版地"), city);
    if (EditorRecords::text(logic.record, stdCol).trimmed().isEmpty())
        logic.record.insert(stdCol, stdNumber);
    push();
}

void ItemEditorDialog::chooseClass()
{
    TfrmSelectClassification dlg(m_bast, m_ctx.treeFile, u(m_design.caller), this);
    if (dlg.exec() == QDialog::Accepted) {
        applyClass(dlg.code(), dlg.name());
        m_typeNo->setFocus();
    }
}

void ItemEditorDialog::choosePublisher()
{
    TfrmBookconcernSet dlg(m_bast, u(m_design.caller), m_ctx.publisherRight, this);
    if (dlg.exec() == QDialog::Accepted && dlg.chosen()) {
        const Publisher p = *dlg.chosen();
        applyPublisher(p.name, p.city, p.isbn);
    }
}

bool ItemEditorDialog::loadPictureFile(const QString &fileName)
{
    const auto jpeg = Pictures::LoadImageFile(nullptr, fileName, 300, 240, m_bast.messageSink());
    if (!jpeg)
        return false;
    logicBase().setPicture(*jpeg);
    refreshPicture();
    return true;
}

void ItemEditorDialog::choosePictureFile()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择图片"), QString(),
                                                      QStringLiteral("图片文件 (*.jpg *.jpeg *.bmp *.png)"));
    if (!file.isEmpty())
        loadPictureFile(file);
}

void ItemEditorDialog::takePhoto()
{
    if (const auto jpeg = Pictures::CapturePhoto(this, m_bast.messageSink())) {
        logicBase().setPicture(*jpeg);
        refreshPicture();
    }
}

void ItemEditorDialog::clearPicture()
{
    if (logicBase().clearPicture())
        refreshPicture();
}

void ItemEditorDialog::showBigPicture()
{
    if (!logicBase().hasPicture())
        return;
    QImage img;
    img.loadFromData(logicBase().record.value(QStringLiteral("图片")).toByteArray());
    m_bigPic->setPixmap(QPixmap::fromImage(img).scaled(m_bigPic->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_bigPanel->adjustSize();
    m_bigPanel->move((width() - m_bigPanel->width()) / 2, (height() - m_bigPanel->height()) / 2);
    m_bigPanel->raise();
    m_bigPanel->show();
}

void ItemEditorDialog::copyPrior()
{
    pull();
    if (logicBase().CopyPrior())
        push();
}

void ItemEditorDialog::openNumbering()
{
    TfrmCreateNum dlg(m_bast, this);
    dlg.setCaller(u(m_design.caller), logicBase().addMode());
    connect(&dlg, &TfrmCreateNum::saved, this, [this] {
        try {
            logicBase().setRule(ruleFrom(loadNumberingSettings(*m_bast.database())));
        } catch (const DbError &e) {
            m_bast.ShowDbError(e);
        }
        if (m_ctx.settingsSaved)
            m_ctx.settingsSaved();
    });
    connect(&dlg, &TfrmCreateNum::numberProposed, this, [this](const QString &number) {
        if (!logicBase().addMode())
            return;
        pull();
        logicBase().record.insert(logicBase().table().numCol, number);
        push();
    });
    dlg.exec();
}

bool ItemEditorDialog::saveAndContinue()
{
    pull();
    readGenerator();
    if (!logicBase().save()) {
        push();
        return false;
    }
    logicBase().beginAdd();
    push();
    (logicBase().rule().autoOn ? focusWhenNumbered() : m_no)->setFocus();
    return true;
}

bool ItemEditorDialog::saveAndClose()
{
    pull();
    readGenerator();
    if (!logicBase().save()) {
        push();
        return false;
    }
    accept();
    return true;
}

void ItemEditorDialog::reject()
{
    // Esc first hides the large picture.
    if (m_bigPanel->isVisible()) {
        m_bigPanel->hide();
        return;
    }
    QDialog::reject();
}

void ItemEditorDialog::done(int result)
{
    m_closing = true;
    QDialog::done(result);
}

bool ItemEditorDialog::eventFilter(QObject *watched, QEvent *event)
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
