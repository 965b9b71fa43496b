#pragma once

#include "catalogue/publisherlist.h"

#include <QDialog>

class QLineEdit;

namespace qandor {

// The publisher record dialog: add (id 0) or change one row of 出版社.
class TfrmAddOrEditBookConcern : public QDialog {
    Q_OBJECT
public:
    TfrmAddOrEditBookConcern(TBast &bast, const Publisher &p, QWidget *parent = nullptr);
    Publisher saved() const { return m_saved; }

public slots:
    bool save();

private:
    PublisherList m_list;
    Publisher m_row, m_saved;
    QLineEdit *m_name, *m_isbn, *m_city;
};

} // namespace qandor
