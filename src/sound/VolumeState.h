// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/VolumeControl.h"

#include <QString>

// The master volume as the sound engine found it, kept on disk while an engine holds the output.
// A run that ends without giving the volume back (kill -9, a crash, a power cut) leaves the file
// behind, and the next start gives the user's volume back from it.
class TVolumeState
{
public:
    // In the state folder beside the log; empty when there is none.
    static QString FilePath();
    // Called before an engine first changes a volume. Only the first of several engines alive at
    // once writes, since the later ones find volumes the first has already changed.
    static void Hold(const SRawVolume& master);
    // Called when an engine lets the output go; the last one removes the file, unless the volume
    // could not be given back (a device gone mid-test), which the next start tries again.
    static void Release(bool givenBack);
    // At start-up: gives back what a run that is no longer alive left behind and removes the
    // file. True when a volume was given back.
    static bool RestoreLeftOver();
};
