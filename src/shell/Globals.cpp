// The process-wide service objects, defined together because their order matters: the
// settings report through the language engine and the log while they are read and written,
// so they are built after both and destroyed before them.
#include "lang/Lang.h"
#include "log/Log.h"
#include "settings/Options.h"

TLog gLog;
TLang gLang;
TOptions gOptions;
