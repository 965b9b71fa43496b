#include "catalogue/tfrmaddoreditmagazineinfor.h"
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
const QString Caller = QStringLiteral("frmAddOrEditMagazineInfor");
QString u(const char *s) { return QString::fromUtf8(s); }

enum class Kind { Line, ReadOnly, Chooser, Combo, Memo };
struct Field {
    const char *name;
    const char *label;
    const char *column;
    Kind kind;
};

// Tab order of the page "期刊基本信息".
const Field Fields[] = {
    {"Magazine_NO", "期刊编号", "期刊编号", Kind::Line},
    {"Magazine_Name", "期刊名称", "期刊名称", Kind::Line},
    {"Magazine_ISBN", "标准ISSN", "标准ISSN", Kind::Line},
    {"Magazine_TypeNO", "分类号", "分类号", Kind::Chooser},
    {"Magazine_TypeName", "分类名", "分类名", Kind::Line},
    {"Magazine_PubIndex", "刊次", "刊次", Kind::Line},
    {"Magazine_IniPubIndex", "总刊次", "总刊次", Kind::Line},
    {"Magazine_Editor", "主编信息", "主编信息", Kind::Line},
    {"Magazine_Price", "定价", "定价", Kind::Line},
    {"Magazine_Public", "出版社", "出版社", Kind::Chooser},
    {"Magazine_City", "出版地", "出版地", Kind::Line},
    {"Magazine_PubDate", "出版日期", "出版日期", Kind::Line},
    {"Magazine_s", "密级", "密级", Kind::Combo},
    {"Magazine_Pos", "存放位置", "存放位置", Kind::Combo},
    {"Magazine_InDate", "入库时间", "入库时间", Kind::Line},
    {"Magazine_PubType", "刊期类别", "刊期类别", Kind::Combo},
    {"Magazine_pagecount", "页码", "页码", Kind::Line},
    {"Magazine_size", "开本", "开本", Kind::Line},
    {"Magazine_language", "语种", "语种", Kind::Line},
    {"Magazine_accessory", "配送物品", "配送物品", Kind::Line},
    {"Book_PrintType", "印刷版面", "印刷版面", Kind::Line},
    {"Magazine_Memo", "备注信息", "备注信息", Kind::Memo},
};
} // namespace

TfrmAddOrEditMagazineInfor::TfrmAddOrEditMagazineInfor(const CatalogueContext &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_bast(*ctx.bast), m_logic(*ctx.bast, ctx.bookRule)
{
    setObjectName(QStringLiteral("frmAddOrEditMagazineInfor"));
    buildUi();
}

TfrmAddOrEditMagazineInfor::~TfrmAddOrEditMagazineInfor()
{
    // The boxes report leaving when they are destroyed after this part of
    // the window is gone; they must not reach the handlers any more.
    m_closing = true;
    const auto controls = findChildren<QWidget *>();
    for (QWidget *w : controls)
        w->disconnect(this);
}

void TfrmAddOrEditMagazineInfor::buildUi()
{
    auto *lookup = EditorWidgets::buildLookupGroup(this, false);
    auto *f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [lookup] {
        if (auto *box = lookup->findChild<QLineEdit *>(QStringLiteral("isbninput")))
            box->setFocus();
    });

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("期刊基本信息"));
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
            if (u(f.name) == QStringLiteral("Magazine_TypeNO"))
                connect(b, &QToolButton::clicked, this, &TfrmAddOrEditMagazineInfor::chooseClass);
            else
                connect(b, &QToolButton::clicked, this, &TfrmAddOrEditMagazineInfor::choosePublisher);
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
    m_no = findChild<QLineEdit *>(QStringLiteral("Magazine_NO"));
    m_issn = findChild<QLineEdit *>(QStringLiteral("Magazine_ISBN"));
    m_name = findChild<QLineEdit *>(QStringLiteral("Magazine_Name"));
    m_typeNo = findChild<QLineEdit *>(QStringLiteral("Magazine_TypeNO"));
    m_public = findChild<QLineEdit *>(QStringLiteral("Magazine_Public"));
    m_secret = findChild<QComboBox *>(QStringLiteral("Magazine_s"));
    m_pos = findChild<QComboBox *>(QStringLiteral("Magazine_Pos"));
    m_pubType = findChild<QComboBox *>(QStringLiteral("Magazine_PubType"));
    EditorWidgets::markRequired(m_no);
    EditorWidgets::markRequired(m_name);

    connect(m_no, &QLineEdit::editingFinished, this, &TfrmAddOrEditMagazineInfor::Magazine_NOExit);
    connect(m_issn, &QLineEdit::editingFinished, this, &TfrmAddOrEditMagazineInfor::Magazine_ISBNExit);
    connect(m_name, &QLineEdit::editingFinished, this, &TfrmAddOrEditMagazineInfor::Magazine_NameExit);
    connect(m_secret, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"), this);
    });
    connect(m_pos, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"), this);
    });
    connect(m_pubType, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_pubType, m_bast, QStringLiteral("刊期类别"), QStringLiteral("刊期类别"), this);
    });

    auto *note = new QLabel(QStringLiteral("(注：蓝色编辑框为必填项目)"), page);
    note->setStyleSheet(QStringLiteral("color: blue;"));
    auto *pageLay = new QVBoxLayout(page);
    pageLay->addWidget(note);
    pageLay->addLayout(grid);
    pageLay->addStretch();

    // The cover picture.
    auto *picBox = new QGroupBox(QStringLiteral("期刊图片"), this);
    picBox->setObjectName(QStringLiteral("PicBox"));
    m_pic = new QLabel(picBox);
    m_pic->setObjectName(QStringLiteral("Pic"));
    m_pic->setFixedSize(160, 200);
    m_pic->setFrameShape(QFrame::Box);
    m_pic->setAlignment(Qt::AlignCenter);
    m_pic->installEventFilter(this);
    auto *picLay = new QVBoxLayout(picBox);
    picLay->addWidget(m_pic, 0, Qt::AlignHCenter);
    auto picButton = [&](const char *name, const QString &caption, void (TfrmAddOrEditMagazineInfor::*slot)()) {
        auto *b = new QPushButton(caption, picBox);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        picLay->addWidget(b);
    };
    picButton("pic_add", QStringLiteral("选择图片"), &TfrmAddOrEditMagazineInfor::choosePictureFile);
    picButton("takephoto", QStringLiteral("视频拍照"), &TfrmAddOrEditMagazineInfor::takePhoto);
    picButton("pic_del", QStringLiteral("清除图片"), &TfrmAddOrEditMagazineInfor::clearPicture);
    picButton("Pic_show", QStringLiteral("查看大图"), &TfrmAddOrEditMagazineInfor::showBigPicture);
    picLay->addStretch();

    // The issue-range generator, read as one sentence.
    m_numGroup = new QGroupBox(QStringLiteral("期刊多刊生成设置"), this);
    m_numGroup->setObjectName(QStringLiteral("NumGroup"));
    auto *numLay = new QHBoxLayout(m_numGroup);
    auto check = [&](QWidget *parent, const char *name, const QString &caption) {
        auto *c = new QCheckBox(caption, parent);
        c->setObjectName(QString::fromUtf8(name));
        return c;
    };
    auto spin = [&](const char *name, int min, int max, int value) {
        auto *s = new QSpinBox(m_numGroup);
        s->setObjectName(QString::fromUtf8(name));
        s->setRange(min, max);
        s->setValue(value);
        s->setEnabled(false);
        s->setToolTip(QStringLiteral("输入数值的范围限制在2～99之间"));
        return s;
    };
    m_many = check(m_numGroup, "CheckMany", QStringLiteral("自动生成"));
    m_year = new QComboBox(m_numGroup);
    m_year->setObjectName(QStringLiteral("YearEdit"));
    QStringList years;
    TBast::FillYears(years, 10, m_logic.today().year());
    m_year->addItems(years);
    m_year->setEnabled(false);
    m_bNum = spin("BNum", 1, 99, 1);
    m_eNum = spin("ENum", 1, 99, 2);
    m_overall = spin("overall_index", 0, 99999, 1);
    numLay->addWidget(m_many);
    numLay->addWidget(m_year);
    numLay->addWidget(new QLabel(QStringLiteral("年 第"), m_numGroup));
    numLay->addWidget(m_bNum);
    numLay->addWidget(new QLabel(QStringLiteral("期 至 第"), m_numGroup));
    numLay->addWidget(m_eNum);
    numLay->addWidget(new QLabel(QStringLiteral("期"), m_numGroup));
    numLay->addSpacing(20);
    numLay->addWidget(new QLabel(QStringLiteral("起始总干次为"), m_numGroup));
    numLay->addWidget(m_overall);
    numLay->addWidget(new QLabel(QStringLiteral("期"), m_numGroup));
    numLay->addStretch();
    connect(m_many, &QCheckBox::toggled, this, &TfrmAddOrEditMagazineInfor::rangeToggled);

    m_paramGroup = new QGroupBox(QStringLiteral("图书录入参数设置"), this);
    m_paramGroup->setObjectName(QStringLiteral("ParameterGroup"));
    auto *paramLay = new QHBoxLayout(m_paramGroup);
    auto *askTitle = check(m_paramGroup, "CheckBox2", QStringLiteral("存在同名图书时弹出提示"));
    auto *askIssn = check(m_paramGroup, "CheckBox3", QStringLiteral("存在相同ISSN时弹出提示"));
    askTitle->setChecked(true);
    askIssn->setChecked(true);
    auto *copy = new QPushButton(QStringLiteral("复制上本图书信息(&C)"), m_paramGroup);
    copy->setObjectName(QStringLiteral("CopyPrior"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &TfrmAddOrEditMagazineInfor::copyPrior);
    auto *rule = new QPushButton(QStringLiteral("设置图书编号规则(&N)"), m_paramGroup);
    rule->setObjectName(QStringLiteral("SpeedButton1"));
    rule->setAutoDefault(false);
    connect(rule, &QPushButton::clicked, this, &TfrmAddOrEditMagazineInfor::openNumbering);
    paramLay->addWidget(askTitle);
    paramLay->addWidget(askIssn);
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
    connect(m_saveAndContinue, &QPushButton::clicked, this, &TfrmAddOrEditMagazineInfor::saveAndContinue);
    connect(m_saveAndClose, &QPushButton::clicked, this, &TfrmAddOrEditMagazineInfor::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &TfrmAddOrEditMagazineInfor::reject);
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
    m_bigPanel = new QGroupBox(QStringLiteral("期刊图片"), this);
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

bool TfrmAddOrEditMagazineInfor::startAdd()
{
    setWindowTitle(QStringLiteral("添加期刊信息"));
    EditorWidgets::fillPickList(m_pubType, m_bast, QStringLiteral("刊期类别"), QStringLiteral("刊期类别"));
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    const bool numbered = m_logic.beginAdd();
    push();
    (numbered ? m_name : m_no)->setFocus();
    return true;
}

bool TfrmAddOrEditMagazineInfor::startEdit(qint64 id)
{
    setWindowTitle(QStringLiteral("修改当前选中的期刊信息"));
    EditorWidgets::fillPickList(m_pubType, m_bast, QStringLiteral("刊期类别"), QStringLiteral("刊期类别"));
    EditorWidgets::fillPickList(m_secret, m_bast, QStringLiteral("密级"), QStringLiteral("密级名称"));
    EditorWidgets::fillPickList(m_pos, m_bast, QStringLiteral("存放位置"), QStringLiteral("位置"));
    if (!m_logic.beginEdit(id))
        return false;
    m_numGroup->hide();
    m_paramGroup->hide();
    m_saveAndContinue->hide();
    m_saveAndClose->setText(QStringLiteral("保存退出"));
    resize(width(), height() - 68);
    push();
    m_no->setFocus();
    return true;
}

void TfrmAddOrEditMagazineInfor::pull() { m_binding.pull(m_logic.record, m_logic.today()); }

void TfrmAddOrEditMagazineInfor::push()
{
    m_binding.push(m_logic.record);
    refreshPicture();
}

void TfrmAddOrEditMagazineInfor::refreshPicture()
{
    EditorWidgets::showPicture(m_pic, m_logic.record.value(QStringLiteral("图片")).toByteArray());
}

void TfrmAddOrEditMagazineInfor::Magazine_NOExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.magazineNoLeft();
    push();
}

void TfrmAddOrEditMagazineInfor::Magazine_ISBNExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.RecallByIssn();
    push();
}

void TfrmAddOrEditMagazineInfor::Magazine_NameExit()
{
    if (m_closing)
        return;
    pull();
    m_logic.RecallByTitle();
    push();
}

void TfrmAddOrEditMagazineInfor::applyClass(const QString &code, const QString &name)
{
    pull();
    m_logic.record.insert(QStringLiteral("分类号"), code);
    m_logic.record.insert(QStringLiteral("分类名"), name);
    push();
}

void TfrmAddOrEditMagazineInfor::applyPublisher(const QString &name, const QString &city, const QString &issn)
{
    pull();
    m_logic.record.insert(QStringLiteral("出版社"), name);
    m_logic.record.insert(QStringLiteral("出版地"), city);
    if (EditorRecords::text(m_logic.record, QStringLiteral("标准ISSN")).trimmed().isEmpty())
        m_logic.record.insert(QStringLiteral("标准ISSN"), issn);
    push();
}

void TfrmAddOrEditMagazineInfor::chooseClass()
{
    TfrmSelectClassification dlg(m_bast, m_ctx.treeFile, Caller, this);
    if (dlg.exec() == QDialog::Accepted) {
        applyClass(dlg.code(), dlg.name());
        m_typeNo->setFocus();
    }
}

void TfrmAddOrEditMagazineInfor::choosePublisher()
{
    TfrmBookconcernSet dlg(m_bast, Caller, m_ctx.publisherRight, this);
    if (dlg.exec() == QDialog::Accepted && dlg.chosen()) {
        const Publisher p = *dlg.chosen();
        applyPublisher(p.name, p.city, p.isbn);
    }
}

bool TfrmAddOrEditMagazineInfor::loadPictureFile(const QString &fileName)
{
    const auto jpeg = Pictures::LoadImageFile(nullptr, fileName, 300, 240, m_bast.messageSink());
    if (!jpeg)
        return false;
    m_logic.setPicture(*jpeg);
    refreshPicture();
    return true;
}

void TfrmAddOrEditMagazineInfor::choosePictureFile()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择图片"), QString(),
                                                      QStringLiteral("图片文件 (*.jpg *.jpeg *.bmp *.png)"));
    if (!file.isEmpty())
        loadPictureFile(file);
}

void TfrmAddOrEditMagazineInfor::takePhoto()
{
    if (const auto jpeg = Pictures::CapturePhoto(this, m_bast.messageSink())) {
        m_logic.setPicture(*jpeg);
        refreshPicture();
    }
}

void TfrmAddOrEditMagazineInfor::clearPicture()
{
    if (m_logic.clearPicture())
        refreshPicture();
}

void TfrmAddOrEditMagazineInfor::showBigPicture()
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

void TfrmAddOrEditMagazineInfor::copyPrior()
{
    pull();
    if (m_logic.CopyPrior())
        push();
}

void TfrmAddOrEditMagazineInfor::openNumbering()
{
    TfrmCreateNum dlg(m_bast, this);
    dlg.setCaller(Caller, m_logic.addMode());
    connect(&dlg, &TfrmCreateNum::saved, this, [this] {
        try {
            m_logic.setRule(loadNumberingSettings(*m_bast.database()).magazine);
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
        m_logic.record.insert(QStringLiteral("期刊编号"), number);
        push();
    });
    dlg.exec();
}

void TfrmAddOrEditMagazineInfor::readRange()
{
    m_logic.checkMany = m_many->isChecked();
    m_logic.year = m_year->currentText().toInt();
    m_logic.bNum = m_bNum->value();
    m_logic.eNum = m_eNum->value();
    m_logic.overallIndex = m_overall->value();
}

void TfrmAddOrEditMagazineInfor::rangeToggled(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_year, m_bNum, m_eNum, m_overall})
        w->setEnabled(on);
    if (on)
        return;
    m_logic.resetRange();
    m_year->setCurrentText(QString::number(m_logic.year));
    m_bNum->setValue(m_logic.bNum);
    m_eNum->setValue(m_logic.eNum);
    m_overall->setValue(m_logic.overallIndex);
}

bool TfrmAddOrEditMagazineInfor::saveAndContinue()
{
    pull();
    readRange();
    if (!m_logic.save()) {
        push();
        return false;
    }
    m_logic.beginAdd();
    push();
    (m_logic.rule().autoOn ? m_name : m_no)->setFocus();
    return true;
}

bool TfrmAddOrEditMagazineInfor::saveAndClose()
{
    pull();
    readRange();
    if (!m_logic.save()) {
        push();
        return false;
    }
    accept();
    return true;
}

void TfrmAddOrEditMagazineInfor::reject()
{
    // Esc first hides the large picture.
    if (m_bigPanel->isVisible()) {
        m_bigPanel->hide();
        return;
    }
    QDialog::reject();
}

void TfrmAddOrEditMagazineInfor::done(int result)
{
    m_closing = true;
    QDialog::done(result);
}

bool TfrmAddOrEditMagazineInfor::eventFilter(QObject *watched, QEvent *event)
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
