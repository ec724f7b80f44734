// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Outcome(const SAppFolders& folders)
{
    return {folders.mode == TPathMode::Portable ? QStringLiteral("portable") : QStringLiteral("installed"),
            folders.settings,
            folders.state,
            folders.data,
            folders.res,
            folders.help,
            folders.settingsProblem.isEmpty() ? QString() : QStringLiteral("no settings"),
            folders.stateProblem.isEmpty() ? QString() : QStringLiteral("no state")};
}

} // namespace

TEST(AppPaths, FoldersFollowTheProgramsPlaceAndTheEnvironment)
{
    const QString usr = QStringLiteral("/usr/share/kelvarion");
    const QString config = QStringLiteral("/home/u/.config/kelvarion");
    const QString state = QStringLiteral("/home/u/.local/state/kelvarion");
    const QString documents = QStringLiteral("/home/u/Documents/Kelvarion");
    const struct
    {
        const char* name;
        SPathInputs inputs;
        QStringList outcome;
    } rows[] = {
        {"a writable build folder",
         {"/b/build", true, false, "/home/u", "", "", "/home/u/Documents", "/w"},
         {"portable", "/b/build", "/b/build", "/b/build/Data", "/b/build/res", "/b/build", "", ""}},
        {"a read-only copy",
         {"/media/cd", false, false, "/home/u", "", "", "/home/u/Documents", "/w"},
         {"installed", config, state, documents, "/media/cd/res", "/media/cd", "", ""}},
        {"installed in /usr",
         {"/usr/bin", false, true, "/home/u", "", "", "/home/u/Dokumenty", "/w"},
         {"installed", config, state, "/home/u/Dokumenty/Kelvarion", usr + "/res", usr, "", ""}},
        {"installed in /usr, run by root, who can write there",
         {"/usr/bin", true, true, "/root", "", "", "/root/Documents", "/w"},
         {"installed", "/root/.config/kelvarion", "/root/.local/state/kelvarion", "/root/Documents/Kelvarion",
          usr + "/res", usr, "", ""}},
        {"installed under another prefix",
         {"/opt/k/bin", false, true, "/home/u", "", "", "/home/u/Documents", "/w"},
         {"installed", config, state, documents, "/opt/k/share/kelvarion/res", "/opt/k/share/kelvarion", "",
          ""}},
        {"XDG folders set",
         {"/usr/bin", false, true, "/home/u", "/x/conf", "/x/state/", "/home/u/Documents", "/w"},
         {"installed", "/x/conf/kelvarion", "/x/state/kelvarion", documents, usr + "/res", usr, "", ""}},
        {"relative XDG folders are ignored",
         {"/usr/bin", false, true, "/home/u", "conf", "state", "/home/u/Documents", "/w"},
         {"installed", config, state, documents, usr + "/res", usr, "", ""}},
        {"no HOME",
         {"/usr/bin", false, true, "", "", "", "", "/w"},
         {"installed", "", "", "/w/Kelvarion", usr + "/res", usr, "no settings", "no state"}},
        {"no HOME, XDG folders set",
         {"/usr/bin", false, true, "", "/x/conf", "/x/state", "", "/w"},
         {"installed", "/x/conf/kelvarion", "/x/state/kelvarion", "/w/Kelvarion", usr + "/res", usr, "", ""}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Outcome(TAppPaths::Decide(row.inputs)), row.outcome) << row.name;
}

TEST(AppPaths, MakeFolderCreatesParentsOrSaysWhyNot)
{
    QTemporaryDir root;
    QFile file(root.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const struct
    {
        QString path;
        bool made;
        QString reason;
    } rows[] = {
        {root.filePath(QStringLiteral("a/b/c")), true, QString()},
        {root.filePath(QStringLiteral("a/b/c")), true, QString()},
        {root.filePath(QStringLiteral("file")), false,
         root.filePath(QStringLiteral("file")) +
             QStringLiteral(": a file that is not a folder is in the way")},
        {root.filePath(QStringLiteral("file/d")), false,
         root.filePath(QStringLiteral("file")) +
             QStringLiteral(": a file that is not a folder is in the way")},
    };
    for (const auto& row : rows) {
        QString reason;
        EXPECT_EQ(TAppPaths::MakeFolder(row.path, reason), row.made) << row.path.toStdString();
        EXPECT_EQ(reason, row.reason) << row.path.toStdString();
        EXPECT_EQ(QFileInfo(row.path).isDir(), row.made) << row.path.toStdString();
    }
}
