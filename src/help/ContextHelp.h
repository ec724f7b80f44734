// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// The application's help requests. A window joins with its context number, and F1 anywhere in
// it asks the installed help handler for that number's page; windows need not know who shows
// the help or in which language.
class TContextHelp
{
public:
    // The framework's help commands, by their numbers.
    enum Command : int
    {
        HELP_CONTEXT = 1
    };

    // True when the handler served the request.
    using Handler = std::function<bool(int command, int data)>;

    // F1 in the window, whichever of its controls has the focus, asks for helpContext; joining
    // again changes the number.
    static void Join(QWidget* window, int helpContext);

    // Installs the handler and hands back the one it replaces.
    static Handler SetHandler(Handler handler);
    // False when no handler is installed or it left the request unserved.
    static bool HelpCommand(int command, int data);
};
