// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsRules.h"

#include "data/Data.h"
#include "data/DataEngine.h"
#include "lang/Lang.h"
#include "platform/MessageBox.h"
#include "settings/Options.h"
#include "settings/OptionsInput.h"

#include <QCoreApplication>
#include <QDir>

#include <exception>
#include <utility>

TOptionsRules::TOptionsRules(TOptions& options, QWidget* owner) : m_options(options), m_owner(owner)
{
}

SOptionsFields TOptionsRules::Shown() const
{
    return {
        .deltaLevel = TOptionsInput::LevelText(m_options.DeltaLevel),
        .minLevel = TOptionsInput::LevelText(m_options.MinLevel),
        .maxLevel = TOptionsInput::LevelText(m_options.MaxLevel),
        .algorithm = m_options.Algorithm,
        .freqListIndex = m_options.FreqListIndex,
        .ownFreqList = FreqPresets[OwnFreqList],
        .modulation = m_options.Modulation,
        .soundSourceType = m_options.SoundSourceType,
        .dataFolder = m_options.DefaultPath,
        .referenceFile = m_options.ReferenceFileName,
    };
}

SOptionsFields TOptionsRules::Defaults()
{
    m_options.SetDefaults();
    return Shown();
}

// Every step runs whatever the steps before it found; what was accepted is saved either way.
bool TOptionsRules::Store(const SOptionsFields& fields, TDataEngine& data)
{
    bool failed = !StoreLevels(fields);
    m_options.Algorithm = fields.algorithm;
    failed = !StoreDataFolder(fields.dataFolder) || failed;
    failed = !StoreReference(fields.referenceFile, data) || failed;
    m_options.FreqListIndex = fields.freqListIndex;
    failed = !StoreOwnFreqList(fields.ownFreqList) || failed;
    m_options.SoundSourceType = fields.soundSourceType;
    m_options.Modulation = fields.modulation;
    m_options.SaveSettings();
    return !failed;
}

// Each level is stored as soon as it is read; the first that is refused ends the step.
bool TOptionsRules::StoreLevels(const SOptionsFields& fields)
{
    const std::pair<const QString*, float TOptions::*> levels[] = {
        {&fields.deltaLevel, &TOptions::DeltaLevel},
        {&fields.minLevel, &TOptions::MinLevel},
        {&fields.maxLevel, &TOptions::MaxLevel},
    };
    for (const auto& [text, level] : levels) {
        if (!TOptionsInput::ReadLevel(*text, level, m_options.*level)) {
            gLang.ShowMessage(QStringLiteral("MessBadFormat"), QStringLiteral("MessError"), m_owner,
                              QMessageBox::Ok, QMessageBox::Critical);
            return false;
        }
    }
    return true;
}

bool TOptionsRules::StoreDataFolder(const QString& folder)
{
    if (TOptionsInput::IsFolder(folder)) {
        m_options.DefaultPath = TOptionsInput::AbsoluteFolder(folder);
        QDir::setCurrent(m_options.DefaultPath);
        return true;
    }
    const QString caption = gLang.GetString2(QStringLiteral("MessError"), m_owner);
    const QString question = gLang.GetString(QStringLiteral("MessPath"), m_owner) + folder +
                             gLang.GetString(QStringLiteral("MessNotExist"), m_owner);
    if (TMessageBox::Show({m_owner, question, caption, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Critical}) != QMessageBox::Yes)
        return true;
    const bool created = TOptionsInput::CreateFolder(folder);
    if (created)
        m_options.DefaultPath = TOptionsInput::AbsoluteFolder(folder);
    else
        gLang.ShowMessage(QStringLiteral("MessPathError"), QStringLiteral("MessError"), m_owner,
                          QMessageBox::Ok, QMessageBox::Critical);
    QDir::setCurrent(m_options.DefaultPath);
    return created;
}

// A file that cannot be opened is reported by the data store and closes the dialog as usual; one
// that stops being readable part of the way keeps the dialog open for another choice.
bool TOptionsRules::StoreReference(const QString& file, TDataEngine& data)
{
    m_options.ReferenceFileName = file;
    try {
        data.LoadReference(file);
    } catch (const std::exception& error) {
        TMessageBox::Show({m_owner, QString::fromStdString(error.what()), QCoreApplication::applicationName(),
                           QMessageBox::Ok, QMessageBox::Critical});
        return false;
    }
    return true;
}

// A blank field keeps the list there was; a bad one is reported item by item by the settings.
bool TOptionsRules::StoreOwnFreqList(const QString& list)
{
    if (list.trimmed().isEmpty())
        return true;
    QVector<float> frequencies;
    if (!m_options.ParseFreqList(list, frequencies))
        return false;
    // The settings read a longer list for a test to use in part; one typed here should be usable whole.
    if (frequencies.size() > ResultFrequencies) {
        gLang.ShowMessage(QStringLiteral("MessTooManyFreqs"), QStringLiteral("MessError"), m_owner,
                          QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
    FreqPresets[OwnFreqList] = list;
    return true;
}
