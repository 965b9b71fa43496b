#include "data/tiniio.h"
#include "data/gbk.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qandor {

void TIniIo::setIniFilePath(const QString &path)
{
    m_path = path;
    if (QFileInfo::exists(path.trimmed()) && QFileInfo(path.trimmed()).isFile()) {
        m_loadedPath = path.trimmed();
        load();
    }
}

bool TIniIo::IniFileExists() const
{
    const QString t = m_path.trimmed();
    return !t.isEmpty() && QFileInfo(m_path).isFile();
}

void TIniIo::requireFile() const
{
    if (!IniFileExists() || m_loadedPath.isEmpty())
        throw IniError(missingFileMessage());
}

void TIniIo::load()
{
    m_lines.clear();
    QFile f(m_loadedPath);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = f.readAll();
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else
        text = fromGbk(bytes);
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines.at(i);
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        if (i == lines.size() - 1 && raw.isEmpty())
            break; // the final line ending
        Line line;
        line.text = raw;
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
        } else if (!t.isEmpty() && !t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))) {
            const int eq = raw.indexOf(QLatin1Char('='));
            if (eq > 0) {
                line.section = section;
                line.key = raw.left(eq).trimmed();
                // The value is kept as written: a password may end in a blank.
                line.value = raw.mid(eq + 1);
            }
        }
        m_lines.append(line);
    }
}

void TIniIo::save() const
{
    QString text;
    for (const Line &l : m_lines) {
        text += l.text;
        text += QStringLiteral("\r\n");
    }
    QSaveFile f(m_loadedPath);
    if (!f.open(QIODevice::WriteOnly))
        throw IniError(QStringLiteral("无法写入配置文件：") + m_loadedPath);
    f.write(toGbk(text));
    if (!f.commit())
        throw IniError(QStringLiteral("无法写入配置文件：") + m_loadedPath);
}

const TIniIo::Line *TIniIo::find(const QString &section, const QString &key) const
{
    for (const Line &l : m_lines)
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0
            && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

bool TIniIo::ReadBool(const QString &section, const QString &key) const
{
    requireFile();
    const Line *l = find(section, key);
    if (!l)
        return false;
    bool ok = false;
    const int v = l->value.trimmed().toInt(&ok);
    return ok && v != 0;
}

QString TIniIo::ReadString(const QString &section, const QString &key) const
{
    requireFile();
    const Line *l = find(section, key);
    return l ? l->value : QStringLiteral("NULL");
}

void TIniIo::WriteString(const QString &section, const QString &key, const QString &value)
{
    requireFile();
    QString v = value;
    v.remove(QLatin1Char('\r'));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (Line &l : m_lines)
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0
            && l.key.compare(key, Qt::CaseInsensitive) == 0) {
            l.value = v;
            l.text = l.key + QLatin1Char('=') + v;
            save();
            return;
        }
    Line nl;
    nl.section = section;
    nl.key = key;
    nl.value = v;
    nl.text = key + QLatin1Char('=') + v;
    // After the last line of the section, or a new section at the end.
    int insertAt = -1;
    QString current;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString t = m_lines.at(i).text.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
            current = t.mid(1, t.size() - 2).trimmed();
        else if (current.compare(section, Qt::CaseInsensitive) == 0 && !t.isEmpty())
            insertAt = i + 1;
        if (t.startsWith(QLatin1Char('[')) && current.compare(section, Qt::CaseInsensitive) == 0 && insertAt < 0)
            insertAt = i + 1;
    }
    if (insertAt < 0) {
        Line header;
        header.text = QLatin1Char('[') + section + QLatin1Char(']');
        m_lines.append(header);
        m_lines.append(nl);
    } else {
        m_lines.insert(insertAt, nl);
    }
    save();
}

void TIniIo::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniIo::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

} // namespace qandor
