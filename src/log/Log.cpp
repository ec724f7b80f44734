#include "log/Log.h"

#include "lang/Lang.h"
#include "log/Tools.h"
#include "log/WindowsVersion.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/SystemError.h"
#include "platform/SystemVersion.h"

#include <QDateTime>

TLog::TLog() : TLog(TAppPaths::ProgramFolder() + QStringLiteral("/Log.txt"))
{
}

TLog::TLog(const QString& path)
{
    file = std::fopen(path.toLocal8Bit().constData(), "w");
    if (file != nullptr) {
        Write(QStringLiteral("# Kelvarion log\n#"));
        // A log that opens but cannot be written (a full disk) is the one failure the user hears of.
        if (std::ferror(file) != 0) {
            TMessageBox::WhenShowable([path] {
                TMessageBox::Show({nullptr, gLang.GetSectionString(QStringLiteral("OpenError"), QStringLiteral("Log")) + path,
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
    if (file != nullptr)
        std::fclose(file);
}

void TLog::Write(const QString& text)
{
    if (file == nullptr)
        return;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    std::fputs((stamp + QLatin1Char(' ') + text + QLatin1Char('\n')).toUtf8().constData(), file);
    std::fflush(file);
}

void TLog::WriteAt(const QString& text, int line, const char* sourceFile)
{
    Write(QStringLiteral(" line:%1\t %2\t%3").arg(line).arg(FileNamePart(QString::fromUtf8(sourceFile)), text));
}

void TLog::WriteLastError(int line, const char* sourceFile)
{
    const int code = TSystemError::LastCode();
    QString message;
    if (!TSystemError::Describe(code, message)) {
        WriteAt(QString::asprintf("An error occured calling FormatMessage()!Error Code (0x%x)", unsigned(code)), line,
                sourceFile);
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
    const SWindowsDescription description =
        DescribeWindowsVersion(TSystemVersion::Read(), [](const QString&, const QString&) { return std::nullopt; });
    winVersion = description.winVersion;
    return description.text;
}
