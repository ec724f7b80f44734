// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/IniFile.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QObject;
class QTranslator;
class QWidget;

inline constexpr const char* DefaultLangSymbol = "en";

// The language engine: the list of languages, the current language file, text lookup by key
// and the translation of every registered window by its components' names.
class TLang
{
public:
    TLang();
    // resFolder holds lang.lng and one <symbol>.lng per language.
    explicit TLang(const QString& resFolder);
    ~TLang();

    // Looks the key up in the section named after the owner, or "DefSection" without one.
    QString GetString(const QString& key, const QObject* owner = nullptr);
    QString GetString2(const QString& key, const QObject* owner = nullptr);
    QString GetSectionString(const QString& key, const QString& section);

    void ChangeLangSym(const QString& symbol);
    void AddForm(QWidget* form);
    void LandAllItems(QObject* component, QString section);

    // A message box whose caption and text are looked up with the owner's section; the detail
    // follows the text.
    QMessageBox::StandardButton ShowMessage(const QString& textKey, const QString& captionKey,
                                            QWidget* owner = nullptr,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::Icon icon = QMessageBox::NoIcon,
                                            const QString& detail = QString());

    QString LangFilePath() const;

    QStringList LangNames;
    QStringList LangSymbols;
    int LangIndex = -1;
    std::unique_ptr<TIniFile> IniLang;
    QList<QPointer<QWidget>> Forms;
    QString LangSymbol;
    QString LastName;
    int SubCount = 0;

private:
    void LoadLanguageList();
    // Qt's own texts (standard buttons, Qt's dialogs) in the current language.
    void LoadQtTexts();
    void ReportMissingTexts(const QString& file);
    QString SectionOf(const QObject* owner) const;
    void LandComponent(QObject* component, QString& section);

    QString m_resFolder;
    std::unique_ptr<QTranslator> m_qtTexts;
    bool m_missingReported = false;
};

extern TLang gLang;
