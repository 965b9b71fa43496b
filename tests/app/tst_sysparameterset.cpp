#include "app/hub.h"
#include "app/tfrmsysparameterset.h"
#include "data/gbk.h"
#include "support/testdb.h"

#include <QtTest>

using namespace qandor;
using namespace qandor::test;

namespace {
struct Desk {
    Desk(TestDb &t, const QString &iniPath, const QString &ini) : hub(&t.sink)
    {
        QFile f(iniPath);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(toGbk(ini));
        f.close();
        hub.IniIo.setIniFilePath(iniPath);
        hub.useDatabase(&t.db());
        hub.g.BackupPath = QStringLiteral("/srv/qandor/backup");
    }
    Hub hub;
};

template <typename W>
W *child(QWidget &w, const char *name)
{
    return w.findChild<W *>(QString::fromUtf8(name));
}
} // namespace

class TestSysParameterSet : public QObject {
    Q_OBJECT
private slots:
    void showsRowAndIniValues();
    void missingRowIsLaidWithDefaults();
    void tickedBackupWithoutPathKeepsScreenOpen();
    void saveWritesRowIniAndHub();
    void untickedSaveKeepsConfiguredPath();

private:
    QTemporaryDir m_dir;
};

void TestSysParameterSet::showsRowAndIniValues()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("update SysParameter set R_Length=?,B_Length=?,AutoCreateMagazineNum=?,PageSize=?,AutoBookOutTimeWarn=?"),
                {6, 8, false, 250, false});
    Desk desk(t, m_dir.filePath(QStringLiteral("show.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=0\r\nBACKUPPATH=NULL\r\n"));
    TfrmSysParameterSet form(desk.hub);
    QCOMPARE(child<QSpinBox>(form, "R_Length")->value(), 6);
    QCOMPARE(child<QSpinBox>(form, "B_Length")->value(), 8);
    QCOMPARE(child<QSpinBox>(form, "M_Length")->value(), 5);
    QVERIFY(child<QCheckBox>(form, "R_Auto")->isChecked() == false); // the delivered row has reader numbering off
    QVERIFY(child<QCheckBox>(form, "B_Auto")->isChecked());
    QVERIFY(!child<QCheckBox>(form, "M_Auto")->isChecked());
    QVERIFY(!child<QCheckBox>(form, "AutoBookOutTimeWarn")->isChecked());
    QVERIFY(child<QCheckBox>(form, "AutoMagazineOutTimeWarn")->isChecked());
    QCOMPARE(child<QSpinBox>(form, "Pagesize")->value(), 250);
    QVERIFY(!child<QCheckBox>(form, "BackUpOnExitCheck")->isChecked());
    auto *path = child<QLineEdit>(form, "BackupPath");
    QCOMPARE(path->text(), QStringLiteral("/srv/qandor/backup"));
    QVERIFY(!path->isEnabled());
    child<QCheckBox>(form, "BackUpOnExitCheck")->setChecked(true);
    QVERIFY(path->isEnabled());
    // Lengths stay within 0..50.
    child<QSpinBox>(form, "R_Length")->setValue(80);
    QCOMPARE(child<QSpinBox>(form, "R_Length")->value(), 50);
    child<QSpinBox>(form, "R_Length")->setValue(-3);
    QCOMPARE(child<QSpinBox>(form, "R_Length")->value(), 0);
    QVERIFY(t.sink.entries.isEmpty());
}

void TestSysParameterSet::missingRowIsLaidWithDefaults()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    t.db().exec(QStringLiteral("delete from SysParameter"));
    Desk desk(t, m_dir.filePath(QStringLiteral("norow.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=0\r\nBACKUPPATH=/data/备份\r\n"));
    TfrmSysParameterSet form(desk.hub);
    QVERIFY(child<QCheckBox>(form, "R_Auto")->isChecked());
    QCOMPARE(child<QSpinBox>(form, "R_Length")->value(), 4);
    QCOMPARE(child<QSpinBox>(form, "B_Length")->value(), 5);
    QCOMPARE(child<QSpinBox>(form, "M_Length")->value(), 5);
    QCOMPARE(child<QSpinBox>(form, "Pagesize")->value(), 100);
    QVERIFY(child<QCheckBox>(form, "BackUpOnExitCheck")->isChecked());
    QCOMPARE(child<QLineEdit>(form, "BackupPath")->text(), QStringLiteral("/data/备份"));
    QVERIFY(desk.hub.IniIo.ReadBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT")));
    QSqlQuery q = t.db().exec(QStringLiteral("select AutoCreateReaderNum,R_Length,PageSize,CardTitle from SysParameter"));
    QVERIFY(q.next());
    QVERIFY(toBool(q.value(0)));
    QCOMPARE(q.value(1).toInt(), 4);
    QCOMPARE(q.value(2).toInt(), 100);
    QCOMPARE(q.value(3).toString(), QStringLiteral("借书证"));
    QVERIFY(!q.next());
    QVERIFY(t.sink.entries.isEmpty());
}

void TestSysParameterSet::tickedBackupWithoutPathKeepsScreenOpen()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Desk desk(t, m_dir.filePath(QStringLiteral("nopath.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=0\r\n"));
    TfrmSysParameterSet form(desk.hub);
    form.show();
    child<QCheckBox>(form, "BackUpOnExitCheck")->setChecked(true);
    child<QLineEdit>(form, "BackupPath")->setText(QStringLiteral("   "));
    child<QSpinBox>(form, "Pagesize")->setValue(20);
    child<QPushButton>(form, "RzBitBtn1")->click();
    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("请选择数据备份路径!")});
    QCOMPARE(t.sink.lastKind(), QStringLiteral("warn"));
    QVERIFY(form.isVisible());
    // Nothing was written.
    QCOMPARE(t.db().scalar(QStringLiteral("select PageSize from SysParameter")).toInt(), 100);
    QVERIFY(!desk.hub.IniIo.ReadBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT")));
    QCOMPARE(desk.hub.g.BackupPath, QStringLiteral("/srv/qandor/backup"));
}

void TestSysParameterSet::saveWritesRowIniAndHub()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Desk desk(t, m_dir.filePath(QStringLiteral("save.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=0\r\n"));
    TfrmSysParameterSet form(desk.hub);
    form.show();
    child<QCheckBox>(form, "R_Auto")->setChecked(true);
    child<QSpinBox>(form, "R_Length")->setValue(6);
    child<QCheckBox>(form, "B_Auto")->setChecked(false);
    child<QSpinBox>(form, "M_Length")->setValue(0);
    child<QCheckBox>(form, "AutoMagazineOutTimeWarn")->setChecked(false);
    child<QSpinBox>(form, "Pagesize")->setValue(0);
    child<QCheckBox>(form, "BackUpOnExitCheck")->setChecked(true);
    child<QLineEdit>(form, "BackupPath")->setText(QStringLiteral("  /data/O'Brien 备份  "));
    child<QPushButton>(form, "RzBitBtn1")->click();

    QCOMPARE(t.sink.texts(), QStringList{QStringLiteral("数据保存成功！")});
    QCOMPARE(t.sink.lastKind(), QStringLiteral("ok"));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QSqlQuery q = t.db().exec(QStringLiteral("select AutoCreateReaderNum,R_Length,AutoCreateBookNum,M_Length,AutoMagazineOutTimeWarn,"
                                             "PageSize,count(*) over () from SysParameter"));
    QVERIFY(q.next());
    QVERIFY(toBool(q.value(0)));
    QCOMPARE(q.value(1).toInt(), 6);
    QVERIFY(!toBool(q.value(2)));
    QCOMPARE(q.value(3).toInt(), 0);
    QVERIFY(!toBool(q.value(4)));
    QCOMPARE(q.value(5).toInt(), 0);
    QCOMPARE(q.value(6).toInt(), 1);
    // Reloaded into the hub at once.
    QVERIFY(desk.hub.sysParams.AutoCreateReaderNum);
    QCOMPARE(desk.hub.sysParams.R_Length, 6);
    QCOMPARE(desk.hub.sysParams.PageSize, 0);
    QVERIFY(!desk.hub.sysParams.AutoMagazineOutTimeWarn);
    QCOMPARE(desk.hub.g.BackupPath, QStringLiteral("/data/O'Brien 备份"));
    QVERIFY(desk.hub.IniIo.ReadBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT")));
    QCOMPARE(desk.hub.IniIo.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPPATH")), QStringLiteral("/data/O'Brien 备份"));
}

void TestSysParameterSet::untickedSaveKeepsConfiguredPath()
{
    QANDOR_TESTDB(t);
    t.createDelivered();
    Desk desk(t, m_dir.filePath(QStringLiteral("untick.ini")), QStringLiteral("[SYSPARAMETER]\r\nBACKUPONEXIT=1\r\nBACKUPPATH=/old\r\n"));
    desk.hub.g.BackupPath = QStringLiteral("/old");
    TfrmSysParameterSet form(desk.hub);
    child<QCheckBox>(form, "BackUpOnExitCheck")->setChecked(false);
    child<QLineEdit>(form, "BackupPath")->setText(QString());
    QVERIFY(form.saveAndClose());
    QVERIFY(!desk.hub.IniIo.ReadBool(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPONEXIT")));
    QCOMPARE(desk.hub.IniIo.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPPATH")), QStringLiteral("/old"));
    QCOMPARE(desk.hub.g.BackupPath, QStringLiteral("/old"));
    QCOMPARE(t.sink.lastText(), QStringLiteral("数据保存成功！"));
}

QTEST_MAIN(TestSysParameterSet)
#include "tst_sysparameterset.moc"
