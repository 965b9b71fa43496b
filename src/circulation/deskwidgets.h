#pragma once

#include "circulation/deskcommon.h"
#include "data/money.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace qandor::DeskUi {

// A read-only reader field (R_Num, R_Name, ...).
QLineEdit *field(const char *objectName, QWidget *parent, int width = 0);
// A look-up box: Enter or its trailing button runs `lookUp`.
QLineEdit *input(const char *objectName, QWidget *parent, std::function<void()> lookUp);
// A command button. Never a default button: Enter in the look-up boxes must
// only run the look-up.
QPushButton *button(const char *objectName, const QString &caption, QWidget *parent);
// Caption label left of a field.
void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *w);

// The reader photo ("Pic") in its panel "读者照片".
QGroupBox *photoPanel(QLabel *&pic, QWidget *parent);
void showPhoto(QLabel *pic, const QByteArray &jpeg);

// "当前操作员：" and "当前日期时间：" labels; `ticking` refreshes the time every second.
QWidget *operatorAndClock(const QString &operatorName, bool ticking, QWidget *parent);
// The desk time as the hub shows it: "yyyy年MM月dd日 hh时mm分".
QString nowText();

// A report-style list: row select, one column per caption, no sorting by click.
QTreeWidget *bookList(const QStringList &captions, bool checkBoxes, QWidget *parent);

// Focus (and select) the box a desk outcome points to.
void focusBox(QLineEdit *box, bool select);

QString count(int n, const QString &unit); // "3本"

} // namespace qandor::DeskUi
