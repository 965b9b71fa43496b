#include "data/gbk.h"
#include "data/tiniio.h"

#include <QtTest>

using namespace qandor;

class TestTIniIo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileRaises();
    void readBool_data();
    void readBool();
    void readStringKeepsValueAsWritten();
    void writesAreGbkAndKeepOtherLines();
    void newKeysAndSections();
    void pathToMissingFileKeepsOldFile();

private:
    QString writeIni(const QByteArray &gbkText);
    QTemporaryDir m_dir;
};

QString TestTIniIo::writeIni(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("set.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}

void TestTIniIo::init()
{
    QFile::remove(m_dir.filePath(QStringLiteral("set.ini")));
}

void TestTIniIo::missingFileRaises()
{
    TIniIo ini(m_dir.filePath(QStringLiteral("none.ini")));
    QVERIFY(!ini.IniFileExists());
    try {
        ini.ReadString(QStringLiteral("DF"), QStringLiteral("PORT"));
        QFAIL("no error raised");
    } catch (const IniError &e) {
        QCOMPARE(e.message(), QStringLiteral("INI文件不存在,请先指定要访问的INI文件"));
    }
    QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN"), true));
    TIniIo blank(QStringLiteral("   "));
    QVERIFY(!blank.IniFileExists());
}

void TestTIniIo::readBool_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("expected");
    QTest::newRow("one") << QStringLiteral("ISNT=1") << true;
    QTest::newRow("zero") << QStringLiteral("ISNT=0") << false;
    QTest::newRow("other number") << QStringLiteral("ISNT=2") << true;
    QTest::newRow("blanks") << QStringLiteral("ISNT= 1 ") << true;
    QTest::newRow("not a number") << QStringLiteral("ISNT=yes") << false;
    QTest::newRow("empty") << QStringLiteral("ISNT=") << false;
    QTest::newRow("missing") << QStringLiteral("OTHER=1") << false;
}

void TestTIniIo::readBool()
{
    QFETCH(QString, line);
    QFETCH(bool, expected);
    TIniIo ini(writeIni(toGbk(QStringLiteral("[DF]\r\n") + line + QStringLiteral("\r\n"))));
    QCOMPARE(ini.ReadBool(QStringLiteral("DF"), QStringLiteral("ISNT")), expected);
}

void TestTIniIo::readStringKeepsValueAsWritten()
{
    TIniIo ini(writeIni(toGbk(QStringLiteral("[DF]\r\nPWD=secret \r\nSERVER= db1 \r\n[SYSPARAMETER]\r\nBACKUPPATH=D:/备份\r\n"))));
    QCOMPARE(ini.ReadString(QStringLiteral("DF"), QStringLiteral("PWD")), QStringLiteral("secret "));
    QCOMPARE(ini.ReadString(QStringLiteral("DF"), QStringLiteral("SERVER")), QStringLiteral(" db1 "));
    QCOMPARE(ini.ReadString(QStringLiteral("df"), QStringLiteral("pwd")), QStringLiteral("secret ")); // names ignore case
    QCOMPARE(ini.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("BACKUPPATH")), QStringLiteral("D:/备份"));
    QCOMPARE(ini.ReadString(QStringLiteral("DF"), QStringLiteral("UID")), QStringLiteral("NULL"));
    QCOMPARE(ini.ReadString(QStringLiteral("NOSECTION"), QStringLiteral("X")), QStringLiteral("NULL"));
}

void TestTIniIo::writesAreGbkAndKeepOtherLines()
{
    const QString path = writeIni(toGbk(QStringLiteral("; 配置文件\r\n[DF]\r\nDATAOBJECT=ACCESS\r\nPORT=SINGLE\r\n")));
    TIniIo ini(path);
    ini.WriteString(QStringLiteral("DF"), QStringLiteral("PORT"), QStringLiteral("服务器"));
    ini.WriteBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN"), false);
    ini.WriteInteger(QStringLiteral("DF"), QStringLiteral("N"), 42);

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // "服务器" in GBK is B7 FE CE F1 C6 F7.
    QVERIFY(bytes.contains(QByteArray("PORT=\xB7\xFE\xCE\xF1\xC6\xF7")));
    const QString text = fromGbk(bytes);
    QVERIFY(text.startsWith(QStringLiteral("; 配置文件\r\n[DF]\r\nDATAOBJECT=ACCESS\r\n")));
    QVERIFY(text.contains(QStringLiteral("ISFIRSTRUN=0\r\n")));

    TIniIo again(path);
    QCOMPARE(again.ReadString(QStringLiteral("DF"), QStringLiteral("PORT")), QStringLiteral("服务器"));
    QCOMPARE(again.ReadString(QStringLiteral("DF"), QStringLiteral("N")), QStringLiteral("42"));
    QVERIFY(!again.ReadBool(QStringLiteral("DF"), QStringLiteral("ISFIRSTRUN")));
}

void TestTIniIo::newKeysAndSections()
{
    const QString path = writeIni(toGbk(QStringLiteral("[DF]\r\nPORT=SINGLE\r\n\r\n[UPDATE]\r\nX=1\r\n")));
    TIniIo ini(path);
    ini.WriteBool(QStringLiteral("DF"), QStringLiteral("ISNT"), true);
    ini.WriteBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN"), true);
    ini.WriteString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH"), QString());
    TIniIo again(path);
    QVERIFY(again.ReadBool(QStringLiteral("DF"), QStringLiteral("ISNT")));
    QVERIFY(again.ReadBool(QStringLiteral("UPDATE"), QStringLiteral("ISBN")));
    QCOMPARE(again.ReadString(QStringLiteral("SYSPARAMETER"), QStringLiteral("PICPATH")), QString());
    QCOMPARE(again.ReadString(QStringLiteral("DF"), QStringLiteral("PORT")), QStringLiteral("SINGLE"));
}

void TestTIniIo::pathToMissingFileKeepsOldFile()
{
    const QString path = writeIni(toGbk(QStringLiteral("[DF]\r\nPORT=CLIENT\r\n")));
    TIniIo ini(path);
    // The stored path changes, the file object stays — but reads check the new path.
    ini.setIniFilePath(m_dir.filePath(QStringLiteral("gone.ini")));
    QVERIFY(!ini.IniFileExists());
    QVERIFY_THROWS_EXCEPTION(IniError, ini.ReadString(QStringLiteral("DF"), QStringLiteral("PORT")));
    ini.setIniFilePath(path);
    QCOMPARE(ini.ReadString(QStringLiteral("DF"), QStringLiteral("PORT")), QStringLiteral("CLIENT"));
}

QTEST_GUILESS_MAIN(TestTIniIo)
#include "tst_tiniio.moc"
