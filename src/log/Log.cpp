// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/Log.h"

#include "lang/Lang.h"
#include "log/FileNames.h"
#include "log/Version.h"
#include "log/WindowsVersion.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/SystemError.h"
#include "platform/SystemVersion.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

namespace {

QString DefaultPath()
{
    const SAppFolders& folders = TAppPaths::Folders();
    // A start that only hands its files to the running program leaves that program's log alone.
    if (!folders.stateProblem.isEmpty() ||
        (folders.settingsProblem.isEmpty() && TSingleInstance::HeldElsewhere(folders.settings)))
        return {};
    return folders.state + QStringLiteral("/Log.txt");
}

// The log of the run before stays beside the new one: it may tell why that run ended.
void KeepPrevious(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    const QString previous =
        info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".old.") + info.suffix();
    std::rename(path.toLocal8Bit().constData(), previous.toLocal8Bit().constData());
}

} // namespace

TLog::TLog() : TLog(DefaultPath())
{
    WriteFolders(TAppPaths::Folders());
}

TLog::TLog(const QString& path)
{
    KeepPrevious(path);
    file = std::fopen(path.toLocal8Bit().constData(), "w");
    if (file != nullptr) {
        Write(QStringLiteral("# Kelvarion log\n#"));
        // A log that opens but cannot be written (a full disk) is the one failure the user hears of.
        if (std::ferror(file) != 0) {
            TMessageBox::WhenShowable([path] {
                TMessageBox::Show(
                    {nullptr,
                     gLang.GetSectionString(QStringLiteral("OpenError"), QStringLiteral("Log")) + path,
                     ProductName, QMessageBox::Ok, QMessageBox::Warning});
            });
        }
    }
    const SVersionRecord record = TSystemVersion::Read();
    Write(QStringLiteral("OS version %1.%2 build %3 PlatformId:%4  CSDVersion:%5")
              .arg(record.major)
              .arg(record.minor)
              .arg(record.build)
              .arg(record.platformId)
              .arg(record.servicePack));
    Write(DescribeWindows());
}

TLog::~TLog()
{
    if (file == nullptr)
        return;
    WriteRepeats();
    std::fclose(file);
}

void TLog::WriteFolders(const SAppFolders& folders)
{
    const auto place = [](const QString& folder, const QString& problem, const char* file) {
        return problem.isEmpty() ? folder + QLatin1Char('/') + QLatin1String(file)
                                 : QStringLiteral("none (%1)").arg(problem);
    };
    Write(folders.mode == TPathMode::Portable
              ? QStringLiteral("Folders: portable, everything beside the program in ") +
                    TAppPaths::ProgramFolder()
              : QStringLiteral("Folders: installed, the user's own folders"));
    Write(QStringLiteral("Settings: ") + place(folders.settings, folders.settingsProblem, "kelvarion.ini"));
    Write(QStringLiteral("Log: ") + place(folders.state, folders.stateProblem, "Log.txt"));
    Write(QStringLiteral("Data: ") + folders.data);
    Write(QStringLiteral("Language files: ") + folders.res);
    Write(QStringLiteral("Help: ") + folders.help);
}

void TLog::Write(const QString& text)
{
    if (file == nullptr || m_full)
        return;
    if (text == m_lastText) {
        ++m_repeats;
        return;
    }
    WriteRepeats();
    m_lastText = text;
    WriteLine(text);
}

void TLog::WriteRepeats()
{
    if (m_repeats == 0)
        return;
    WriteLine(QStringLiteral("(and %1 more of the line above)").arg(m_repeats));
    m_repeats = 0;
}

void TLog::WriteLine(const QString& text)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QLatin1Char(' ');
    QByteArray line = (stamp + text + QLatin1Char('\n')).toUtf8();
    // Room is kept for the line that says why the log ends.
    constexpr qint64 closingRoom = 200;
    if (m_size + line.size() > MaxSize - closingRoom) {
        line =
            (stamp + QStringLiteral("The log has reached its size limit of %1 MB; nothing more is written.\n")
                         .arg(MaxSize / (1024 * 1024)))
                .toUtf8();
        m_full = true;
    }
    std::fputs(line.constData(), file);
    std::fflush(file);
    m_size += line.size();
}

void TLog::WriteAt(const QString& text, int line, const char* sourceFile)
{
    Write(
        QStringLiteral(" line:%1\t %2\t%3").arg(line).arg(FileNamePart(QString::fromUtf8(sourceFile)), text));
}

void TLog::WriteLastError(int line, const char* sourceFile)
{
    const int code = TSystemError::LastCode();
    QString message;
    if (!TSystemError::Describe(code, message)) {
        WriteAt(
            QString::asprintf("An error occured calling FormatMessage()!Error Code (0x%x)", unsigned(code)),
            line, sourceFile);
        return;
    }
    message.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    WriteAt(QString::asprintf("Error=(0x%x) Message: ", unsigned(code)) + message, line, sourceFile);
}

void TLog::Debug(const QString&, int, const char*)
{
}

QString TLog::DescribeWindows()
{
    // No registry on Linux: every lookup fails.
    const SWindowsDescription description = DescribeWindowsVersion(
        TSystemVersion::Read(), [](const QString&, const QString&) { return std::nullopt; });
    winVersion = description.winVersion;
    return description.text;
}
