// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/ContextHelp.h"

#include <QString>

// Where help is shown: the viewer built into the program, or one of the external viewers of
// another system, which never exist here.
enum class THostType : int
{
    htHHAPI = 0,
    htKeyHHexe = 1,
    htHHexe = 2
};

// The help object of one help file: while it exists it serves every help request of the
// program (F1 in any window that joined TContextHelp, the Help command) from its file.
class THookHelpSystem
{
public:
    THookHelpSystem(const QString& chmFile, THostType hostType);
    // Closes every help window and gives the requests back to the handler it found.
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // The page of the topic, an anchor of the file; the top of the page for an empty topic.
    // Both return the code that HHShowError reported, 0 when the page was shown.
    int HelpTopic(const QString& topic);
    // The page of a window's context number.
    int HelpContext(int context);

    bool HelpHook(int command, int data);

    QString HelpFile() const { return m_chmFile; }

private:
    int Show(const QString& anchor);

    TContextHelp::Handler m_oldHelpEvent;
    QString m_chmFile;
    THostType m_hostType;
};
