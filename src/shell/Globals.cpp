// The process-wide service objects, defined together because their order matters: the
// settings report through the language engine and the log while they are read and written,
// so they are built after both and destroyed before them.
#include "lang/Lang.h"
#include "log/Log.h"
#include "settings/Options.h"

TLog gLog;
TLang gLang;
QString FreqPresets[FreqPresetCount] = {
    QStringLiteral("450,500,1000,1900,2000"),
    QStringLiteral("450,500,550,1000,1950,2000,2050"),
    QStringLiteral("450,475,500,525,1000,1950,1975,2000,2025"),
    QStringLiteral("450,475,500,525,975,1000,1050,1950,1975,2000,2025"),
    QStringLiteral("1000,2000,500"),
};
TOptions gOptions;
