#include "readers/readerbook.h"
#include "readers/readerwidgets.h"
#include "readers/tfrmaddoreditreaderinfor.h"
#include "readers/tfrmreadermanager.h"
#include "readers/tfrmtakephotofromvideo.h"
#include "support/testdb.h"
#include "widgets/datagrid.h"
#include "widgets/pictures.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
void addType(Database &db, const QString &name, const QString &limit, int months, bool prepaid, int depositYuan = 20)
{
    db.exec(u"insert into 读者类型 (类型名称,办证押金,期限限制,有效期限,包租,包租金,包租量) values (?,?,?,?,?,?,?)"_qs,
            {name, QVariant::fromValue(Money::fromYuan(depositYuan)), limit, months, prepaid,
             QVariant::fromValue(Money::fromYuan(prepaid ? 100 : 0)), prepaid ? 10 : 0});
}

Reader baseReader(const QString &number, const QString &type)
{
    Reader r;
    r.number = number;
    r.name = u"张三"_qs;
    r.type = type;
    r.createDay = QDate(2024, 1, 31);
    return r;
}

struct Fixture {
    explicit Fixture(TestDb &t) : t(t), book(t.bast(), NumberRule{true, 4})
    {
        t.createDelivered();
        t.bast().setMessageSink(&t.sink);
        addType(t.db(), u"学生"_qs, u"有"_qs, 1, false);
        addType(t.db(), u"包租户"_qs, u"有"_qs, 12, true);
        addType(t.db(), u"O'Brien\"%"_qs, u"无"_qs, 0, false, 5);
        book.setToday(QDate(2024, 6, 1));
        types = book.typeNames();
    }
    TestDb &t;
    ReaderBook book;
    QStringList types;
};
} // namespace

class TestReaders : public QObject {
    Q_OBJECT
private slots:
    void validityEnd_data();
    void validityEnd();
    void statusRule_data();
    void statusRule();
    void savePathsAndHostileText();
    void checksAndDuplicates();
    void twoDesksSameNumber();
    void editorFlowAndPhotoRoundTrip();
    void managerListsFiltersAndDeletes();
    void deleteRefusedByOpenLoans_data();
    void deleteRefusedByOpenLoans();
    void cameraWithoutDevice();
};

void TestReaders::validityEnd_data()
{
    QTest::addColumn<QDate>("base");
    QTest::addColumn<int>("months");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("31 Jan leap year") << QDate(2024, 1, 31) << 1 << QDate(2024, 3, 1);
    QTest::newRow("31 Jan common year") << QDate(2023, 1, 31) << 1 << QDate(2023, 3, 1);
    QTest::newRow("12 months") << QDate(2023, 5, 10) << 12 << QDate(2024, 5, 11);
    QTest::newRow("31 Dec + 2") << QDate(2024, 12, 31) << 2 << QDate(2025, 3, 1);
    QTest::newRow("29 Feb + 12") << QDate(2024, 2, 29) << 12 << QDate(2025, 3, 1);
}

void TestReaders::validityEnd()
{
    QFETCH(QDate, base);
    QFETCH(int, months);
    QFETCH(QDate, expected);
    QCOMPARE(readerValidityEnd(base, months), expected);
    ReaderType ty;
    ty.limitFlag = u"有"_qs;
    ty.months = months;
    ty.deposit = Money::fromYuan(30);
    Reader r;
    applyTypeTerms(r, ty, base);
    QCOMPARE(r.endDay, expected);
    QCOMPARE(r.deposit, Money::fromYuan(30));
    ty.limitFlag = u"无"_qs;
    applyTypeTerms(r, ty, base);
    QVERIFY(!r.endDay.isValid());
    applyTypeTerms(r, std::nullopt, base);
    QCOMPARE(r.deposit, Money());
    QCOMPARE(r.limitFlag, u"无"_qs);
}

void TestReaders::statusRule_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<bool>("readerPrepaid");
    QTest::addColumn<bool>("typePrepaid");
    QTest::addColumn<QString>("expected");
    const QDate past(2024, 5, 1), future(2024, 7, 1), today(2024, 6, 1);
    QTest::newRow("lost, no limit") << u"挂失"_qs << u"无"_qs << QDate() << false << false << u"正常"_qs;
    QTest::newRow("lost, limited") << u"挂失"_qs << u"有"_qs << future << false << false << u"挂失"_qs;
    QTest::newRow("expired, moved to today") << u"过期"_qs << u"有"_qs << today << false << false << u"正常"_qs;
    QTest::newRow("expired, still past") << u"过期"_qs << u"有"_qs << past << false << false << u"过期"_qs;
    QTest::newRow("expired prepaid, future") << u"过期"_qs << u"有"_qs << future << true << true << u"过期"_qs;
    QTest::newRow("expired, no limit") << u"过期"_qs << u"无"_qs << QDate() << true << false << u"正常"_qs;
    QTest::newRow("prepaid type, no quota") << u"正常"_qs << u"有"_qs << future << false << true << u"等待"_qs;
    QTest::newRow("waiting, no limit") << u"等待"_qs << u"无"_qs << QDate() << false << false << u"正常"_qs;
    QTest::newRow("prepaid reader keeps") << u"正常"_qs << u"有"_qs << future << true << true << u"正常"_qs;
}

void TestReaders::statusRule()
{
    QFETCH(QString, current);
    QFETCH(QString, limit);
    QFETCH(QDate, end);
    QFETCH(bool, readerPrepaid);
    QFETCH(bool, typePrepaid);
    QFETCH(QString, expected);
    QCOMPARE(statusOnSave(current, limit, end, QDate(2024, 6, 1), readerPrepaid, typePrepaid), expected);
}

void TestReaders::savePathsAndHostileText()
{
    QANDOR_TESTDB(t);
    Fixture f(t);
    const QString hostile = u"O'Brien\"%_--;'); drop table 读者资料;--"_qs;
    Reader r = f.book.newReader();
    QCOMPARE(r.number, u"0001"_qs);
    QCOMPARE(r.createDay, QDate(2024, 6, 1));
    r.name = hostile;
    r.sex = hostile.left(10);
    r.type = u"O'Brien\"%"_qs;
    r.department = hostile;
    r.tel = hostile;
    r.email = hostile;
    r.address = hostile;
    r.memo = hostile + u"\n第二行"_qs;
    r.birthDay = QDate(1990, 2, 28);
    f.book.applyType(r);
    QCOMPARE(r.deposit, Money::fromYuan(5));
    QCOMPARE(f.book.save(r, true, {}, f.types), ReaderBook::SaveResult::Saved);
    QVERIFY(r.id > 0);

    const auto back = f.book.load(r.id);
    QVERIFY(back);
    QCOMPARE(back->name, hostile);
    QCOMPARE(back->type, u"O'Brien\"%"_qs);
    QCOMPARE(back->department, hostile);
    QCOMPARE(back->tel, hostile);
    QCOMPARE(back->email, hostile);
    QCOMPARE(back->address, hostile);
    QCOMPARE(back->memo, r.memo);
    QCOMPARE(back->birthDay, QDate(1990, 2, 28));
    QCOMPARE(back->status, u"正常"_qs);
    QVERIFY(!back->endDay.isValid());
    QCOMPARE(t.db().scalar(u"select 密码 from 读者资料 where ID=?"_qs, {r.id}).toString(), defaultReaderPassword());
    QVERIFY(!readerListFields().contains(u"密码"_qs));

    // Prepaid type, reader without quota: "等待"; end date from the issue day (31 Jan + 12 months).
    Reader p = f.book.newReader();
    QCOMPARE(p.number, u"0002"_qs);
    p.name = u"李四"_qs;
    p.type = u"包租户"_qs;
    p.createDay = QDate(2024, 1, 31);
    f.book.applyType(p);
    QCOMPARE(p.endDay, QDate(2025, 2, 1));
    QCOMPARE(f.book.save(p, true, {}, f.types), ReaderBook::SaveResult::Saved);
    QCOMPARE(f.book.load(p.id)->status, u"等待"_qs);

    // The desk's counters are not overwritten by an edit.
    t.db().exec(u"update 读者资料 set 借阅次数=7,包租=?,当前可用量=3 where ID=?"_qs, {true, p.id});
    Reader edited = *f.book.load(p.id);
    edited.name = u"李四四"_qs;
    t.db().exec(u"update 读者资料 set 借阅次数=8 where ID=?"_qs, {p.id});
    QCOMPARE(f.book.save(edited, false, edited.number, f.types), ReaderBook::SaveResult::Saved);
    const Reader after = *f.book.load(p.id);
    QCOMPARE(after.loans, 8);
    QCOMPARE(after.quotaLeft, 3);
    QCOMPARE(after.status, u"等待"_qs); // prepaid reader: the rule leaves it
    QCOMPARE(after.name, u"李四四"_qs);
}

void TestReaders::checksAndDuplicates()
{
    QANDOR_TESTDB(t);
    Fixture f(t);
    Reader a = baseReader(u"0100"_qs, u"学生"_qs);
    QCOMPARE(f.book.save(a, true, {}, f.types), ReaderBook::SaveResult::Saved);
    Reader b = baseReader(u"0101"_qs, u"学生"_qs);
    QCOMPARE(f.book.save(b, true, {}, f.types), ReaderBook::SaveResult::Saved);

    struct Case {
        Reader r;
        bool adding;
        QString start;
        QString message;
    };
    Reader emptyNo = baseReader(u"  "_qs, u"学生"_qs);
    Reader emptyName = baseReader(u"0200"_qs, u"学生"_qs);
    emptyName.name = u" "_qs;
    Reader emptyType = baseReader(u"0200"_qs, u" "_qs);
    Reader unknownType = baseReader(u"0200"_qs, u"不存在"_qs);
    Reader dup = baseReader(u" 0100 "_qs, u"学生"_qs);
    Reader renumber = b;
    renumber.number = u"0100"_qs;
    const QList<Case> cases = {
        {emptyNo, true, {}, u"读者编号不能为空值!"_qs},
        {emptyName, true, {}, u"读者姓名不能为空值!"_qs},
        {emptyType, true, {}, u"读者类型不能为空值!"_qs},
        {unknownType, true, {}, u"当前选择的读者类型不存在，请从下拉表中选择正确的读者类型!"_qs},
        {dup, true, {}, u"当前输入的读者编号[0100]已被其他读者使用,请输入其他编号!"_qs},
        {renumber, false, u"0101"_qs, u"当前输入的读者编号[0100]已被其他读者使用,请输入其他编号!"_qs},
    };
    for (Case c : cases) {
        t.sink.clear();
        QCOMPARE(f.book.save(c.r, c.adding, c.start, f.types), ReaderBook::SaveResult::Refused);
        QCOMPARE(t.sink.texts(), QStringList{c.message});
    }
    QCOMPARE(t.db().scalar(u"select count(*) from 读者资料"_qs).toInt(), 2);
    // Keeping one's own number, even with blanks, is accepted.
    Reader same = b;
    same.number = u" 0101 "_qs;
    QCOMPARE(f.book.save(same, false, u"0101"_qs, f.types), ReaderBook::SaveResult::Saved);
    QCOMPARE(f.book.load(b.id)->number, u"0101"_qs);
}

void TestReaders::twoDesksSameNumber()
{
    QANDOR_TESTDB(t);
    Fixture f(t);
    std::unique_ptr<Database> other = t.openSecondConnection();
    QVERIFY(other);
    TBast otherBast(other.get(), &t.sink);
    ReaderBook deskB(otherBast, NumberRule{true, 4});
    Reader a = f.book.newReader();
    Reader b = deskB.newReader();
    QCOMPARE(a.number, b.number);
    a.name = u"甲"_qs;
    a.type = u"学生"_qs;
    b.name = u"乙"_qs;
    b.type = u"学生"_qs;
    QCOMPARE(deskB.save(b, true, {}, f.types), ReaderBook::SaveResult::Saved);

    // Desk A passed its check before B saved: simulate by inserting as the check would see it.
    t.sink.clear();
    Reader late = a;
    // The check sees the number taken now and refuses plainly.
    QCOMPARE(f.book.save(late, true, {}, f.types), ReaderBook::SaveResult::Refused);
    // The unique index refuses what slips past the check; the editor gets the next number.
    QVERIFY_THROWS_EXCEPTION(DbError, t.db().exec(u"insert into 读者资料 (编号) values (?)"_qs, {a.number}));
    const auto offer = numberAfterCollision(t.bast(), NumberKind::Reader, a.number, 4);
    QCOMPARE(offer, std::optional<QString>(u"0002"_qs));
    QCOMPARE(t.db().scalar(u"select count(*) from 读者资料 where 编号=?"_qs, {a.number}).toInt(), 1);
}

void TestReaders::editorFlowAndPhotoRoundTrip()
{
    QANDOR_TESTDB(t);
    Fixture f(t);
    QTemporaryDir dir;
    // A picture file of another size: stored stretched to 100 x 125 JPEG.
    QImage big(400, 300, QImage::Format_RGB32);
    big.fill(Qt::red);
    const QString file = dir.filePath(u"photo.BMP"_qs);
    QVERIFY(big.save(file, "BMP"));

    TfrmAddOrEditReaderInfor dlg(t.bast(), NumberRule{true, 4}, nullptr);
    dlg.book().setToday(QDate::currentDate());
    auto *no = dlg.findChild<QLineEdit *>(u"R_NO"_qs);
    QCOMPARE(no->text(), u"0001"_qs);
    QVERIFY(!dlg.findChild<QPushButton *>(u"SaveAndContinu"_qs)->isHidden());
    dlg.findChild<QLineEdit *>(u"R_Name"_qs)->setText(u"王五"_qs);
    dlg.findChild<QComboBox *>(u"R_Type"_qs)->setCurrentText(u"学生"_qs);
    dlg.typeLeft();
    QCOMPARE(dlg.findChild<MoneyEdit *>(u"R_foregift"_qs)->money(), Money::fromYuan(20));
    QCOMPARE(dlg.findChild<NullableDateEdit *>(u"R_EndDay"_qs)->nullableDate(),
             readerValidityEnd(QDate::currentDate(), 1));
    // Another issue day recomputes from that day.
    dlg.findChild<NullableDateEdit *>(u"R_CreateDay"_qs)->setNullableDate(QDate(2024, 1, 31));
    dlg.createDayLeft();
    QCOMPARE(dlg.findChild<NullableDateEdit *>(u"R_EndDay"_qs)->nullableDate(), QDate(2024, 3, 1));

    t.sink.clear();
    dlg.clearPhoto();
    QCOMPARE(t.sink.lastText(), u"当前照片已经为已经为空！"_qs);
    QVERIFY(!dlg.loadPhotoFile(dir.filePath(u"missing.jpg"_qs)));
    QVERIFY(dlg.loadPhotoFile(file));
    QCOMPARE(QImage::fromData(dlg.photo()).size(), QSize(100, 125));
    const QByteArray stored = dlg.photo();

    QVERIFY(dlg.saveAndContinue());
    // Continue: a fresh reader with the next number and no photo.
    QCOMPARE(no->text(), u"0002"_qs);
    QVERIFY(dlg.photo().isEmpty());
    QCOMPARE(dlg.savedIds().size(), 1);
    const qint64 id = dlg.savedIds().first();
    QCOMPARE(t.db().scalar(u"select 照片 from 读者资料 where ID=?"_qs, {id}).toByteArray(), stored);

    // Blob -> screen -> blob: editing and saving keeps the stored bytes.
    const Reader saved = *f.book.load(id);
    TfrmAddOrEditReaderInfor edit(t.bast(), NumberRule{true, 4}, &saved);
    QVERIFY(edit.findChild<QPushButton *>(u"SaveAndContinu"_qs)->isHidden());
    QCOMPARE(edit.findChild<QPushButton *>(u"SaveAndClose"_qs)->text(), u"保存退出"_qs);
    QVERIFY(!edit.findChild<QLabel *>(u"Pic"_qs)->pixmap().isNull());
    QCOMPARE(edit.photo(), stored);
    QVERIFY(edit.saveAndClose());
    QCOMPARE(t.db().scalar(u"select 照片 from 读者资料 where ID=?"_qs, {id}).toByteArray(), stored);
    QCOMPARE(f.book.load(id)->endDay, QDate(2024, 3, 1));
}

void TestReaders::managerListsFiltersAndDeletes()
{
    QANDOR_TESTDB(t);
    Fixture f(t);
    for (int i = 0; i < 3; ++i) {
        Reader r = f.book.newReader();
        r.name = u"读者"_qs + QString::number(i);
        r.type = i == 2 ? u"O'Brien\"%"_qs : u"学生"_qs;
        QCOMPARE(f.book.save(r, true, {}, f.types), ReaderBook::SaveResult::Saved);
    }
    t.db().exec(u"insert into 图书借阅信息 (状态,读者编号) values ('未还','0001')"_qs);

    TfrmReaderManager m(t.bast(), NumberRule{true, 4}, 100);
    QCOMPARE(m.grid()->model()->rowCount(), 3);
    QCOMPARE(m.grid()->model()->text(0, 1), u"0003"_qs); // newest first
    QCOMPARE(m.tree()->topLevelItemCount(), 4);          // 全部类型 + three types

    // The tree filter with a hostile type name.
    QTreeWidgetItem *hostileNode = nullptr;
    for (int i = 0; i < m.tree()->topLevelItemCount(); ++i)
        if (m.tree()->topLevelItem(i)->text(0) == u"O'Brien\"%"_qs)
            hostileNode = m.tree()->topLevelItem(i);
    QVERIFY(hostileNode);
    m.treeNodeChosen(hostileNode);
    QCOMPARE(m.grid()->model()->rowCount(), 1);
    QCOMPARE(m.grid()->model()->text(0, 1), u"0003"_qs);
    m.treeNodeChosen(m.tree()->topLevelItem(0));
    QCOMPARE(m.grid()->model()->rowCount(), 3);

    // A reader with an open loan is not deleted; one without is, after Yes.
    for (int r = 0; r < 3; ++r)
        if (m.grid()->model()->text(r, 1) == u"0001"_qs)
            m.grid()->view()->setCurrentIndex(m.grid()->model()->index(r, 0));
    t.sink.clear();
    m.deleteReader();
    QVERIFY(t.sink.lastText().contains(u"不能删除"_qs));
    QCOMPARE(m.grid()->model()->rowCount(), 3);
    m.grid()->view()->setCurrentIndex(m.grid()->model()->index(0, 0));
    m.deleteReader();
    QCOMPARE(m.grid()->model()->rowCount(), 2);
    QCOMPARE(t.db().scalar(u"select count(*) from 读者资料 where 编号='0003'"_qs).toInt(), 0);

    // Look-up mode hides the writing commands.
    m.setLookupMode(true);
    for (const char *n : {"AddButton", "EditButton", "DelButton"})
        QVERIFY(m.findChild<QToolButton *>(QString::fromLatin1(n))->isHidden());
}

void TestReaders::deleteRefusedByOpenLoans_data()
{
    QTest::addColumn<QString>("loanTable");
    QTest::addColumn<QString>("loanState");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("open book loan") << u"图书借阅信息"_qs << u"未还"_qs << false;
    QTest::newRow("open magazine loan") << u"期刊借阅信息"_qs << u"未还"_qs << false;
    QTest::newRow("returned magazine loan") << u"期刊借阅信息"_qs << u"已还"_qs << true;
}

void TestReaders::deleteRefusedByOpenLoans()
{
    QFETCH(QString, loanTable);
    QFETCH(QString, loanState);
    QFETCH(bool, deleted);
    QANDOR_TESTDB(t);
    Fixture f(t);
    Reader r = f.book.newReader();
    r.name = u"甲"_qs;
    r.type = u"学生"_qs;
    QCOMPARE(f.book.save(r, true, {}, f.types), ReaderBook::SaveResult::Saved);
    t.db().exec(u"insert into "_qs + loanTable + u" (状态,读者编号) values (?,?)"_qs, {loanState, r.number});
    t.sink.clear();
    QCOMPARE(f.book.remove(&r), deleted);
    QCOMPARE(t.db().scalar(u"select count(*) from 读者资料 where 编号=?"_qs, {r.number}).toInt(), deleted ? 0 : 1);
    if (!deleted)
        QCOMPARE(t.sink.lastText(), u"读者["_qs + r.number + u"]还有1册图书期刊未归还，不能删除！"_qs);
}

void TestReaders::cameraWithoutDevice()
{
    // The test machine has no camera: the screen says so and hands nothing back.
    TfrmTakePhotoFromVideo dlg;
    if (dlg.hasCamera())
        QSKIP("a camera is attached");
    QCOMPARE(dlg.findChild<QLabel *>(u"PhotoShow"_qs)->text(), TfrmTakePhotoFromVideo::noCameraText());
    QVERIFY(!dlg.findChild<QPushButton *>(u"TakePhoto"_qs)->isEnabled());
    dlg.takePhoto();
    QVERIFY(!dlg.picture());
    ensureCameraRegistered();
    QVERIFY(Pictures::cameraAvailable());
}

QTEST_MAIN(TestReaders)
#include "tst_readers.moc"
