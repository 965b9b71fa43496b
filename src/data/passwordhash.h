#pragma once

#include <QString>

namespace qandor {

// Operator passwords are kept as salted PBKDF2-SHA256 digests in the
// 密码 column: "pbkdf2-sha256$<iterations>$<salt base64>$<digest base64>".
// A column that still holds a plain password (an older or hand-edited
// database) is recognised so the login can accept it and store a digest.
namespace PasswordHash {

QString make(const QString &password);
QString make(const QString &password, const QByteArray &salt, int iterations);
bool isHash(const QString &stored);
// Exact comparison: case-sensitive, blanks count.
bool verify(const QString &password, const QString &stored);
QByteArray pbkdf2Sha256(const QByteArray &password, const QByteArray &salt, int iterations, int length);

inline constexpr int DefaultIterations = 60000;

} // namespace PasswordHash
} // namespace qandor
