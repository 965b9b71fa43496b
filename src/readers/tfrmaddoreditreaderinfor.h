#pragma once
#include "readers/readerbook.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qandor {

class MoneyEdit;
class NullableDateEdit;

// The reader editor. Works on a copy of the reader; "保存继续(&A)" and
// "保存退出(&S)" write it through ReaderBook, any other way out discards it.
class TfrmAddOrEditReaderInfor : public QDialog {
    Q_OBJECT
public:
    // `existing` null: adding.
    TfrmAddOrEditReaderInfor(TBast &bast, NumberRule numbering, const Reader *existing, QWidget *parent = nullptr);

    ReaderBook &book() { return m_book; }
    bool adding() const { return m_adding; }
    Reader readerOnScreen() const;
    // Ids of the readers written while the dialog was open.
    const QList<qint64> &savedIds() const { return m_savedIds; }
    QByteArray photo() const { return m_photo; }

    // "选择照片" after the file dialog: false (and the photo kept) when the
    // file cannot be read.
    bool loadPhotoFile(const QString &path);
    // A picture handed back by the camera screen, stored as it came.
    void setPhoto(const QByteArray &jpeg);

public slots:
    bool saveAndContinue();
    bool saveAndClose();
    void typeLeft();          // ApplyReaderType on leaving R_Type
    void createDayLeft();     // ... and on leaving R_CreateDay with another day than today
    void numberLeft();        // an emptied number is proposed again while adding
    void choosePhoto();
    void clearPhoto();
    void takePhoto();

signals:
    void readerSaved(qint64 id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool save(bool close);
    void showReader(const Reader &r);
    void startNewReader();
    void focusEditor(const QString &name);
    void departmentChosen(int index);

    ReaderBook m_book;
    bool m_adding;
    Reader m_reader;          // the copy: keeps what the editors do not show
    QString m_startNumber;
    QStringList m_typeItems;
    QList<qint64> m_savedIds;
    QByteArray m_photo;
    bool m_filling = false;

    QLineEdit *m_no, *m_name, *m_tel, *m_email, *m_adr;
    QComboBox *m_sex, *m_type, *m_limitFlag, *m_part;
    MoneyEdit *m_deposit;
    NullableDateEdit *m_endDay, *m_birthDay, *m_createDay;
    QPlainTextEdit *m_memo;
    QLabel *m_pic;
    QPushButton *m_saveContinue, *m_saveClose;
};

} // namespace qandor
