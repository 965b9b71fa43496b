#include "catalogue/tfrmaddoreditmagazineinfor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace qandor {

namespace {
using K = ItemEditorDialog::FieldKind;

// Tab order of the page "期刊基本信息".
const ItemEditorDialog::Field Fields[] = {
    {"Magazine_NO", "期刊编号", "期刊编号", K::Line},
    {"Magazine_Name", "期刊名称", "期刊名称", K::Line},
    {"Magazine_ISBN", "标准ISSN", "标准ISSN", K::Line},
    {"Magazine_TypeNO", "分类号", "分类号", K::Chooser},
    {"Magazine_TypeName", "分类名", "分类名", K::Line},
    {"Magazine_PubIndex", "刊次", "刊次", K::Line},
    {"Magazine_IniPubIndex", "总刊次", "总刊次", K::Line},
    {"Magazine_Editor", "主编信息", "主编信息", K::Line},
    {"Magazine_Price", "定价", "定价", K::Line},
    {"Magazine_Public", "出版社", "出版社", K::Chooser},
    {"Magazine_City", "出版地", "出版地", K::Line},
    {"Magazine_PubDate", "出版日期", "出版日期", K::Line},
    {"Magazine_s", "密级", "密级", K::Combo},
    {"Magazine_Pos", "存放位置", "存放位置", K::Combo},
    {"Magazine_InDate", "入库时间", "入库时间", K::Line},
    {"Magazine_PubType", "刊期类别", "刊期类别", K::Combo},
    {"Magazine_pagecount", "页码", "页码", K::Line},
    {"Magazine_size", "开本", "开本", K::Line},
    {"Magazine_language", "语种", "语种", K::Line},
    {"Magazine_accessory", "配送物品", "配送物品", K::Line},
    {"Book_PrintType", "印刷版面", "印刷版面", K::Line},
    {"Magazine_Memo", "备注信息", "备注信息", K::Memo},
};

const ItemEditorDialog::Design MagazineDesign{
    "frmAddOrEditMagazineInfor", false, "期刊基本信息", "期刊图片", "期刊多刊生成设置", "存在相同ISSN时弹出提示",
    "添加期刊信息", "修改当前选中的期刊信息", "Magazine_NO", "Magazine_Name", "Magazine_TypeNO", "Magazine_Public",
    "Magazine_s", "Magazine_Pos", Fields};
} // namespace

TfrmAddOrEditMagazineInfor::TfrmAddOrEditMagazineInfor(const CatalogueContext &ctx, QWidget *parent)
    : ItemEditorDialog(ctx, MagazineDesign, parent), m_logic(*ctx.bast, ctx.magazineRule)
{
    setObjectName(QStringLiteral("frmAddOrEditMagazineInfor"));
    buildUi();
}

void TfrmAddOrEditMagazineInfor::bindOwnFields()
{
    m_issn = findChild<QLineEdit *>(QStringLiteral("Magazine_ISBN"));
    m_pubType = findChild<QComboBox *>(QStringLiteral("Magazine_PubType"));
    connect(m_issn, &QLineEdit::editingFinished, this, &TfrmAddOrEditMagazineInfor::Magazine_ISBNExit);
    connect(m_name, &QLineEdit::editingFinished, this, &TfrmAddOrEditMagazineInfor::Magazine_NameExit);
    connect(m_pubType, &QComboBox::currentTextChanged, this, [this] {
        EditorWidgets::handleEditEntry(m_pubType, m_bast, QStringLiteral("刊期类别"), QStringLiteral("刊期类别"), this);
    });
}

void TfrmAddOrEditMagazineInfor::buildGenerator(QGroupBox *group)
{
    // The issue-range generator, read as one sentence.
    auto *numLay = new QHBoxLayout(group);
    m_many = checkBox(group, "CheckMany", QStringLiteral("自动生成"));
    m_year = new QComboBox(group);
    m_year->setObjectName(QStringLiteral("YearEdit"));
    QStringList years;
    TBast::FillYears(years, 10, m_logic.today().year());
    m_year->addItems(years);
    m_year->setEnabled(false);
    m_bNum = generatorSpin(group, "BNum", 1, 99, 1);
    m_eNum = generatorSpin(group, "ENum", 1, 99, 2);
    m_overall = generatorSpin(group, "overall_index", 0, 99999, 1);
    numLay->addWidget(m_many);
    numLay->addWidget(m_year);
    numLay->addWidget(new QLabel(QStringLiteral("年 第"), group));
    numLay->addWidget(m_bNum);
    numLay->addWidget(new QLabel(QStringLiteral("期 至 第"), group));
    numLay->addWidget(m_eNum);
    numLay->addWidget(new QLabel(QStringLiteral("期"), group));
    numLay->addSpacing(20);
    numLay->addWidget(new QLabel(QStringLiteral("起始总干次为"), group));
    numLay->addWidget(m_overall);
    numLay->addWidget(new QLabel(QStringLiteral("期"), group));
    numLay->addStretch();
    connect(m_many, &QCheckBox::toggled, this, &TfrmAddOrEditMagazineInfor::rangeToggled);
}

void TfrmAddOrEditMagazineInfor::fillOwnPickLists()
{
    EditorWidgets::fillPickList(m_pubType, m_bast, QStringLiteral("刊期类别"), QStringLiteral("刊期类别"));
}

QWidget *TfrmAddOrEditMagazineInfor::focusWhenNumbered() const { return m_name; }

void TfrmAddOrEditMagazineInfor::prepareEditMode() { m_saveAndClose->setText(QStringLiteral("保存退出")); }

NumberRule TfrmAddOrEditMagazineInfor::ruleFrom(const NumberingSettings &settings) const { return settings.magazine; }

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

void TfrmAddOrEditMagazineInfor::readGenerator()
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

} // namespace qandor
