// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HookHelpSystem.h"

#include "help/HelpTrace.h"
#include "help/HelpViewer.h"
#include "help/HtmlHelp.h"

namespace {

QString CommandName(int command)
{
    return command == TContextHelp::HELP_CONTEXT ? QStringLiteral("HELP_CONTEXT") : QString::number(command);
}

} // namespace

THookHelpSystem::THookHelpSystem(const QString& chmFile, THostType hostType)
    : m_chmFile(chmFile), m_hostType(hostType)
{
    // The built-in viewer has one kind of window, so the window-definition name stays empty.
    THelpTrace::Write(
        QStringLiteral("THookHelpSystem.Create(\"%1\",\"\", %2)").arg(chmFile).arg(int(hostType)));
    m_oldHelpEvent =
        TContextHelp::SetHandler([this](int command, int data) { return HelpHook(command, data); });
}

THookHelpSystem::~THookHelpSystem()
{
    THelpTrace::Write(QStringLiteral("THookHelpSystem.Destroy"));
    if (m_hostType == THostType::htHHAPI)
        HHCloseAll();
    TContextHelp::SetHandler(std::move(m_oldHelpEvent));
}

bool THookHelpSystem::HelpHook(int command, int data)
{
    THelpTrace::Write(QStringLiteral("THookHelpSystem.HelpHook(%1, %2)").arg(CommandName(command)).arg(data));
    if (command != TContextHelp::HELP_CONTEXT)
        return false;
    HelpContext(data);
    return true;
}

int THookHelpSystem::HelpTopic(const QString& topic)
{
    const QString page = topic.isEmpty() ? m_chmFile : m_chmFile + QLatin1Char('#') + topic;
    THelpTrace::Write(QStringLiteral("ShowTopic(\"%1\", 0)").arg(page));
    return Show(topic);
}

int THookHelpSystem::HelpContext(int context)
{
    THelpTrace::Write(QStringLiteral("ShowContext(\"%1\", %2)").arg(m_chmFile).arg(context));
    return Show(QString::number(context));
}

int THookHelpSystem::Show(const QString& anchor)
{
    int result = 0;
    switch (m_hostType) {
    case THostType::htHHAPI:
        if (!_hhInstalled) {
            result = 1;
        } else if (THelpViewer* viewer = HtmlHelp(m_chmFile, anchor)) {
            viewer->raise();
            viewer->activateWindow();
        }
        break;
    case THostType::htKeyHHexe:
        result = 2;
        break;
    case THostType::htHHexe:
        result = 3;
        break;
    }
    THelpTrace::Write(QStringLiteral("  returned - %1").arg(result));
    HHShowError(result);
    return result;
}
