// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/Lang.h"

#include "log/Log.h"
#include "log/Version.h"
#include "platform/AppPaths.h"
#include "platform/ComponentTree.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

// Constant-initialised: lookups happen during static initialisation.
constexpr QLatin1String kUndef("undef");
constexpr QLatin1String kUnknownString(" Unknown String ");
// The caption this engine last gave a component.
const char* const kLandedCaption = "kelvarionLandedCaption";

} // namespace

TLang::TLang() : TLang(TAppPaths::Folders().res)
{
}

TLang::TLang(const QString& resFolder) : m_resFolder(resFolder)
{
}

TLang::~TLang() = default;

QString TLang::LangFilePath() const
{
    return LangSymbol.isEmpty() ? QString()
                                : m_resFolder + QLatin1Char('/') + LangSymbol + QStringLiteral(".lng");
}

QString TLang::SectionOf(const QObject* owner) const
{
    return owner != nullptr ? owner->objectName() : QStringLiteral("DefSection");
}

QString TLang::GetString(const QString& key, const QObject* owner)
{
    return GetSectionString(key, SectionOf(owner));
}

// Results are values, so a second result slot needs no storage of its own.
QString TLang::GetString2(const QString& key, const QObject* owner)
{
    return GetString(key, owner);
}

QString TLang::GetSectionString(const QString& key, const QString& section)
{
    const QString value = IniLang ? IniLang->ReadString(section, key, kUndef) : QString(kUndef);
    if (value == kUndef) {
        LOG_AT(
            QStringLiteral("No string(section:%1,name:%2 in ini file(%3)").arg(section, key, LangFilePath()));
        return kUnknownString;
    }
    QString text = value;
    const int breakAt = text.indexOf(QLatin1String("\\n"));
    if (breakAt >= 0)
        text.replace(breakAt, 2, QLatin1Char('\n'));
    return text;
}

void TLang::LoadLanguageList()
{
    const QString path = m_resFolder + QStringLiteral("/lang.lng");
    TIniFile list;
    list.Load(path);
    LangSymbols = list.ReadKeys(QStringLiteral("languages"));
    if (LangSymbols.isEmpty()) {
        LOG_AT(QStringLiteral("Lang ini file(%1) is empty").arg(path));
        ReportMissingTexts(QStringLiteral("lang.lng"));
    }
    LangNames.clear();
    for (const QString& symbol : LangSymbols)
        LangNames.append(list.ReadString(QStringLiteral("languages"), symbol, QStringLiteral("noKey")));
}

void TLang::ChangeLangSym(const QString& symbol)
{
    if (LangSymbols.isEmpty())
        LoadLanguageList();
    // Without any language there is nothing to select: lookups answer " Unknown String ".
    if (LangSymbols.isEmpty())
        return;
    const auto found =
        std::find_if(LangSymbols.cbegin(), LangSymbols.cend(), [&symbol](const QString& known) {
            return known.compare(symbol, Qt::CaseInsensitive) == 0;
        });
    int index = int(found - LangSymbols.cbegin());
    if (found == LangSymbols.cend()) {
        LOG_AT(QStringLiteral("[ChangeLangSym]unknown lang. symbol:") + symbol);
        index = 0;
    }
    if (index == LangIndex)
        return;
    LangIndex = index;
    LangSymbol = LangSymbols.at(index);
    IniLang = std::make_unique<TIniFile>();
    IniLang->Load(LangFilePath());
    LoadQtTexts();
    if (IniLang->Text().trimmed().isEmpty())
        ReportMissingTexts(LangSymbol + QStringLiteral(".lng"));
    for (const QPointer<QWidget>& form : Forms) {
        if (form)
            LandAllItems(form, QString());
    }
}

void TLang::LoadQtTexts()
{
    // The catalogue goes with the application: without one there is nothing to translate.
    m_qtTexts.reset();
    if (QCoreApplication::instance() == nullptr)
        return;
    const QString name = QStringLiteral("qtbase_") + LangSymbol;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder)) {
        LOG_AT(QStringLiteral("[ChangeLangSym]no Qt translation %1 in %2").arg(name, folder));
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    m_qtTexts = std::move(translator);
}

// In English, as no language could be loaded; once, however often a language is chosen.
void TLang::ReportMissingTexts(const QString& file)
{
    if (std::exchange(m_missingReported, true))
        return;
    const QString text = QStringLiteral("The language file %1 is missing or empty in the folder\n%2\n"
                                        "Menus and messages cannot be shown in any language. Installing "
                                        "Kelvarion again restores its language files.")
                             .arg(file, m_resFolder);
    TMessageBox::WhenShowable([text] {
        TMessageBox::Show({nullptr, text, ProductName, QMessageBox::Ok, QMessageBox::Warning});
    });
}

void TLang::AddForm(QWidget* form)
{
    Forms.append(form);
    LandAllItems(form, QString());
}

void TLang::LandAllItems(QObject* component, QString section)
{
    if (!IniLang) {
        LOG_AT(QStringLiteral("Fatal error IniLang is null!!"));
        return;
    }
    try {
        LandComponent(component, section);
    } catch (const std::exception&) {
        LOG_LAST_ERROR();
        gLog.Debug(QStringLiteral("Lang LandAllItems catch error classname:") +
                       QString::fromLatin1(component->metaObject()->className()),
                   __LINE__, __FILE__);
    }
}

void TLang::LandComponent(QObject* component, QString& section)
{
    if (TComponentTree::KindOf(component) == TComponentTree::Kind::Other)
        return;
    const QString name = component->objectName();
    QString key;
    if (name.isEmpty()) {
        key = LastName + QLatin1Char('_') + QString::number(SubCount++);
    } else if (name == QLatin1String("SubLabel")) {
        key = LastName + QStringLiteral("->Sub_") + QString::number(SubCount++);
    } else {
        key = name;
        LastName = name;
        SubCount = 0;
    }
    if (section.isEmpty())
        section = key;

    const QString caption = TComponentTree::Caption(component);
    // A caption that reads as its key is skipped only while it is as designed (an edit field
    // holding its name); one this engine set, such as "Exit", is translated again.
    const bool asDesigned = component->property(kLandedCaption).toString() != caption;
    const bool designedName = asDesigned && caption.trimmed() == key;
    if (!caption.isEmpty() && !designedName && !key.startsWith(QLatin1Char('_'))) {
        const QString text = IniLang->ReadString(section, key, kUndef);
        if (text == kUndef) {
            LOG_AT(QStringLiteral("Lang LandAllItems; unknown item caption name:%1 in section:%2")
                       .arg(key, section));
        } else {
            TComponentTree::SetCaption(component, text);
            component->setProperty(kLandedCaption, TComponentTree::Caption(component));
        }
    }
    if (!TComponentTree::Hint(component).isEmpty()) {
        const QString hint = IniLang->ReadString(section, key + QStringLiteral("_hint"), kUndef);
        if (hint == kUndef)
            LOG_AT(QStringLiteral("No string(section:%1,name:%2 in ini file(%3)")
                       .arg(section, key, LangFilePath()));
        else
            TComponentTree::SetHint(component, hint);
    }
    for (QObject* child : TComponentTree::OwnedComponents(component))
        LandAllItems(child, section);
}

QMessageBox::StandardButton TLang::ShowMessage(const QString& textKey, const QString& captionKey,
                                               QWidget* owner, QMessageBox::StandardButtons buttons,
                                               QMessageBox::Icon icon, const QString& detail)
{
    // Boxes asked for before the application exists are looked up when shown, so that they
    // speak the language chosen at start-up rather than the missing-string text.
    QPointer<QWidget> guardedOwner = owner;
    const QString section = SectionOf(owner);
    auto answer = std::make_shared<QMessageBox::StandardButton>(
        buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    TMessageBox::WhenShowable([=, this] {
        const QString caption = GetSectionString(captionKey, section);
        const QString text = GetSectionString(textKey, section) + detail;
        *answer = TMessageBox::Show({guardedOwner, text, caption, buttons, icon});
    });
    return *answer;
}
