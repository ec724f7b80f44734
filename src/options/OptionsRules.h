// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

class QWidget;
class TDataEngine;
class TOptions;

// What the options dialog shows, one member per field, as text where the user types it.
struct SOptionsFields
{
    QString deltaLevel;
    QString minLevel;
    QString maxLevel;
    int8_t algorithm = 0;
    int32_t freqListIndex = 0;
    QString ownFreqList;
    bool modulation = false;
    int32_t soundSourceType = 0;
    QString dataFolder;
    QString referenceFile;
};

// The options dialog's rules: what it shows of the settings, and what OK stores of it. The owner
// names the texts of the refusals and carries their message boxes.
class TOptionsRules
{
public:
    TOptionsRules(TOptions& options, QWidget* owner);

    SOptionsFields Shown() const;
    // The defaults go into the settings at once.
    SOptionsFields Defaults();
    // Stores what it accepts, the reference into the data store, and saves the settings; false
    // when the dialog must stay open.
    bool Store(const SOptionsFields& fields, TDataEngine& data);

private:
    // Each step answers false when it found what the user must mend before the dialog closes.
    bool StoreLevels(const SOptionsFields& fields);
    bool StoreDataFolder(const QString& folder);
    bool StoreReference(const QString& file, TDataEngine& data);
    bool StoreOwnFreqList(const QString& list);

    TOptions& m_options;
    QWidget* m_owner;
};
