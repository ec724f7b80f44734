// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataEngine.h"
#include "support/ScopedValue.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <utility>

inline bool operator==(const SDataPoint& a, const SDataPoint& b)
{
    return a.freq == b.freq && a.left == b.left && a.right == b.right && a.leftRef == b.leftRef &&
           a.rightRef == b.rightRef;
}

inline void PrintTo(const SDataPoint& row, std::ostream* out)
{
    *out << '(' << row.freq << ' ' << row.left << ' ' << row.right << ' ' << row.leftRef << ' '
         << row.rightRef << ')';
}

// Equal figures; two retest differences never measured are equal too.
inline bool operator==(const SEarReliability& a, const SEarReliability& b)
{
    const bool sameRetest = a.retestDifference == b.retestDifference ||
                            (std::isnan(a.retestDifference) && std::isnan(b.retestDifference));
    return a.presentations == b.presentations && a.catchTrials == b.catchTrials &&
           a.falseAlarms == b.falseAlarms && sameRetest && a.retestFlagged == b.retestFlagged &&
           a.noResponse == b.noResponse && a.unreliable == b.unreliable && a.seconds == b.seconds;
}

inline void PrintTo(const SEarReliability& ear, std::ostream* out)
{
    *out << '(' << ear.presentations << ' ' << ear.catchTrials << ' ' << ear.falseAlarms << ' '
         << ear.retestDifference << (ear.retestFlagged ? " flagged" : "") << " no response "
         << ear.noResponse.size() << " unreliable " << ear.unreliable.size() << ' ' << ear.seconds << "s)";
}

// A data store drawing into bitmaps of the screen's sizes, as the main window's would.
struct SDataStore
{
    explicit SDataStore(float scale = 1.0f, const TDataEngine* source = nullptr)
        : left(320, 320, QImage::Format_RGB32), right(320, 320, QImage::Format_RGB32),
          legend(630, 50, QImage::Format_RGB32),
          engine(&left, &right, source, scale, QColor(166, 202, 240), &legend)
    {
    }

    QImage left;
    QImage right;
    QImage legend;
    TDataEngine engine;
};

// A new record that saving will write under the file name.
inline SData* NewRecordNamed(TDataEngine& engine, const char* fileName, bool modified = true)
{
    SData* record = engine.NewData();
    record->fileName = QString::fromLatin1(fileName);
    record->modified = modified;
    return record;
}

// Makes a fresh temporary folder the current directory, as the data folder is for the program.
class TDataFolder
{
public:
    TDataFolder() : m_previous(QDir::currentPath())
    {
        EXPECT_TRUE(m_folder.isValid());
        QDir::setCurrent(m_folder.path());
    }
    ~TDataFolder() { QDir::setCurrent(m_previous); }
    TDataFolder(const TDataFolder&) = delete;
    TDataFolder& operator=(const TDataFolder&) = delete;

    QString Path(const QString& name) const { return m_folder.filePath(name); }

    QString Write(const QString& name, const QByteArray& content) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return Path(name);
    }

    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString m_previous;
    QTemporaryDir m_folder;
};

// Sets the user's locale for the test's lifetime.
class TUserLocale
{
public:
    explicit TUserLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~TUserLocale() { QLocale::setDefault(QLocale::system()); }
    TUserLocale(const TUserLocale&) = delete;
    TUserLocale& operator=(const TUserLocale&) = delete;
};
