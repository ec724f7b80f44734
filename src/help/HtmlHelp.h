// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class THelpViewer;

// The help viewer as the help layer sees it: built into the program, loaded at program start
// and released at its end. It shows a help file at an anchor in a window of its own and
// closes all of them at once.

// True while the viewer is loaded.
extern bool _hhInstalled;

void LoadHtmlHelp();
void UnloadHtmlHelp();

// The window showing the file at the anchor (the top of the page for an empty or unknown
// anchor), one window per file; none when the viewer is not loaded or cannot show the file.
THelpViewer* HtmlHelp(const QString& file, const QString& anchor);
// Closes every help window.
void HHCloseAll();
// The message box for a non-zero result of a help call; 0 shows nothing.
void HHShowError(int code);
