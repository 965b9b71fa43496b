#pragma once

#include "catalogue/cataloguecontext.h"
#include "catalogue/editorwidgets.h"
#include "catalogue/magazineeditorlogic.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qandor {

// The magazine record editor: binds its controls to MagazineEditorLogic.
class TfrmAddOrEditMagazineInfor : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddOrEditMagazineInfor(const CatalogueContext &ctx, QWidget *parent = nullptr);
    ~TfrmAddOrEditMagazineInfor() override;

    bool startAdd();
    bool startEdit(qint64 id);

    MagazineEditorLogic &logic() { return m_logic; }
    bool AddMode() const { return m_logic.addMode(); }

    void Magazine_NOExit();
    void Magazine_ISBNExit();
    void Magazine_NameExit();
    void applyClass(const QString &code, const QString &name);
    void applyPublisher(const QString &name, const QString &city, const QString &issn);
    bool loadPictureFile(const QString &fileName);

public slots:
    void chooseClass();
    void choosePublisher();
    void choosePictureFile();
    void takePhoto();
    void clearPicture();
    void showBigPicture();
    void copyPrior();
    void openNumbering();
    bool saveAndContinue();
    bool saveAndClose();

protected:
    void reject() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void pull();
    void push();
    void refreshPicture();
    void rangeToggled(bool on);
    void readRange();

    CatalogueContext m_ctx;
    TBast &m_bast;
    MagazineEditorLogic m_logic;
    EditorBinding m_binding;
    bool m_closing = false;

    QLineEdit *m_no = nullptr, *m_issn = nullptr, *m_name = nullptr, *m_typeNo = nullptr, *m_public = nullptr;
    QComboBox *m_secret = nullptr, *m_pos = nullptr, *m_pubType = nullptr;
    QLabel *m_pic = nullptr, *m_bigPic = nullptr;
    QWidget *m_bigPanel = nullptr;
    QGroupBox *m_numGroup = nullptr, *m_paramGroup = nullptr;
    QCheckBox *m_many = nullptr;
    QComboBox *m_year = nullptr;
    QSpinBox *m_bNum = nullptr, *m_eNum = nullptr, *m_overall = nullptr;
    QPushButton *m_saveAndContinue = nullptr, *m_saveAndClose = nullptr;
};

} // namespace qandor
