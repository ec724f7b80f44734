// SPDX-License-Identifier: GPL-3.0-or-later
// Language files: a change to any file's language retranslates a real main window, and the
// change back gives every text its English wording again.
#include "FuzzSupport.h"

#include "lang/Lang.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"

#include <QMenu>

namespace {

QString FileMenuTitle(const QWidget& window)
{
    const auto* menu = window.findChild<QMenu*>(QStringLiteral("File"));
    return menu != nullptr ? menu->title() : QString();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSetUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir res;
    static const bool listed = [] {
        QFile list(res.filePath(QStringLiteral("lang.lng")));
        QFile::copy(QApplication::applicationDirPath() + QStringLiteral("/res/en.lng"),
                    res.filePath(QStringLiteral("en.lng")));
        return list.open(QIODevice::WriteOnly) && list.write("[Languages]\nen=English\nfz=Fuzz\n") > 0;
    }();
    static TWindowSet& windows = *new TWindowSet;
    static TLang lang(res.path());
    static const QString english = [] {
        lang.AddForm(windows.Main());
        lang.ChangeLangSym(QStringLiteral("en"));
        return FileMenuTitle(*windows.Main());
    }();
    FUZZ_CHECK(listed);

    QFile file(res.filePath(QStringLiteral("fz.lng")));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    lang.ChangeLangSym(QStringLiteral("fz"));
    lang.GetString(QStringLiteral("MessSureExit?"), windows.Main());
    lang.ChangeLangSym(QStringLiteral("en"));
    FUZZ_CHECK(FileMenuTitle(*windows.Main()) == english);
    return 0;
}
