#include "circulation/deskwidgets.h"
#include "widgets/pictures.h"

#include <QAction>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace qandor::DeskUi {

QLineEdit *field(const char *objectName, QWidget *parent, int width)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus); // Tab goes from input to input
    e->setStyleSheet(QStringLiteral("QLineEdit{background:#f4f6f8;}"));
    if (width > 0)
        e->setMinimumWidth(width);
    return e;
}

QLineEdit *input(const char *objectName, QWidget *parent, std::function<void()> lookUp)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setClearButtonEnabled(false);
    QAction *go = e->addAction(parent->style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
    go->setToolTip(QStringLiteral("检索"));
    QObject::connect(go, &QAction::triggered, e, lookUp);
    QObject::connect(e, &QLineEdit::returnPressed, e, lookUp);
    return e;
}

QPushButton *button(const char *objectName, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setMinimumHeight(30);
    return b;
}

void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *w)
{
    auto *l = new QLabel(caption, grid->parentWidget());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(w);
    grid->addWidget(l, row, col * 2);
    grid->addWidget(w, row, col * 2 + 1);
}

QGroupBox *photoPanel(QLabel *&pic, QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("读者照片"), parent);
    auto *lay = new QVBoxLayout(box);
    pic = new QLabel(box);
    pic->setObjectName(QStringLiteral("Pic"));
    pic->setFixedSize(110, 140);
    pic->setScaledContents(true);
    pic->setFrameShape(QFrame::StyledPanel);
    pic->setAlignment(Qt::AlignCenter);
    lay->addWidget(pic, 0, Qt::AlignCenter);
    return box;
}

void showPhoto(QLabel *pic, const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        pic->clear();
    else
        Pictures::LoadJpegToImage(pic, QVariant(jpeg));
}

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy年MM月dd日 hh时mm分"));
}

QWidget *operatorAndClock(const QString &operatorName, bool ticking, QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *lay = new QHBoxLayout(w);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(new QLabel(QStringLiteral("当前操作员："), w));
    auto *op = new QLabel(operatorName, w);
    op->setObjectName(QStringLiteral("OperatorName"));
    op->setStyleSheet(QStringLiteral("color:#1a4f8b;font-weight:bold;"));
    lay->addWidget(op);
    lay->addSpacing(24);
    lay->addWidget(new QLabel(QStringLiteral("当前日期时间："), w));
    auto *clock = new QLabel(nowText(), w);
    clock->setObjectName(QStringLiteral("NowShow"));
    clock->setStyleSheet(QStringLiteral("color:#1a4f8b;font-weight:bold;"));
    lay->addWidget(clock);
    if (ticking) {
        auto *timer = new QTimer(clock);
        timer->setObjectName(QStringLiteral("Timer1"));
        QObject::connect(timer, &QTimer::timeout, clock, [clock] { clock->setText(nowText()); });
        timer->start(1000);
    }
    lay->addStretch();
    return w;
}

QTreeWidget *bookList(const QStringList &captions, bool checkBoxes, QWidget *parent)
{
    auto *t = new QTreeWidget(parent);
    t->setObjectName(QStringLiteral("BookList"));
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setAlternatingRowColors(true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setSortingEnabled(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setHeaderLabels(captions);
    t->header()->setSectionsClickable(false);
    t->header()->setStretchLastSection(true);
    Q_UNUSED(checkBoxes);
    return t;
}

void focusBox(QLineEdit *box, bool select)
{
    if (!box)
        return;
    box->setFocus();
    if (select)
        box->selectAll();
}

QString count(int n, const QString &unit) { return QString::number(n) + unit; }

QGroupBox *inputBox(const QString &title, const QList<std::pair<QString, QLineEdit *>> &boxes, QWidget *parent,
                    QObject *focusFilter)
{
    auto *box = new QGroupBox(title, parent);
    auto *lay = new QHBoxLayout(box);
    for (const auto &[caption, e] : boxes) {
        auto *l = new QLabel(caption, box);
        l->setBuddy(e);
        lay->addWidget(l);
        lay->addWidget(e, 1);
        if (focusFilter)
            e->installEventFilter(focusFilter);
    }
    return box;
}

QHBoxLayout *commandRow(QWidget *lead, const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    if (lead)
        row->addWidget(lead, 1);
    else
        row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

bool deskKey(QKeyEvent *event, const QList<QLineEdit *> &boxes)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return true;
    }
    const int i = key - Qt::Key_F2;
    if (i < 0 || i >= boxes.size())
        return false;
    focusBox(boxes.at(i), true);
    event->accept();
    return true;
}

ReaderPanel::ReaderPanel(QWidget *dialog, const QString &title)
    : m_box(new QGroupBox(title, dialog)), m_grid(new QGridLayout(m_box)), m_photo(photoPanel(m_pic, dialog))
{
}

void ReaderPanel::addStandardFields()
{
    addField("R_Num", QStringLiteral("读者编号："));
    addField("R_Name", QStringLiteral("读者姓名："));
    addField("R_Sex", QStringLiteral("读者性别："));
    addField("R_Type", QStringLiteral("读者类型："));
}

QLineEdit *ReaderPanel::addField(const char *objectName, const QString &caption, bool rightAligned)
{
    QLineEdit *e = DeskUi::field(objectName, m_box);
    if (rightAligned)
        e->setAlignment(Qt::AlignRight);
    m_fields.insert(e->objectName(), e);
    addWidget(caption, e);
    return e;
}

void ReaderPanel::addWidget(const QString &caption, QWidget *w)
{
    DeskUi::addField(m_grid, m_next / 2, m_next % 2, caption, w);
    ++m_next;
}

QHBoxLayout *ReaderPanel::besidePhoto(QVBoxLayout *left, Qt::Alignment photoAlign) const
{
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(m_photo, 0, photoAlign);
    return top;
}

void ReaderPanel::setText(const char *objectName, const QString &text) const
{
    if (QLineEdit *e = m_fields.value(QString::fromLatin1(objectName)))
        e->setText(text);
}

} // namespace qandor::DeskUi

namespace qandor {

using namespace DeskUi;

// --- return and renewal screens ---

LoanListScreen::LoanListScreen(OpenLoanDesk &desk, const QString &inputTitle, QWidget *parent)
    : QDialog(parent), m_loans(desk), m_inReader(input("Input_ReaderNum", this, [this] { loadLoans(LoanLookup::Reader); })),
      m_inBook(input("Input_BookNum", this, [this] { loadLoans(LoanLookup::Book); })), m_panel(this)
{
    m_inputBox = inputBox(inputTitle, {{QStringLiteral("读者编号【F2】"), m_inReader}, {QStringLiteral("图书编号【F3】"), m_inBook}}, this,
                          this);
    m_panel.addStandardFields();
}

void LoanListScreen::finishLayout(QLayout *readerArea, QWidget *listBox, const QString &operatorName, bool ticking,
                                  const QString &actCaption, const QString &quitCaption, const std::function<void()> &act)
{
    auto *left = new QVBoxLayout;
    left->addWidget(m_inputBox);
    left->addLayout(readerArea);

    auto *all = button("RzBitBtn1", QStringLiteral("选中全部(&A)"), this);
    auto *none = button("RzBitBtn2", QStringLiteral("取消选中(&Z)"), this);
    auto *clear = button("RzBitBtn5", QStringLiteral("清空信息(&C)"), this);
    auto *go = button("RzBitBtn3", actCaption, this);
    auto *quit = button("RzBitBtn4", quitCaption, this);
    go->setStyleSheet(QStringLiteral("font-weight:bold;"));
    connect(all, &QPushButton::clicked, this, &LoanListScreen::tickAll);
    connect(none, &QPushButton::clicked, this, &LoanListScreen::untickAll);
    connect(clear, &QPushButton::clicked, this, &LoanListScreen::clearAll);
    connect(go, &QPushButton::clicked, this, act);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(m_panel.besidePhoto(left));
    lay->addWidget(listBox, 1);
    lay->addLayout(commandRow(operatorAndClock(operatorName, ticking, this), {all, none, clear, go, quit}));

    setTabOrder(m_inReader, m_inBook);
    setTabOrder(m_inBook, m_list);
}

void LoanListScreen::follow(const DeskOutcome &o)
{
    refresh();
    QLineEdit *box = o.focus == DeskFocus::ReaderNum ? m_inReader : o.focus == DeskFocus::BookNum ? m_inBook : nullptr;
    focusBox(box, o.selectInput);
}

void LoanListScreen::afterWrite(const DeskOutcome &o)
{
    follow(o);
    if (o.ok)
        m_inReader->setFocus();
}

void LoanListScreen::loadLoans(LoanLookup kind)
{
    if (m_busy)
        return;
    m_busy = true;
    QLineEdit *box = kind == LoanLookup::Reader ? m_inReader : m_inBook;
    const DeskOutcome o = m_loans.loadOpenLoans(box->text(), kind);
    const bool giveBack = kind == LoanLookup::Reader && box->text().trimmed().isEmpty() && m_loans.reader();
    m_inReader->clear();
    m_inBook->clear();
    if (giveBack)
        m_inReader->setText(m_loans.reader()->number);
    m_busy = false;
    follow(o);
    afterLoad(o, kind);
}

void LoanListScreen::tickAll() { follow(m_loans.tickAll()); }
void LoanListScreen::untickAll() { follow(m_loans.untickAll()); }

void LoanListScreen::clearAll()
{
    m_loans.reset();
    m_inReader->clear();
    m_inBook->clear();
    follow(DeskOutcome::quiet(DeskFocus::ReaderNum));
}

void LoanListScreen::keyPressEvent(QKeyEvent *event)
{
    if (!deskKey(event, {m_inReader, m_inBook}))
        QDialog::keyPressEvent(event);
}

bool LoanListScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_busy && !m_loans.reader()) {
        if (watched == m_inReader && !m_inReader->text().trimmed().isEmpty())
            loadLoans(LoanLookup::Reader);
        else if (watched == m_inBook && !m_inBook->text().trimmed().isEmpty())
            loadLoans(LoanLookup::Book);
    }
    return QDialog::eventFilter(watched, event);
}

// --- card screens ---

QDate operationDateFrom(const QString &text, const QDate &today)
{
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? d : today;
}

CardScreen::CardScreen(CardDeskBase &desk, QWidget *parent)
    : QDialog(parent), m_card(desk), m_inNum(input("Input_ReaderNum", this, [this] { findReader(CardLookup::Number); })),
      m_inName(input("Input_ReaderName", this, [this] { findReader(CardLookup::Name); })), m_panel(this)
{
    resize(640, 420);
    m_inputBox = inputBox(QStringLiteral("输入读者编号调出读者信息"),
                          {{QStringLiteral("读者编号【F2】"), m_inNum}, {QStringLiteral("读者姓名【F3】"), m_inName}}, this, this);
    m_panel.addStandardFields();
    m_state = m_panel.addField("R_State", QStringLiteral("当前状态："));
    m_date = new QLineEdit(m_panel.box());
    m_date->setObjectName(QStringLiteral("Control_date"));
    m_date->setInputMask(QStringLiteral("9999-99-99;_"));
    m_panel.addWidget(QStringLiteral("操作日期："), m_date);
    connect(m_date, &QLineEdit::editingFinished, this, [this] {
        m_date->setText(operationDateFrom(m_date->text(), m_card.today()).toString(QStringLiteral("yyyy-MM-dd")));
    });
}

void CardScreen::finishLayout(QWidget *below)
{
    auto *left = new QVBoxLayout;
    left->addWidget(m_inputBox);
    left->addWidget(m_panel.box());
    if (below)
        left->addWidget(below);

    auto *ok = button("RzBitBtn1", QStringLiteral("确定(&S)"), this);
    auto *quit = button("RzBitBtn2", QStringLiteral("取消(&Q)"), this);
    connect(ok, &QPushButton::clicked, this, &CardScreen::apply);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(m_panel.besidePhoto(left, Qt::AlignTop));
    lay->addStretch();
    lay->addLayout(commandRow(nullptr, {ok, quit}));
    setTabOrder(m_inNum, m_inName);
}

void CardScreen::resetScreen()
{
    m_card.reset();
    m_inNum->clear();
    m_inName->clear();
    clearMore();
    m_date->setText(m_card.today().toString(QStringLiteral("yyyy-MM-dd")));
    refresh();
    m_inNum->setFocus();
}

void CardScreen::refresh()
{
    const auto &r = m_card.reader();
    m_panel.show(r);
    m_state->setText(r ? r->status : QString());
    refreshMore();
}

void CardScreen::follow(const DeskOutcome &o)
{
    refresh();
    focusBox(o.focus == DeskFocus::ReaderName ? m_inName : o.focus == DeskFocus::ReaderNum ? m_inNum : nullptr, o.selectInput);
}

void CardScreen::findReader(CardLookup kind)
{
    if (m_busy)
        return;
    m_busy = true;
    QLineEdit *box = kind == CardLookup::Number ? m_inNum : m_inName;
    const DeskOutcome o = m_card.findReader(box->text(), kind);
    if (!m_card.reader() && o.selectInput) { // refused: the screen was reset
        m_inNum->clear();
        m_inName->clear();
        clearMore();
    }
    m_busy = false;
    follow(o);
}

void CardScreen::apply()
{
    m_card.setOperationDate(operationDateFrom(m_date->text(), m_card.today()));
    beforeApply();
    const DeskOutcome o = m_card.apply();
    if (o.ok)
        resetScreen();
    else
        follow(o);
}

void CardScreen::showEvent(QShowEvent *event)
{
    // Every showing starts from an empty screen dated today.
    if (!event->spontaneous())
        resetScreen();
    QDialog::showEvent(event);
}

void CardScreen::keyPressEvent(QKeyEvent *event)
{
    if (!deskKey(event, {m_inNum, m_inName}))
        QDialog::keyPressEvent(event);
}

bool CardScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_busy && !m_card.reader()) {
        if (watched == m_inNum && !m_inNum->text().trimmed().isEmpty())
            findReader(CardLookup::Number);
        else if (watched == m_inName && !m_inName->text().trimmed().isEmpty())
            findReader(CardLookup::Name);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qandor
