#pragma once

#include "catalogue/itemeditordialog.h"
#include "catalogue/magazineeditorlogic.h"

namespace qandor {

// The magazine record editor: binds its controls to MagazineEditorLogic.
class TfrmAddOrEditMagazineInfor : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit TfrmAddOrEditMagazineInfor(const CatalogueContext &ctx, QWidget *parent = nullptr);

    MagazineEditorLogic &logic() { return m_logic; }

    void Magazine_NOExit() { numberExit(); }
    void Magazine_ISBNExit();
    void Magazine_NameExit();

protected:
    ItemEditorLogic &logicBase() override { return m_logic; }
    void buildGenerator(QGroupBox *group) override;
    void bindOwnFields() override;
    void fillOwnPickLists() override;
    QWidget *focusWhenNumbered() const override;
    void readGenerator() override;
    void prepareEditMode() override;
    NumberRule ruleFrom(const NumberingSettings &settings) const override;

private:
    void rangeToggled(bool on);

    MagazineEditorLogic m_logic;
    QLineEdit *m_issn = nullptr;
    QComboBox *m_pubType = nullptr;
    QCheckBox *m_many = nullptr;
    QComboBox *m_year = nullptr;
    QSpinBox *m_bNum = nullptr, *m_eNum = nullptr, *m_overall = nullptr;
};

} // namespace qandor
