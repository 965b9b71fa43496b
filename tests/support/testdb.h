#pragma once

#include "data/database.h"
#include "data/tbast.h"
#include "support/recordingsink.h"

#include <QTemporaryDir>
#include <memory>

namespace qandor::test {

// A fresh, empty database for one test, of the kind the test run asks for
// (QANDOR_TEST_BACKEND = sqlite | postgres). On the server each fixture
// gets a schema of its own, dropped afterwards.
class TestDb {
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    // False when the database could not be opened; error() says why and
    // skipped() tells whether the test should be skipped rather than failed.
    bool ok() const { return m_db != nullptr; }
    bool skipped() const { return m_skip; }
    QString error() const { return m_error; }

    Database &db() { return *m_db; }
    TBast &bast() { return m_bast; }
    RecordingSink sink;
    bool server() const { return m_server; }
    QString backendName() const { return m_server ? QStringLiteral("postgres") : QStringLiteral("sqlite"); }

    // Lays the delivered schema and its first rows.
    void createDelivered();
    // A second, independent connection to the same database (another desk).
    std::unique_ptr<Database> openSecondConnection();

    // Server parameters of the test cluster, from QANDOR_TEST_PG*.
    static bool serverConfigured();
    static ServerParams serverParams();
    static bool wantsServer();
    QString filePath() const { return m_file; }

private:
    std::unique_ptr<Database> m_db;
    TBast m_bast;
    QTemporaryDir m_dir;
    QString m_file;
    QString m_schema;
    QString m_error;
    bool m_server = false;
    bool m_skip = false;
};

} // namespace qandor::test

// Opens a TestDb named `name` or skips/fails the test.
#define QANDOR_TESTDB(name)                                                   \
    qandor::test::TestDb name;                                                \
    do {                                                                      \
        if (!name.ok()) {                                                     \
            if (name.skipped())                                               \
                QSKIP(qPrintable(name.error()));                              \
            QFAIL(qPrintable(name.error()));                                  \
        }                                                                     \
    } while (false)
