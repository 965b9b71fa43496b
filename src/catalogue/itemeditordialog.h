#pragma once

#include "catalogue/cataloguecontext.h"
#include "catalogue/editorwidgets.h"
#include "catalogue/itemeditorlogic.h"

#include <QDialog>
#include <span>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace qandor {

struct NumberingSettings;

// What the book and magazine editor windows share: the layout (lookup
// group, field page, picture box, generator and parameter groups, keys),
// the class-tree and publisher pickers, the numbering dialog, pictures and
// the save/cancel/close flow. The concrete editors name their fields and
// build their generator group; their rules live in an ItemEditorLogic.
class ItemEditorDialog : public QDialog {
    Q_OBJECT
public:
    enum class FieldKind { Line, ReadOnly, Chooser, Combo, Memo };
    struct Field {
        const char *name;
        const char *label;
        const char *column;
        FieldKind kind;
    };
    // The texts and control names that tell the two editors apart.
    struct Design {
        const char *caller;       // the name the pickers are opened with
        bool bookLookup;          // the lookup group of the book editor
        const char *page;         // "图书基本信息"
        const char *picture;      // "图书图片"
        const char *generator;    // "图书多卷生成设置"
        const char *askSame;      // caption of CheckBox3
        const char *addTitle;     // "添加图书信息"
        const char *editTitle;    // "修改当前选中的图书信息"
        const char *noName, *nameName, *typeNoName, *publicName, *secretName, *posName;
        std::span<const Field> fields; // in tab order
    };

    ~ItemEditorDialog() override;

    // Add mode or edit mode on the row with this ID.
    bool startAdd();
    bool startEdit(qint64 id);
    bool AddMode() const { return logicBase().addMode(); }

    void applyClass(const QString &code, const QString &name);
    // The standard number goes in only when its box is empty.
    void applyPublisher(const QString &name, const QString &city, const QString &stdNumber);
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
    ItemEditorDialog(const CatalogueContext &ctx, const Design &design, QWidget *parent);

    virtual ItemEditorLogic &logicBase() = 0;
    const ItemEditorLogic &logicBase() const { return const_cast<ItemEditorDialog *>(this)->logicBase(); }
    // Builds the controls of the generator group (m_numGroup, laid out).
    virtual void buildGenerator(QGroupBox *group) = 0;
    // Finds and connects the controls only this editor has.
    virtual void bindOwnFields() {}
    // Pick lists filled before 密级 and 存放位置.
    virtual void fillOwnPickLists() {}
    // Where the focus goes after an automatic number was put in.
    virtual QWidget *focusWhenNumbered() const = 0;
    // The generator controls -> the logic, before a save.
    virtual void readGenerator() = 0;
    // After the groups of add mode were hidden for editing.
    virtual void prepareEditMode() {}
    // This editor's rule among the saved numbering settings.
    virtual NumberRule ruleFrom(const NumberingSettings &settings) const = 0;

    // Run once the concrete editor (and its logic) exists.
    void buildUi();
    void pull();
    void push();
    void refreshPicture();
    // Leaving the number box.
    void numberExit();
    // A check box of the generator or parameter group.
    static QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption);
    // A spin box of the generator group, off until its switch is ticked.
    static QSpinBox *generatorSpin(QWidget *parent, const char *name, int min, int max, int value);

    void reject() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    CatalogueContext m_ctx;
    TBast &m_bast;
    const Design &m_design;
    EditorBinding m_binding;
    bool m_closing = false; // leaving handlers do nothing while the window closes

    QLineEdit *m_no = nullptr, *m_name = nullptr, *m_typeNo = nullptr, *m_public = nullptr;
    QComboBox *m_secret = nullptr, *m_pos = nullptr;
    QLabel *m_pic = nullptr, *m_bigPic = nullptr;
    QWidget *m_bigPanel = nullptr;
    QGroupBox *m_numGroup = nullptr, *m_paramGroup = nullptr;
    QCheckBox *m_askTitle = nullptr, *m_askSame = nullptr;
    QPushButton *m_saveAndContinue = nullptr, *m_saveAndClose = nullptr;
};

} // namespace qandor
