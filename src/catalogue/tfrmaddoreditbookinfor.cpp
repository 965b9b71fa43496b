#include "catalogue/tfrmaddoreditbookinfor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace qandor {

namespace {
using K = ItemEditorDialog::FieldKind;

// Tab order of the page "图书基本信息".
const ItemEditorDialog::Field Fields[] = {
    {"Book_NO", "图书编号", "图书编号", K::Line},
    {"Book_ISBN", "标准ISBN", "标准ISBN", K::Line},
    {"Book_Name", "图书名称", "图书名称", K::Line},
    {"Book_TypeNO", "分类号", "分类号", K::Chooser},
    {"Book_TypeName", "分类名", "分类名", K::Line},
    {"Book_TypeIndex", "种次号", "种次号", K::Line},
    {"Book_Index", "索书号", "索书号", K::ReadOnly},
    {"Book_Writer", "作者信息", "作者信息", K::Line},
    {"Book_Price", "定价", "定价", K::Line},
    {"Book_Public", "出版社", "出版社", K::Chooser},
    {"Book_City", "出版地", "出版地", K::Line},
    {"Book_Year", "出版年", "出版年", K::Line},
    {"Book_s", "密级", "密级", K::Combo},
    {"Book_Pos", "存放位置", "存放位置", K::Combo},
    {"Book_InDate", "入库时间", "入库时间", K::Line},
    {"inputindex", "批次", "批次", K::Line},
    {"Book_pagecount", "页码", "页码", K::Line},
    {"Book_size", "开本", "开本", K::Line},
    {"Book_language", "语种", "语种", K::Line},
    {"Book_pubcount", "版次", "版次", K::Line},
    {"Book_subjection", "所属丛书", "所属丛书", K::Line},
    {"Book_PrintType", "印刷版面", "印刷版面", K::Line},
    {"Book_accessory", "配送物品", "配送物品", K::Line},
    {"Book_Summary", "内容简介", "内容简介", K::Memo},
    {"Book_Memo", "备注信息", "备注信息", K::Memo},
};

const ItemEditorDialog::Design BookDesign{
    "frmAddOrEditBookInfor", true, "图书基本信息", "图书图片", "图书多卷生成设置", "存在相同ISBN时直接调用",
    "添加图书信息", "修改当前选中的图书信息", "Book_NO", "Book_Name", "Book_TypeNO", "Book_Public", "Book_s", "Book_Pos",
    Fields};
} // namespace

TfrmAddOrEditBookInfor::TfrmAddOrEditBookInfor(const CatalogueContext &ctx, QWidget *parent)
    : ItemEditorDialog(ctx, BookDesign, parent), m_logic(*ctx.bast, ctx.bookRule)
{
    setObjectName(QStringLiteral("frmAddOrEditBookInfor"));
    buildUi();
}

void TfrmAddOrEditBookInfor::bindOwnFields()
{
    m_isbn = findChild<QLineEdit *>(QStringLiteral("Book_ISBN"));
    m_typeIndex = findChild<QLineEdit *>(QStringLiteral("Book_TypeIndex"));
    m_batch = findChild<QLineEdit *>(QStringLiteral("inputindex"));
    connect(m_isbn, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_ISBNExit);
    connect(m_batch, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_ISBNExit);
    connect(m_name, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_NameExit);
    connect(m_typeNo, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_TypeNOExit);
    connect(m_typeIndex, &QLineEdit::editingFinished, this, &TfrmAddOrEditBookInfor::Book_TypeIndexExit);
}

void TfrmAddOrEditBookInfor::buildGenerator(QGroupBox *group)
{
    auto *numLay = new QHBoxLayout(group);
    m_two = checkBox(group, "CheckTwo", QStringLiteral("本书分上、下卷"));
    m_three = checkBox(group, "CheckThree", QStringLiteral("本书分上、中、下卷"));
    m_num = checkBox(group, "CheckNum", QStringLiteral("本书分"));
    m_numSet = generatorSpin(group, "NumSet", 2, 99, 2);
    m_sames = checkBox(group, "CheckSames", QStringLiteral("本书有"));
    m_samesSet = generatorSpin(group, "SamesSet", 2, 99, 2);
    numLay->addWidget(m_two);
    numLay->addWidget(m_three);
    numLay->addWidget(m_num);
    numLay->addWidget(m_numSet);
    numLay->addWidget(new QLabel(QStringLiteral("卷"), group));
    numLay->addWidget(m_sames);
    numLay->addWidget(m_samesSet);
    numLay->addWidget(new QLabel(QStringLiteral("本"), group));
    numLay->addStretch();
    for (QCheckBox *c : {m_two, m_three, m_num, m_sames})
        connect(c, &QCheckBox::toggled, this, [this, c](bool on) { volumeToggled(c, on); });
}

QWidget *TfrmAddOrEditBookInfor::focusWhenNumbered() const { return m_isbn; }

NumberRule TfrmAddOrEditBookInfor::ruleFrom(const NumberingSettings &settings) const { return settings.book; }

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

void TfrmAddOrEditBookInfor::readGenerator()
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

} // namespace qandor
