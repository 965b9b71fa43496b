#include "readers/readertypes.h"
#include "readers/tfrmaddoredittypeofreader.h"
#include "readers/tfrmtypeofreader.h"
#include "readers/readerwidgets.h"
#include "support/testdb.h"
#include "widgets/datagrid.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
ReaderType validType(const QString &name)
{
    ReaderType t;
    t.name = name;
    t.deposit = Money::fromYuan(50);
    t.bookCount = 3;
    t.bookDays = 30;
    t.bookRent = Money::fromFen(10);
    t.bookFine = Money::fromFen(20);
    t.magazineCount = 2;
    t.magazineDays = 7;
    t.limitFlag = QStringLiteral("有");
    t.months = 12;
    return t;
}

// Saves a valid new type of each name; false at the first refusal.
bool saveTypes(ReaderTypeBook &book, std::initializer_list<ReaderType *> types)
{
    for (ReaderType *type : types)
        if (!book.save(*type, true))
            return false;
    return true;
}

int count(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toInt();
}
} // namespace

class TestReaderTypes : public QObject {
    Q_OBJECT
private slots:
    void checksInOrder_data();
    void checksInOrder();
    void hostileNameRoundTrips();
    void renameCarriesReadersAndOpenLoans();
    void deleteRefusedWhileInUse();
    void deleteRefusedByOpenLoans_data();
    void deleteRefusedByOpenLoans();
    void editorRules();
};

void TestReaderTypes::checksInOrder_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << u"name"_qs << u"类型名称不能为空值!"_qs;
    QTest::newRow("existing name") << u"dup"_qs << u"当前输入的类型名称已存在，请输入其他名称!"_qs;
    QTest::newRow("book count") << u"bookCount"_qs << u"图书可借数量不能小于1!"_qs;
    QTest::newRow("book days") << u"bookDays"_qs << u"图书可借天数不能小于1!"_qs;
    QTest::newRow("magazine count") << u"magazineCount"_qs << u"期刊可借数量不能小于1!"_qs;
    QTest::newRow("magazine days") << u"magazineDays"_qs << u"期刊可借天数不能小于1!"_qs;
    QTest::newRow("limit text") << u"limit"_qs << u"有效期限限制数据输入不合法,您可以直接从下拉框中选择相应数据!"_qs;
    QTest::newRow("validity zero") << u"months"_qs << u"当前有效期不能为零或者小于零的值，请检查有效期值是否合法!"_qs;
    // A prepaid type with validity 0 fails on the validity before price and quota.
    QTest::newRow("prepaid, validity first") << u"prepaidMonths"_qs
                                             << u"当前有效期不能为零或者小于零的值，请检查有效期值是否合法!"_qs;
    QTest::newRow("prepaid price") << u"price"_qs << u"当前包租金不能为零或者小于零的值，请检查包租金是否合法!"_qs;
    QTest::newRow("prepaid quota") << u"quota"_qs << u"当前包租量不能为零或者小于零的值，请检查包租量是否合法!"_qs;
}

void TestReaderTypes::checksInOrder()
{
    QFETCH(QString, field);
    QFETCH(QString, message);
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    ReaderTypeBook book(t.bast());
    ReaderType existing = validType(u"学生"_qs);
    QVERIFY(book.save(existing, true));

    ReaderType ty = validType(u"教师"_qs);
    if (field == u"name") ty.name = u"   "_qs;
    if (field == u"dup") ty.name = u" 学生 "_qs;
    if (field == u"bookCount") { ty.bookCount = 0; ty.bookDays = 0; }
    if (field == u"bookDays") ty.bookDays = 0;
    if (field == u"magazineCount") ty.magazineCount = -1;
    if (field == u"magazineDays") ty.magazineDays = 0;
    if (field == u"limit") ty.limitFlag = u"永久"_qs;
    if (field == u"months") ty.months = 0;
    if (field == u"prepaidMonths") { ty.prepaid = true; ty.months = 0; }
    if (field == u"price") { ty.prepaid = true; ty.prepaidQuota = 10; }
    if (field == u"quota") { ty.prepaid = true; ty.prepaidPrice = Money::fromYuan(100); }

    t.sink.clear();
    QVERIFY(!book.save(ty, true));
    QCOMPARE(t.sink.texts(), QStringList{message});
    QCOMPARE(t.sink.lastKind(), u"warn"_qs);
    QCOMPARE(count(t.db(), u"select count(*) from 读者类型"_qs), 1);
}

void TestReaderTypes::hostileNameRoundTrips()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    ReaderTypeBook book(t.bast());
    const QString hostile = u"O'Brien\"%_--;drop table 读者类型"_qs;
    ReaderType ty = validType(hostile);
    ty.prepaid = true;
    ty.prepaidPrice = Money::fromFen(12345);
    ty.prepaidQuota = 20;
    QVERIFY(book.save(ty, true));
    const auto back = book.find(hostile);
    QVERIFY(back);
    QCOMPARE(back->name, hostile);
    QCOMPARE(back->prepaidPrice, Money::fromFen(12345));
    QVERIFY(back->prepaid);
    QCOMPARE(back->months, 12);
    // The same name again is refused, not doubled.
    ReaderType again = validType(hostile);
    QVERIFY(!book.save(again, true));
    QCOMPARE(t.sink.lastText(), u"当前输入的类型名称已存在，请输入其他名称!"_qs);
    // Validity "无" stores 0 months whatever the editor held.
    ReaderType noLimit = validType(u"临时"_qs);
    noLimit.limitFlag = u"无"_qs;
    noLimit.months = 5;
    QVERIFY(book.save(noLimit, true));
    QCOMPARE(book.find(u"临时"_qs)->months, 0);
}

void TestReaderTypes::renameCarriesReadersAndOpenLoans()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    ReaderTypeBook book(t.bast());
    ReaderType a = validType(u"学生"_qs);
    ReaderType other = validType(u"教师"_qs);
    QVERIFY(saveTypes(book, {&a, &other}));
    Database &db = t.db();
    db.exec(u"insert into 读者资料 (编号,姓名,类型,状态) values ('0001','甲','学生','正常')"_qs);
    db.exec(u"insert into 读者资料 (编号,姓名,类型,状态) values ('0002','乙','教师','正常')"_qs);
    db.exec(u"insert into 图书借阅信息 (状态,读者类型,读者编号) values ('未还','学生','0001')"_qs);
    db.exec(u"insert into 图书借阅信息 (状态,读者类型,读者编号) values ('已还','学生','0001')"_qs);
    db.exec(u"insert into 期刊借阅信息 (状态,读者类型,读者编号) values ('未还','学生','0001')"_qs);

    // Renaming onto another type's name is refused (the name is the key).
    ReaderType clash = a;
    clash.name = u"教师"_qs;
    QVERIFY(!book.save(clash, false, u"学生"_qs));
    QCOMPARE(t.sink.lastText(), u"当前输入的类型名称已存在，请输入其他名称!"_qs);

    ReaderType renamed = a;
    renamed.name = u"大学生"_qs;
    renamed.bookCount = 5;
    QVERIFY(book.save(renamed, false, u"学生"_qs));
    QCOMPARE(count(db, u"select count(*) from 读者资料 where 类型='大学生'"_qs), 1);
    QCOMPARE(count(db, u"select count(*) from 读者资料 where 类型='教师'"_qs), 1);
    QCOMPARE(count(db, u"select count(*) from 图书借阅信息 where 读者类型='大学生' and 状态='未还'"_qs), 1);
    QCOMPARE(count(db, u"select count(*) from 期刊借阅信息 where 读者类型='大学生'"_qs), 1);
    // Returned loans keep the name they were lent under.
    QCOMPARE(count(db, u"select count(*) from 图书借阅信息 where 读者类型='学生' and 状态='已还'"_qs), 1);
    QCOMPARE(book.find(u"大学生"_qs)->bookCount, 5);

    // An edit from a stale copy (another desk renamed it meanwhile) is refused.
    ReaderType stale = a;
    stale.bookCount = 9;
    QVERIFY(!book.save(stale, false, u"学生"_qs));
    QCOMPARE(book.find(u"大学生"_qs)->bookCount, 5);
}

void TestReaderTypes::deleteRefusedWhileInUse()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    ReaderTypeBook book(t.bast());
    ReaderType used = validType(u"学生"_qs);
    ReaderType unused = validType(u"访客"_qs);
    QVERIFY(saveTypes(book, {&used, &unused}));
    t.db().exec(u"insert into 读者资料 (编号,姓名,类型) values ('0001','甲','学生')"_qs);

    QVERIFY(!book.remove(nullptr));
    QCOMPARE(t.sink.lastText(), u"当前读者类型数据为空,没有可以删除的对象!"_qs);

    t.sink.clear();
    QVERIFY(!book.remove(&used));
    QCOMPARE(t.sink.entries.first().text, u"是否确定要删除当前选中的类型名称为:[学生]的读者类型数据?"_qs);
    QVERIFY(t.sink.lastText().contains(u"不能删除"_qs));
    QVERIFY(book.find(u"学生"_qs));

    t.sink.answers.enqueue(false); // "No" keeps it
    QVERIFY(!book.remove(&unused));
    QVERIFY(book.find(u"访客"_qs));
    QVERIFY(book.remove(&unused));
    QVERIFY(!book.find(u"访客"_qs));
}

void TestReaderTypes::deleteRefusedByOpenLoans_data()
{
    QTest::addColumn<QString>("loanTable");
    QTest::addColumn<QString>("loanState");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("open book loan") << u"图书借阅信息"_qs << u"未还"_qs << false;
    QTest::newRow("open magazine loan") << u"期刊借阅信息"_qs << u"未还"_qs << false;
    QTest::newRow("returned book loan") << u"图书借阅信息"_qs << u"已还"_qs << true;
    QTest::newRow("returned magazine loan") << u"期刊借阅信息"_qs << u"已还"_qs << true;
}

// A type no reader holds any more is still in use while loans lent under it are open.
void TestReaderTypes::deleteRefusedByOpenLoans()
{
    QFETCH(QString, loanTable);
    QFETCH(QString, loanState);
    QFETCH(bool, deleted);
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    ReaderTypeBook book(t.bast());
    ReaderType type = validType(u"O'Brien \"%"_qs);
    QVERIFY(saveTypes(book, {&type}));
    t.db().exec(u"insert into "_qs + loanTable + u" (状态,读者类型,读者编号) values (?,?,'0001')"_qs, {loanState, type.name});
    QCOMPARE(book.remove(&type), deleted);
    QCOMPARE(!book.find(type.name), deleted);
    if (!deleted)
        QCOMPARE(t.sink.lastText(), u"当前读者类型[O'Brien \"%]仍有0位读者、1笔未还借阅在使用，不能删除！请先将这些读者改为其他类型。"_qs);
}

void TestReaderTypes::editorRules()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.bast().setMessageSink(&t.sink);
    TfrmAddOrEditTypeOfReader dlg(t.bast(), nullptr);
    auto *flag = dlg.findChild<QComboBox *>(u"LimitFlag"_qs);
    auto *months = dlg.findChild<QSpinBox *>(u"TimeLimit"_qs);
    auto *prepaid = dlg.findChild<QCheckBox *>(u"FixedRentCheck"_qs);
    auto *price = dlg.findChild<MoneyEdit *>(u"FixedRent"_qs);
    auto *quota = dlg.findChild<QSpinBox *>(u"FixedNum"_qs);
    QCOMPARE(flag->currentText(), u"无"_qs);
    QVERIFY(!months->isEnabled());
    QVERIFY(!price->isEnabled() && !quota->isEnabled());

    prepaid->setChecked(true);
    QCOMPARE(flag->currentText(), u"有"_qs);
    QVERIFY(!flag->isEnabled());
    QVERIFY(months->isEnabled() && price->isEnabled() && quota->isEnabled());
    price->setValue(88.8);
    quota->setValue(30);
    prepaid->setChecked(false);
    QCOMPARE(price->money(), Money());
    QCOMPARE(quota->value(), 0);
    QCOMPARE(flag->currentText(), u"无"_qs);

    flag->setCurrentText(u"有"_qs);
    months->setValue(6);
    flag->setCurrentText(u"无"_qs);
    QCOMPARE(months->value(), 0);
    QVERIFY(!months->isEnabled());

    // Save through the dialog: the list shows the new type.
    dlg.findChild<QLineEdit *>(u"TypeName"_qs)->setText(u"成人"_qs);
    for (const char *n : {"BRN_limit", "BRD_limit", "MRN_limit", "MRD_limit"})
        dlg.findChild<QSpinBox *>(QString::fromLatin1(n))->setValue(4);
    dlg.findChild<MoneyEdit *>(u"BD_Rent"_qs)->setValue(0.3);
    QVERIFY(dlg.saveType());
    TfrmTypeOfReader list(t.bast());
    QCOMPARE(list.grid()->model()->rowCount(), 1);
    QVERIFY(list.currentType());
    QCOMPARE(list.currentType()->bookRent, Money::fromFen(30));

    // Editing through the list screen with an empty list says so.
    t.db().exec(u"delete from 读者类型"_qs);
    list.openTypeList();
    t.sink.clear();
    list.editType();
    QCOMPARE(t.sink.lastText(), u"当前读者类型数据为空,没有可以修改的对象!"_qs);
}

QTEST_MAIN(TestReaderTypes)
#include "tst_readertypes.moc"
