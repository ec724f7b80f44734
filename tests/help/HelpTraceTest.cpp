// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpTrace.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(HelpTrace, EveryStartRemovesTheOldTraceAndOnlyTheSwitchStartsANewOne)
{
    struct SCase
    {
        QStringList arguments;
        bool debugFile;
        bool unwritableFolder;
        bool traced;
    };
    const SCase cases[] = {
        {{QStringLiteral("-lang"), QStringLiteral("pl"), QStringLiteral("-DEBUG")}, false, false, true},
        {{QStringLiteral("/debug")}, false, false, true},
        {{QStringLiteral("-Debug")}, false, false, true},
        {{}, true, false, true},
        {{}, false, false, false},
        {{QStringLiteral("-debugger"), QStringLiteral("--debug"), QStringLiteral("debug")},
         false,
         false,
         false},
        {{QStringLiteral("-debug")}, false, true, true},
        {{}, false, true, false},
    };
    for (const SCase& row : cases) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString() +
                     (row.debugFile ? " debug.debug" : "") + (row.unwritableFolder ? " unwritable" : ""));
        QTemporaryDir root;
        QTemporaryDir temp;
        // Nobody, root included, can write below a regular file.
        WriteFile(root.filePath(QStringLiteral("a-file")), {});
        const QString folder =
            row.unwritableFolder ? root.filePath(QStringLiteral("a-file/folder")) : root.path();
        const QString trace = (row.unwritableFolder ? temp.path() : folder) + QStringLiteral("/HHDebug.txt");
        WriteFile(trace, "a trace of an earlier run\n");
        if (row.debugFile)
            WriteFile(root.filePath(QStringLiteral("debug.debug")), {});

        THelpTrace::Start(folder, QStringList{QStringLiteral("kelvarion")} + row.arguments, temp.path());
        THelpTrace::Write(QStringLiteral("a help call"));
        THelpTrace::Stop();
        EXPECT_EQ(THelpTrace::Path(), trace);
        EXPECT_EQ(QFile::exists(trace), row.traced);
        if (row.traced) {
            EXPECT_FALSE(ReadFile(trace).contains("earlier run"));
            EXPECT_TRUE(ReadFile(trace).endsWith("\na help call\n"));
        }
    }
    THelpTrace::Start(TAppPaths::ProgramFolder(), {}, QDir::tempPath());
}
