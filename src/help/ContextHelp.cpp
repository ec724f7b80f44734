#include "help/ContextHelp.h"

#include <QShortcut>
#include <QWidget>

#include <utility>

namespace {

TContextHelp::Handler& CurrentHandler()
{
    static TContextHelp::Handler handler;
    return handler;
}

} // namespace

void TContextHelp::Join(QWidget* window, int helpContext)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window,
                     [helpContext] { HelpCommand(HELP_CONTEXT, helpContext); });
}

TContextHelp::Handler TContextHelp::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

bool TContextHelp::HelpCommand(int command, int data)
{
    const Handler& handler = CurrentHandler();
    return handler && handler(command, data);
}
