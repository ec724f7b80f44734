// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppPaths.h"

#include "platform/SystemError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr QLatin1String kFolderName("kelvarion");

bool Writable(const QString& folder)
{
    return access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString Reason(const QString& path, int code)
{
    QString text;
    if (!TSystemError::Describe(code, text))
        text = QStringLiteral("error %1").arg(code);
    return path + QStringLiteral(": ") + text;
}

// An XDG base folder: the variable when it holds an absolute path (a relative one is to be
// ignored), else its place under the home folder, else none.
QString BaseFolder(const QString& variable, const QString& home, const char* underHome)
{
    if (QDir::isAbsolutePath(variable))
        return variable;
    if (QDir::isAbsolutePath(home))
        return home + QLatin1Char('/') + QLatin1String(underHome);
    return {};
}

} // namespace

QString TAppPaths::ProgramPath()
{
    static const QString path = [] {
        char buffer[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return length > 0 ? QString::fromLocal8Bit(buffer, length) : QString();
    }();
    return path;
}

QString TAppPaths::ProgramFolder()
{
    return QFileInfo(ProgramPath()).absolutePath();
}

SAppFolders TAppPaths::Decide(const SPathInputs& inputs)
{
    SAppFolders folders;
    folders.start = inputs.startFolder;
    const QString base =
        inputs.shareFolderExists
            ? QDir::cleanPath(inputs.programFolder + QStringLiteral("/../share/") + kFolderName)
            : inputs.programFolder;
    folders.res = base + QStringLiteral("/res");
    folders.help = base;
    // Root can write /usr/bin; the installed layout keeps an installation out of it all the same.
    if (inputs.programFolderWritable && !inputs.shareFolderExists) {
        folders.settings = inputs.programFolder;
        folders.state = inputs.programFolder;
        folders.data = inputs.programFolder + QStringLiteral("/Data");
        return folders;
    }
    folders.mode = TPathMode::Installed;
    const QString config = BaseFolder(inputs.configHome, inputs.home, ".config");
    const QString state = BaseFolder(inputs.stateHome, inputs.home, ".local/state");
    const QString noBase = QStringLiteral("neither %1 nor HOME is set to a folder");
    if (config.isEmpty())
        folders.settingsProblem = noBase.arg(QLatin1String("XDG_CONFIG_HOME"));
    else
        folders.settings = QDir::cleanPath(config + QLatin1Char('/') + kFolderName);
    if (state.isEmpty())
        folders.stateProblem = noBase.arg(QLatin1String("XDG_STATE_HOME"));
    else
        folders.state = QDir::cleanPath(state + QLatin1Char('/') + kFolderName);
    const QString documents = inputs.documents.isEmpty() ? inputs.startFolder : inputs.documents;
    folders.data = QDir::cleanPath(documents + QStringLiteral("/Kelvarion"));
    return folders;
}

const SAppFolders& TAppPaths::Folders()
{
    static const SAppFolders folders = [] {
        SPathInputs inputs;
        inputs.programFolder = ProgramFolder();
        inputs.programFolderWritable = Writable(inputs.programFolder);
        inputs.shareFolderExists =
            QFileInfo(inputs.programFolder + QStringLiteral("/../share/") + kFolderName).isDir();
        inputs.home = qEnvironmentVariable("HOME");
        inputs.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
        inputs.stateHome = qEnvironmentVariable("XDG_STATE_HOME");
        // Without a home Qt names the root folder's "Documents", which is nobody's.
        if (QDir::isAbsolutePath(inputs.home))
            inputs.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        inputs.startFolder = QDir::currentPath();
        SAppFolders decided = Decide(inputs);
        if (decided.mode == TPathMode::Installed) {
            for (auto [folder, problem] : {std::pair{&decided.settings, &decided.settingsProblem},
                                           std::pair{&decided.state, &decided.stateProblem}}) {
                if (!folder->isEmpty() && MakeFolder(*folder, *problem) && !Writable(*folder))
                    *problem = Reason(*folder, errno);
            }
        }
        return decided;
    }();
    return folders;
}

bool TAppPaths::MakeFolder(const QString& path, QString& reason, bool withParents)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    // Each parent in turn, so that the reason names the one that failed.
    for (qsizetype end = withParents ? clean.indexOf(QLatin1Char('/'), 1) : -1;;
         end = clean.indexOf(QLatin1Char('/'), end + 1)) {
        const QString part = end < 0 ? clean : clean.left(end);
        const QByteArray name = QFile::encodeName(part);
        if (mkdir(name.constData(), 0777) != 0) {
            const int code = errno;
            struct stat info = {};
            const bool isFolder = stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode);
            if (!isFolder) {
                reason = code == EEXIST ? part + QStringLiteral(": a file that is not a folder is in the way")
                                        : Reason(part, code);
                return false;
            }
        }
        if (end < 0)
            return true;
    }
}
