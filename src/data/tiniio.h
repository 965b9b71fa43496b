#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

namespace qandor {

class IniError : public std::runtime_error {
public:
    explicit IniError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The configuration file reader: a plain INI file in the Chinese code page.
// Booleans are "1"/"0" and read as integers (anything else is false); a
// missing string reads as "NULL". Every write goes to the file at once.
class TIniIo {
public:
    TIniIo() = default;
    explicit TIniIo(const QString &path) { setIniFilePath(path); }

    QString iniFilePath() const { return m_path; }
    // Keeps the path; when a file exists there, (re)loads it. When none
    // exists, whatever was loaded before stays.
    void setIniFilePath(const QString &path);

    bool IniFileExists() const;
    bool ReadBool(const QString &section, const QString &key) const;
    QString ReadString(const QString &section, const QString &key) const;
    void WriteBool(const QString &section, const QString &key, bool value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteString(const QString &section, const QString &key, const QString &value);

    static QString missingFileMessage() { return QStringLiteral("INI文件不存在,请先指定要访问的INI文件"); }

private:
    struct Line {
        QString text;      // the line as read (comments, blanks, section headers)
        QString section;   // for key lines: the section they belong to
        QString key;       // empty for non-key lines
        QString value;
    };
    void requireFile() const;
    void load();
    void save() const;
    const Line *find(const QString &section, const QString &key) const;

    QString m_path;
    QString m_loadedPath;
    QList<Line> m_lines;
};

} // namespace qandor
