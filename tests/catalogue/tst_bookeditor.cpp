#include "catalogue/bookeditorlogic.h"
#include "catalogue/tfrmaddoreditbookinfor.h"
#include "data/money.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
QString s(const char *t) { return QString::fromUtf8(t); }

// Catalogues one book through the editor's rules: type, leave the class
// box (call number), save.
bool addBook(BookEditorLogic &ed, const QString &title, const QString &cls, const QString &isbn,
             const QByteArray &picture = {})
{
    ed.beginAdd();
    ed.record.insert(s("图书名称"), title);
    ed.record.insert(s("标准ISBN"), isbn);
    ed.record.insert(s("分类号"), cls);
    ed.record.insert(s("作者信息"), s("曹雪芹"));
    ed.record.insert(s("定价"), QVariant::fromValue(Money::fromFen(4550)));
    ed.setPicture(picture);
    ed.classNoLeft();
    return ed.save();
}

QByteArray samplePicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG");
    return bytes;
}

int bookCount(TestDb &t) { return t.db().scalar(s("select count(*) from 图书资料")).toInt(); }
} // namespace

class TestBookEditor : public QObject {
    Q_OBJECT
private slots:
    void callNumberSerialsWithinClass();
    void sequenceBoxAndEditModeClass();
    void automaticNumberAndCopyPrior();
    void recallByIsbn();
    void recallByTitleSuppressesIsbnRecall();
    void isbnWarningCanBeOverridden();
    void volumesSaveInOneGo_data();
    void volumesSaveInOneGo();
    void takenNumberRefusesWholeSeries();
    void hostileTextInEveryField_data();
    void hostileTextInEveryField();
    void editorDialogPictureRoundTrip();
    void editModeHidesAddOnlyControls();
    void closingWithFocusInABox();
};

void TestBookEditor::callNumberSerialsWithinClass()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    const QString cls = s("I247.5");

    QVERIFY(addBook(ed, s("红楼梦"), cls, s("7-5063-2512-X")));
    QCOMPARE(ed.record.value(s("种次号")).toInt(), 1);
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I247.5/1"));

    QVERIFY(addBook(ed, s("水浒传"), cls, s("7-111-07127-1")));
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I247.5/2"));

    // Another copy of the first title shares its call number.
    QVERIFY(addBook(ed, s("红楼梦"), cls, s("7-5063-2512-X")));
    QCOMPARE(ed.record.value(s("种次号")).toInt(), 1);
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I247.5/1"));

    // Same title with another ISBN is another title; another class starts at 1.
    QVERIFY(addBook(ed, s("红楼梦"), cls, s("9787020002207")));
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I247.5/3"));
    QVERIFY(addBook(ed, s("红楼梦"), s("K825"), s("9787020002207")));
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("K825/1"));

    // An empty class is no error: serial 0, no call number.
    ed.beginAdd();
    ed.record.insert(s("分类号"), s("   "));
    ed.classNoLeft();
    QCOMPARE(ed.record.value(s("种次号")).toInt(), 0);
    QVERIFY(ed.record.value(s("索书号")).toString().isEmpty());
    QVERIFY(t.sink.entries.isEmpty());
}

void TestBookEditor::sequenceBoxAndEditModeClass()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    QVERIFY(addBook(ed, s("围城"), s("I246.5"), QString()));
    QVERIFY(addBook(ed, s("边城"), s("I246.5"), QString()));
    const qint64 id = ed.lastSavedIds().value(0);

    ed.beginAdd();
    ed.record.insert(s("分类号"), s("I247.5"));
    ed.seqNoLeft(s(" 7 "));
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I247.5/7"));
    ed.record.insert(s("分类号"), QString());
    ed.seqNoLeft(s("7"));
    QVERIFY(ed.record.value(s("索书号")).toString().isEmpty());

    // Edit mode: changing the class and changing it back restores the
    // serial but keeps the call number last computed.
    QVERIFY(ed.beginEdit(id));
    QCOMPARE(ed.EditStartSeqNo, 2);
    ed.record.insert(s("分类号"), s("K825"));
    ed.classNoLeft();
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("K825/1"));
    ed.record.insert(s("分类号"), s("I246.5"));
    ed.classNoLeft();
    QCOMPARE(ed.record.value(s("种次号")).toInt(), 2);
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("K825/1"));
    // Saving the edit rewrites the same row, nothing added.
    ed.seqNoLeft(s("2"));
    QVERIFY(ed.save());
    QCOMPARE(bookCount(t), 2);
    QCOMPARE(t.db().scalar(s("select 索书号 from 图书资料 where ID=?"), {id}).toString(), s("I246.5/2"));
}

void TestBookEditor::automaticNumberAndCopyPrior()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    ed.setToday(QDate(2024, 3, 9));
    QVERIFY(ed.beginAdd());
    QCOMPARE(ed.record.value(s("图书编号")).toString(), s("00001"));
    QCOMPARE(ed.record.value(s("入库时间")).toDate(), QDate(2024, 3, 9));
    QCOMPARE(ed.record.value(s("批次")).toString(), s("202403"));
    ed.record.insert(s("图书编号"), s("  "));
    ed.bookNoLeft();
    QCOMPARE(ed.record.value(s("图书编号")).toString(), s("00001"));

    // Nothing saved yet: copy-previous leaves the record alone.
    ed.record.insert(s("图书名称"), s("围城"));
    QVERIFY(!ed.CopyPrior());
    QCOMPARE(ed.record.value(s("图书名称")).toString(), s("围城"));

    ed.record.insert(s("分类号"), s("I246.5"));
    ed.record.insert(s("出版社"), s("人民文学出版社"));
    ed.classNoLeft();
    QVERIFY(ed.save());
    QVERIFY(ed.continueAfterSave());
    QCOMPARE(ed.record.value(s("图书编号")).toString(), s("00002"));
    QVERIFY(ed.record.value(s("图书名称")).toString().isEmpty());
    QVERIFY(ed.CopyPrior());
    QCOMPARE(ed.record.value(s("图书名称")).toString(), s("围城"));
    QCOMPARE(ed.record.value(s("出版社")).toString(), s("人民文学出版社"));
    QCOMPARE(ed.record.value(s("索书号")).toString(), s("I246.5/1"));
    QCOMPARE(ed.record.value(s("图书编号")).toString(), s("00002"));

    // Rule off: no number is proposed.
    BookEditorLogic manual(t.bast(), {false, 5});
    QVERIFY(!manual.beginAdd());
    QVERIFY(manual.record.value(s("图书编号")).toString().isEmpty());
}

void TestBookEditor::recallByIsbn()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    const QByteArray pic = samplePicture(24, 30);
    QVERIFY(addBook(ed, s("红楼梦"), s("I242.4"), s("7-5063-2512-X"), pic));
    QCOMPARE(t.db().scalar(s("select ISBN from 图书资料")).toString(), s("9787506325127"));

    BookEditorLogic next(t.bast(), {true, 5});
    next.beginAdd();
    // "No": nothing changes, and the question comes again next time.
    t.sink.answers.enqueue(false);
    next.record.insert(s("标准ISBN"), s("9787506325127"));
    QCOMPARE(next.RecallByIsbn(), BookEditorLogic::Recall::Nothing);
    QVERIFY(next.record.value(s("图书名称")).toString().isEmpty());
    QCOMPARE(t.sink.entries.size(), 1);
    // The 13-digit form finds the copy through its ISBN column.
    QCOMPARE(next.RecallByIsbn(), BookEditorLogic::Recall::Recalled);
    QCOMPARE(t.sink.entries.size(), 2);
    QCOMPARE(t.sink.lastText(), s("从库中检索到拥有相同ISBN号的图书资料，是否调用其相关信息？"));
    QCOMPARE(next.record.value(s("图书名称")).toString(), s("红楼梦"));
    QCOMPARE(next.record.value(s("标准ISBN")).toString(), s("7-5063-2512-X"));
    QCOMPARE(next.record.value(s("作者信息")).toString(), s("曹雪芹"));
    QCOMPARE(next.record.value(s("定价")).value<Money>(), Money::fromFen(4550));
    QCOMPARE(next.record.value(s("图片")).toByteArray(), pic);
    // Same title, class and standard ISBN: the stored call number.
    QCOMPARE(next.record.value(s("索书号")).toString(), s("I242.4/1"));
    QCOMPARE(next.LastRecalledTitle, s("红楼梦"));

    // After a recall the title recall stays quiet.
    QCOMPARE(next.RecallByTitle(), BookEditorLogic::Recall::Nothing);
    QCOMPARE(t.sink.entries.size(), 2);
}

void TestBookEditor::recallByTitleSuppressesIsbnRecall()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    QVERIFY(addBook(ed, s("围城"), s("I246.5"), s("7-111-07127-1")));
    QVERIFY(addBook(ed, s("边城"), s("I246.5"), s("9787020002207")));

    BookEditorLogic next(t.bast(), {true, 5});
    next.beginAdd();
    next.record.insert(s("图书名称"), s("围城"));
    QCOMPARE(next.RecallByTitle(), BookEditorLogic::Recall::Recalled);
    QCOMPARE(t.sink.lastText(), s("从库中检索到拥有相同名称的图书资料，是否调用其相关信息？"));
    QCOMPARE(next.record.value(s("标准ISBN")).toString(), s("7-111-07127-1"));
    QCOMPARE(next.record.value(s("索书号")).toString(), s("I246.5/1"));
    // The title recall does not copy the 13-digit form.
    QVERIFY(next.record.value(s("ISBN")).toString().isEmpty());
    const int asked = t.sink.entries.size();
    // Leaving the ISBN box with the recalled ISBN restores the previous
    // book (none yet) instead of asking again.
    QCOMPARE(next.RecallByIsbn(), BookEditorLogic::Recall::Nothing);
    QCOMPARE(t.sink.entries.size(), asked);
    // A title not in the catalogue says nothing.
    next.record.insert(s("图书名称"), s("不存在的书"));
    QCOMPARE(next.RecallByTitle(), BookEditorLogic::Recall::Nothing);
    QCOMPARE(t.sink.entries.size(), asked);
}

void TestBookEditor::isbnWarningCanBeOverridden()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    ed.record.insert(s("标准ISBN"), s("7-111-07127-1"));
    QVERIFY(ed.confirmIsbn());
    QVERIFY(t.sink.entries.isEmpty());

    ed.record.insert(s("标准ISBN"), s("7-111-07127-2"));
    t.sink.answers.enqueue(false);
    QVERIFY(!ed.confirmIsbn());
    QCOMPARE(t.sink.entries.size(), 1);
    QVERIFY(t.sink.lastText().contains(s("7-111-07127-2")));
    QCOMPARE(t.sink.lastKind(), s("yes"));
    QVERIFY(ed.confirmIsbn()); // the operator keeps it
    QVERIFY(ed.confirmIsbn()); // and is not asked again for it
    QCOMPARE(t.sink.entries.size(), 2);
    // The typed number is stored as typed.
    ed.record.insert(s("图书名称"), s("某书"));
    QVERIFY(ed.save());
    QCOMPARE(t.db().scalar(s("select 标准ISBN from 图书资料")).toString(), s("7-111-07127-2"));
}

void TestBookEditor::volumesSaveInOneGo_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QStringList>("titles");
    using V = BookEditorLogic::Volumes;
    QTest::newRow("two volumes") << int(V::Two) << 0 << QStringList{s("00007"), s("00008")}
                                 << QStringList{s("史记(上卷)"), s("史记(下卷)")};
    QTest::newRow("three volumes") << int(V::Three) << 0 << QStringList{s("00007"), s("00008"), s("00009")}
                                   << QStringList{s("史记(上卷)"), s("史记(中卷)"), s("史记(下卷)")};
    QTest::newRow("four volumes") << int(V::Num) << 4
                                  << QStringList{s("00007"), s("00008"), s("00009"), s("00010")}
                                  << QStringList{s("史记(第1卷)"), s("史记(第2卷)"), s("史记(第3卷)"), s("史记(第4卷)")};
    QTest::newRow("three copies") << int(V::Sames) << 3
                                                            << QStringList{s("00007"), s("00008"), s("00009")}
                                                            << QStringList{s("史记"), s("史记"), s("史记")};
    QTest::newRow("count below 2 becomes 2") << int(V::Sames) << 1 << QStringList{s("00007"), s("00008")}
                                             << QStringList{s("史记"), s("史记")};
}

void TestBookEditor::volumesSaveInOneGo()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, titles);
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    ed.record.insert(s("图书编号"), s("00007"));
    ed.record.insert(s("图书名称"), s("史记"));
    ed.record.insert(s("分类号"), s("K204.2"));
    ed.classNoLeft();
    ed.volumes = BookEditorLogic::Volumes(mode);
    ed.numSet = count;
    ed.samesSet = count;
    QVERIFY(ed.save());
    QCOMPARE(ed.lastSavedIds().size(), numbers.size());
    QSqlQuery q = t.db().exec(s("select 图书编号,图书名称,索书号,状态 from 图书资料 order by 图书编号"));
    for (int i = 0; i < numbers.size(); ++i) {
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), numbers.at(i));
        QCOMPARE(q.value(1).toString(), titles.at(i));
        QCOMPARE(q.value(2).toString(), s("K204.2/1"));
        QCOMPARE(q.value(3).toString(), s("在馆"));
    }
    QVERIFY(!q.next());
}

void TestBookEditor::takenNumberRefusesWholeSeries()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    QVERIFY(addBook(ed, s("甲"), QString(), QString())); // 00001
    t.db().exec(s("insert into 图书资料 (图书编号,图书名称) values (?,?)"), {s("00003"), s("乙")});

    ed.beginAdd();
    QCOMPARE(ed.record.value(s("图书编号")).toString(), s("00004"));
    ed.record.insert(s("图书编号"), s("00002"));
    ed.record.insert(s("图书名称"), s("丙"));
    ed.volumes = BookEditorLogic::Volumes::Three; // 00002, 00003 (taken), 00004
    QVERIFY(!ed.save());
    QCOMPARE(t.sink.lastText(), s("图书编号为[00003]的图书已经存在，请重新输入！"));
    QCOMPARE(bookCount(t), 2);

    // A number that cannot be stepped is refused before anything is written.
    ed.record.insert(s("图书编号"), s("A-1"));
    QVERIFY(!ed.save());
    QVERIFY(t.sink.lastText().contains(s("不是纯数字")));
    QCOMPARE(bookCount(t), 2);

    // Required fields.
    ed.volumes = BookEditorLogic::Volumes::Single;
    ed.record.insert(s("图书编号"), s(" "));
    QVERIFY(!ed.save());
    QCOMPARE(t.sink.lastText(), s("图书编号不能为空值!"));
    ed.record.insert(s("图书编号"), s("00009"));
    ed.record.insert(s("图书名称"), s("  "));
    QVERIFY(!ed.save());
    QCOMPARE(t.sink.lastText(), s("图书名称不能为空值!"));
    QCOMPARE(bookCount(t), 2);
}

void TestBookEditor::hostileTextInEveryField_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quote") << s("O'Brien");
    QTest::newRow("double quote and percent") << s("\"100%\" 中_文");
    QTest::newRow("comment and statement") << s("x'; drop table 图书资料; --");
    QTest::newRow("backslash") << s("C:\\书\\'");
}

void TestBookEditor::hostileTextInEveryField()
{
    QFETCH(QString, text);
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    ed.beginAdd();
    const QString number = ed.record.value(s("图书编号")).toString();
    for (const QString &c : BookEditorLogic::columns()) {
        if (EditorRecords::isDateColumn(c) || EditorRecords::isMoneyColumn(c) || EditorRecords::isIntColumn(c)
            || EditorRecords::isPictureColumn(c) || c == s("图书编号"))
            continue;
        ed.record.insert(c, QString(text + c));
    }
    ed.classNoLeft();
    QVERIFY(ed.save());
    QCOMPARE(bookCount(t), 1);
    QSqlQuery q = t.db().exec(s("select * from 图书资料 where 图书编号=?"), {number});
    QVERIFY(q.next());
    const EditorRecord back = EditorRecords::readRow(q, BookEditorLogic::columns());
    for (const QString &c : BookEditorLogic::columns())
        QCOMPARE(back.value(c), ed.record.value(c));

    // The recalls find the hostile texts again.
    BookEditorLogic next(t.bast(), {true, 5});
    next.beginAdd();
    next.record.insert(s("图书名称"), QString(text + s("图书名称")));
    QCOMPARE(next.RecallByTitle(), BookEditorLogic::Recall::Recalled);
    QCOMPARE(next.record.value(s("索书号")).toString(), ed.record.value(s("索书号")).toString());
}

void TestBookEditor::editorDialogPictureRoundTrip()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    QTemporaryDir dir;
    const QString file = dir.filePath(s("封面.jpg"));
    QImage big(480, 500, QImage::Format_RGB32);
    big.fill(Qt::red);
    QVERIFY(big.save(file, "JPG"));

    CatalogueContext ctx;
    ctx.bast = &t.bast();
    ctx.treeFile = dir.filePath(s("BFA.dat"));
    {
        TfrmAddOrEditBookInfor dlg(ctx);
        QVERIFY(dlg.startAdd());
        QCOMPARE(dlg.windowTitle(), s("添加图书信息"));
        QCOMPARE(dlg.findChild<QLineEdit *>(s("Book_NO"))->text(), s("00001"));
        QVERIFY(dlg.loadPictureFile(file));
        dlg.findChild<QLineEdit *>(s("Book_ISBN"))->setText(s("7-111-07127-1"));
        dlg.Book_ISBNExit();
        dlg.findChild<QLineEdit *>(s("Book_Name"))->setText(s("计算机网络"));
        dlg.Book_NameExit();
        dlg.findChild<QLineEdit *>(s("Book_TypeNO"))->setText(s("TP393"));
        dlg.Book_TypeNOExit();
        QCOMPARE(dlg.findChild<QLineEdit *>(s("Book_Index"))->text(), s("TP393/1"));
        dlg.findChild<QLineEdit *>(s("Book_Price"))->setText(s("39.80"));
        QVERIFY(dlg.saveAndContinue());
        // The next record is prepared as on opening.
        QCOMPARE(dlg.findChild<QLineEdit *>(s("Book_NO"))->text(), s("00002"));
        QVERIFY(dlg.findChild<QLineEdit *>(s("Book_Name"))->text().isEmpty());
    }
    QVERIFY(t.sink.entries.isEmpty());
    QSqlQuery q = t.db().exec(s("select 图片,定价,索书号 from 图书资料"));
    QVERIFY(q.next());
    QImage stored;
    QVERIFY(stored.loadFromData(q.value(0).toByteArray()));
    QCOMPARE(stored.size(), QSize(240, 300));
    QCOMPARE(Money::fromVariant(q.value(1)), Money::fromFen(3980));

    // A second copy recalled by ISBN brings the cover along.
    TfrmAddOrEditBookInfor dlg(ctx);
    dlg.startAdd();
    dlg.findChild<QLineEdit *>(s("Book_ISBN"))->setText(s("7-111-07127-1"));
    dlg.Book_ISBNExit();
    QCOMPARE(dlg.findChild<QLineEdit *>(s("Book_Name"))->text(), s("计算机网络"));
    QVERIFY(dlg.logic().hasPicture());
    QVERIFY(dlg.saveAndClose());
    QCOMPARE(t.db().scalar(s("select count(*) from 图书资料 where 索书号=?"), {s("TP393/1")}).toInt(), 2);
    QCOMPARE(t.db().scalar(s("select count(*) from 图书资料 where 图片 is not null")).toInt(), 2);
    dlg.clearPicture();
    QVERIFY(!dlg.logic().hasPicture());
    dlg.clearPicture();
    QCOMPARE(t.sink.lastText(), s("当前图片已经为已经为空！"));
}

void TestBookEditor::editModeHidesAddOnlyControls()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    BookEditorLogic ed(t.bast(), {true, 5});
    QVERIFY(addBook(ed, s("围城"), s("I246.5"), QString()));
    CatalogueContext ctx;
    ctx.bast = &t.bast();
    TfrmAddOrEditBookInfor dlg(ctx);
    QVERIFY(dlg.startEdit(ed.lastSavedIds().value(0)));
    QCOMPARE(dlg.windowTitle(), s("修改当前选中的图书信息"));
    QVERIFY(dlg.findChild<QGroupBox *>(s("NumGroup"))->isHidden());
    QVERIFY(dlg.findChild<QGroupBox *>(s("ParameterGroup"))->isHidden());
    QVERIFY(dlg.findChild<QPushButton *>(s("SaveAndContinu"))->isHidden());
    QCOMPARE(dlg.findChild<QLineEdit *>(s("Book_Name"))->text(), s("围城"));
    // The lookup buttons are laid out but wait for the online lookup.
    QVERIFY(!dlg.findChild<QPushButton *>(s("FindButton"))->isEnabled());
    // Spin boxes hold 2..99.
    auto *numSet = dlg.findChild<QSpinBox *>(s("NumSet"));
    numSet->setValue(1);
    QCOMPARE(numSet->value(), 2);
    numSet->setValue(150);
    QCOMPARE(numSet->value(), 99);
    // The volume boxes exclude each other.
    dlg.findChild<QCheckBox *>(s("CheckTwo"))->setChecked(true);
    dlg.findChild<QCheckBox *>(s("CheckNum"))->setChecked(true);
    QVERIFY(!dlg.findChild<QCheckBox *>(s("CheckTwo"))->isChecked());
    QVERIFY(numSet->isEnabled());
    dlg.findChild<QCheckBox *>(s("CheckNum"))->setChecked(false);
    QVERIFY(!numSet->isEnabled());
    QCOMPARE(numSet->value(), 2);
}

void TestBookEditor::closingWithFocusInABox()
{
    // The box holding the focus reports leaving while the window is being
    // destroyed; that must reach no handler.
    QANDOR_TESTDB(t);
    t.createDelivered();
    CatalogueContext ctx;
    ctx.bast = &t.bast();
    auto *dlg = new TfrmAddOrEditBookInfor(ctx);
    dlg->startAdd();
    dlg->show();
    QApplication::setActiveWindow(dlg);
    auto *name = dlg->findChild<QLineEdit *>(s("Book_Name"));
    name->setFocus();
    QCoreApplication::processEvents();
    name->setText(s("围城"));
    delete dlg;
    QVERIFY(t.sink.entries.isEmpty());
    QCOMPARE(bookCount(t), 0);
}

QTEST_MAIN(TestBookEditor)
#include "tst_bookeditor.moc"
