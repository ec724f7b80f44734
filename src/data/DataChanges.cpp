// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataChanges.h"

#include <utility>

TDataChanges& TDataChanges::Instance()
{
    static TDataChanges instance;
    return instance;
}

void TDataChanges::Announce()
{
    if (m_batchDepth > 0) {
        m_pending = true;
        return;
    }
    emit Changed();
}

TDataChanges::TBatch::TBatch()
{
    ++Instance().m_batchDepth;
}

TDataChanges::TBatch::~TBatch()
{
    TDataChanges& changes = Instance();
    if (--changes.m_batchDepth > 0 || !std::exchange(changes.m_pending, false))
        return;
    emit changes.Changed();
}
