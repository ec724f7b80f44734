// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide service objects, defined together because their order matters: the
// settings report through the language engine and the log while they are read and written,
// so they are built after both and destroyed before them.
// The file-size signal is ignored before the log writes its first line.
#include "lang/Lang.h"
#include "log/Log.h"
#include "platform/SignalWatcher.h"
#include "settings/Options.h"

namespace {
[[maybe_unused]] const bool gFileSizeSignalIgnored = TSignalWatcher::IgnoreFileSizeSignal();
} // namespace

TLog gLog;
TLang gLang;
TOptions gOptions;
