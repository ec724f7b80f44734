// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The first ALSA call that failed, kept by a thread that may not write the log until one that
// may takes it.
class TAlsaFailure
{
public:
    // True when the call succeeded; otherwise the failure is kept unless an earlier one is.
    bool Keep(const char* call, long result);
    bool IsKept() const { return m_call != nullptr; }
    // The kept failure as a log text; nothing is kept afterwards.
    QString Take();

    // "snd_pcm_writei failed, Error=(0x20) Message: Broken pipe" for the error -32.
    static QString Text(const char* call, long error);

private:
    const char* m_call = nullptr;
    long m_error = 0;
};
