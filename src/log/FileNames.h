// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The part of a path after its last folder separator.
QString FileNamePart(const QString& path);

// The name proposed for a new file: the name, a blank and the time now as "yyyymmdd_hhmm",
// so that files of one name made at different times do not meet. Characters a file name cannot
// hold ("/", control characters) are left out, and so are "-" and "." at the start.
QString ProposedFileName(const QString& name);
