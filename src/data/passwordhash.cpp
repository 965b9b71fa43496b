#include "data/passwordhash.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>

namespace qandor::PasswordHash {

namespace {
const QString Prefix = QStringLiteral("pbkdf2-sha256$");

bool constantTimeEqual(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}
} // namespace

QByteArray pbkdf2Sha256(const QByteArray &password, const QByteArray &salt, int iterations, int length)
{
    QByteArray out;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    for (quint32 block = 1; out.size() < length; ++block) {
        QByteArray counter(4, 0);
        counter[0] = char((block >> 24) & 0xff);
        counter[1] = char((block >> 16) & 0xff);
        counter[2] = char((block >> 8) & 0xff);
        counter[3] = char(block & 0xff);
        mac.reset();
        mac.addData(salt);
        mac.addData(counter);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype k = 0; k < t.size(); ++k)
                t[k] = char(t[k] ^ u[k]);
        }
        out += t;
    }
    return out.left(length);
}

QString make(const QString &password, const QByteArray &salt, int iterations)
{
    const QByteArray digest = pbkdf2Sha256(password.toUtf8(), salt, iterations, 32);
    return Prefix + QString::number(iterations) + QLatin1Char('$') + QString::fromLatin1(salt.toBase64())
        + QLatin1Char('$') + QString::fromLatin1(digest.toBase64());
}

QString make(const QString &password)
{
    QByteArray salt(16, 0);
    for (auto &c : salt)
        c = char(QRandomGenerator::system()->bounded(256));
    return make(password, salt, DefaultIterations);
}

bool isHash(const QString &stored)
{
    return stored.startsWith(Prefix) && stored.count(QLatin1Char('$')) == 3;
}

bool verify(const QString &password, const QString &stored)
{
    if (!isHash(stored))
        return password == stored;
    const QStringList parts = stored.split(QLatin1Char('$'));
    bool ok = false;
    const int iterations = parts.at(1).toInt(&ok);
    if (!ok || iterations <= 0 || iterations > 10'000'000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts.at(2).toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts.at(3).toLatin1());
    const QByteArray got = pbkdf2Sha256(password.toUtf8(), salt, iterations, int(expected.size()));
    return constantTimeEqual(got, expected);
}

} // namespace qandor::PasswordHash
