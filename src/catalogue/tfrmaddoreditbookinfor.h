#pragma once

#include "catalogue/bookeditorlogic.h"
#include "catalogue/itemeditordialog.h"

namespace qandor {

// The book record editor: binds its controls to BookEditorLogic, which
// holds the record and every rule; saving writes through the logic.
class TfrmAddOrEditBookInfor : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit TfrmAddOrEditBookInfor(const CatalogueContext &ctx, QWidget *parent = nullptr);

    BookEditorLogic &logic() { return m_logic; }

    // Handlers of the controls, also what tests drive.
    void Book_NOExit() { numberExit(); }
    void Book_ISBNExit();
    void Book_NameExit();
    void Book_TypeNOExit();
    void Book_TypeIndexExit();
    void setCurrentVolumes(BookEditorLogic::Volumes v);

protected:
    ItemEditorLogic &logicBase() override { return m_logic; }
    void buildGenerator(QGroupBox *group) override;
    void bindOwnFields() override;
    QWidget *focusWhenNumbered() const override;
    void readGenerator() override;
    NumberRule ruleFrom(const NumberingSettings &settings) const override;

private:
    void volumeToggled(QCheckBox *box, bool on);

    BookEditorLogic m_logic;
    QLineEdit *m_isbn = nullptr, *m_typeIndex = nullptr, *m_batch = nullptr;
    QCheckBox *m_two = nullptr, *m_three = nullptr, *m_num = nullptr, *m_sames = nullptr;
    QSpinBox *m_numSet = nullptr, *m_samesSet = nullptr;
};

} // namespace qandor
