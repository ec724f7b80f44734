// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpTrace.h"

#include "log/Version.h"
#include "platform/AppPaths.h"
#include "platform/SystemVersion.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

struct STraceState
{
    QString path;
    std::unique_ptr<QFile> file;
};

STraceState& State()
{
    static STraceState state;
    return state;
}

bool Requested(const QString& folder, const QStringList& arguments)
{
    const bool byParameter = std::any_of(arguments.cbegin(), arguments.cend(), [](const QString& argument) {
        return argument.compare(QLatin1String("-debug"), Qt::CaseInsensitive) == 0 ||
               argument.compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0;
    });
    return byParameter || QFileInfo::exists(folder + QStringLiteral("/debug.debug"));
}

QString Header(const QStringList& arguments)
{
    const SVersionRecord system = TSystemVersion::Read();
    return QString(ProductName) + QStringLiteral(" help trace\n"
                                                 "Started: %1\n"
                                                 "Program: %2, version%3built %4\n"
                                                 "Arguments: %5\n"
                                                 "System: %6, kernel %7.%8.%9\n"
                                                 "Qt: %10\n"
                                                 "Help viewer: built in")
                                      .arg(QDateTime::currentDateTime().toString(Qt::ISODate),
                                           TAppPaths::ProgramPath(), VersionText(), BuildDateText(),
                                           arguments.join(QLatin1Char(' ')), system.distribution)
                                      .arg(system.major)
                                      .arg(system.minor)
                                      .arg(system.build)
                                      .arg(QString::fromLatin1(qVersion()));
}

} // namespace

void THelpTrace::Start(const QString& folder, const QStringList& arguments, const QString& tempFolder)
{
    Stop();
    const QFileInfo place(folder);
    STraceState& state = State();
    state.path = (place.isDir() && place.isWritable() ? folder : tempFolder) + QStringLiteral("/HHDebug.txt");
    QFile::remove(state.path);
    if (!Requested(folder, arguments))
        return;
    auto file = std::make_unique<QFile>(state.path);
    // A trace that cannot be written leaves help working, untraced.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    state.file = std::move(file);
    Write(Header(arguments));
}

void THelpTrace::Stop()
{
    State().file.reset();
}

QString THelpTrace::Path()
{
    return State().path;
}

void THelpTrace::Write(const QString& line)
{
    QFile* file = State().file.get();
    if (file == nullptr)
        return;
    file->write((line + QLatin1Char('\n')).toUtf8());
    file->flush();
}
