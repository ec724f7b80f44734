// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The one announcement that the shown data changed: measurements loaded, added or closed, the
// reference applied or switched, the chart colour set. The main window redraws on it, so a
// window that changes data never needs to know who shows it. It outlives every data store,
// since close-all replaces the store.
class TDataChanges : public QObject
{
    Q_OBJECT

public:
    static TDataChanges& Instance();

    // Holds announcements back while it lives and makes one at its end, so a command that
    // changes data many times (opening many files) redraws once.
    class TBatch
    {
    public:
        TBatch();
        ~TBatch();
        TBatch(const TBatch&) = delete;
        TBatch& operator=(const TBatch&) = delete;
    };

    void Announce();

signals:
    void Changed();

private:
    int m_batchDepth = 0;
    bool m_pending = false;
};
