#pragma once

#include "catalogue/bookeditorlogic.h"
#include "catalogue/cataloguecontext.h"
#include "catalogue/editorwidgets.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace qandor {

// The book record editor: binds its controls to BookEditorLogic, which
// holds the record and every rule; saving writes through the logic.
class TfrmAddOrEditBookInfor : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddOrEditBookInfor(const CatalogueContext &ctx, QWidget *parent = nullptr);
    ~TfrmAddOrEditBookInfor() override;

    // Add mode (caption "添加图书信息") or edit mode on the row with this ID.
    bool startAdd();
    bool startEdit(qint64 id);

    BookEditorLogic &logic() { return m_logic; }
    bool AddMode() const { return m_logic.addMode(); }

    // Handlers of the controls, also what tests drive.
    void Book_NOExit();
    void Book_ISBNExit();
    void Book_NameExit();
    void Book_TypeNOExit();
    void Book_TypeIndexExit();
    void applyClass(const QString &code, const QString &name);
    void applyPublisher(const QString &name, const QString &city, const QString &isbn);
    bool loadPictureFile(const QString &fileName);
    void setCurrentVolumes(BookEditorLogic::Volumes v);

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
    void volumeToggled(QCheckBox *box, bool on);
    void readVolumes();

    CatalogueContext m_ctx;
    TBast &m_bast;
    BookEditorLogic m_logic;
    EditorBinding m_binding;
    bool m_closing = false; // leaving handlers do nothing while the window closes

    QLineEdit *m_no = nullptr, *m_isbn = nullptr, *m_name = nullptr, *m_typeNo = nullptr, *m_typeIndex = nullptr;
    QLineEdit *m_public = nullptr, *m_batch = nullptr;
    QComboBox *m_secret = nullptr, *m_pos = nullptr;
    QLabel *m_pic = nullptr, *m_bigPic = nullptr;
    QWidget *m_bigPanel = nullptr;
    QGroupBox *m_numGroup = nullptr, *m_paramGroup = nullptr;
    QCheckBox *m_two = nullptr, *m_three = nullptr, *m_num = nullptr, *m_sames = nullptr;
    QSpinBox *m_numSet = nullptr, *m_samesSet = nullptr;
    QCheckBox *m_askTitle = nullptr, *m_isbnDirect = nullptr;
    QPushButton *m_saveAndContinue = nullptr, *m_saveAndClose = nullptr;
};

} // namespace qandor
