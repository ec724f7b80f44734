// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include <QFile>
#include <QSaveFile>

bool TIniFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        SetText(QString());
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        SetText(QString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        SetText(QString());
        return false;
    }
    SetText(QString::fromUtf8(bytes));
    return true;
}

void TIniFile::SetText(const QString& text)
{
    QString body = text;
    m_bom = body.startsWith(QChar(0xFEFF));
    if (m_bom)
        body.remove(0, 1);
    m_eol = body.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    m_lines = body.split(QLatin1Char('\n'));
    for (QString& line : m_lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // A final line break leaves an empty last piece that is not a line of its own.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    Index();
}

QString TIniFile::Text() const
{
    QString text = m_bom ? QString(QChar(0xFEFF)) : QString();
    for (const QString& line : m_lines)
        text += line + m_eol;
    return text;
}

void TIniFile::Index()
{
    m_sections.clear();
    SSection* current = nullptr;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString line = m_lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed().toLower();
            const bool known = m_sections.contains(name);
            current = &m_sections[name];
            if (!known)
                current->headerLine = i;
            current->lastLine = std::max(current->lastLine, i);
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (current == nullptr || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString folded = key.toLower();
        current->lastLine = i;
        if (current->entries.contains(folded))
            continue;
        current->keys.append(key);
        current->entries.insert(folded, {i, line.mid(equals + 1).trimmed()});
    }
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto s = m_sections.constFind(section.toLower());
    if (s == m_sections.cend())
        return defaultValue;
    const auto e = s->entries.constFind(key.toLower());
    return e == s->entries.cend() ? defaultValue : e->value;
}

QStringList TIniFile::ReadKeys(const QString& section) const
{
    return m_sections.value(section.toLower()).keys;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + value;
    const auto s = m_sections.constFind(section.toLower());
    if (s == m_sections.cend()) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(line);
    } else if (const auto e = s->entries.constFind(key.toLower()); e != s->entries.cend()) {
        m_lines[e->line] = line;
    } else {
        m_lines.insert(s->lastLine + 1, line);
    }
    Index();
}

bool TIniFile::Save(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Text().toUtf8()) < 0 || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}
