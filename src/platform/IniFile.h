// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// An INI document with the rules Windows' private-profile functions follow: sections and keys
// matched without regard to case, the first occurrence wins, a write changes only its own line
// (or adds the key or the section) and keeps the rest of the file as it was.
class TIniFile
{
public:
    TIniFile() = default;

    // Reads a whole file. A missing file is an empty document; false when the file exists
    // but cannot be read (the document is then empty).
    bool Load(const QString& path);
    void SetText(const QString& text);
    QString Text() const;

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Key names of a section in file order, each once.
    QStringList ReadKeys(const QString& section) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Replaces the file atomically; on failure the old file stays and ErrorString() says why.
    bool Save(const QString& path);
    QString ErrorString() const { return m_error; }

private:
    struct SEntry
    {
        int line;
        QString value;
    };
    struct SSection
    {
        int headerLine = -1;
        int lastLine = -1;
        QStringList keys;
        QHash<QString, SEntry> entries;
    };

    void Index();

    QStringList m_lines;
    QString m_eol = QStringLiteral("\n");
    bool m_bom = false;
    QHash<QString, SSection> m_sections;
    QString m_error;
};
