// The program's language: Turkish, the language its texts are written in, or English from
// the translation built from resources/translations/zorbela_en.ts. Qt's own texts (dialog
// buttons, file dialogs) follow the same language.
#pragma once

#include <QLocale>
#include <QString>

enum class TLanguage { Turkish, English };

// The settings value that keeps the user's choice: "tr", "en", or absent (the system's locale).
inline constexpr const char* kRegLanguage = "Language";

// The stored choice when it names a language; otherwise the system's: English where the
// locale's language is neither Turkish nor unset (C or POSIX), Turkish there.
TLanguage ChooseLanguage(const QString& stored, const QLocale& system);
// "tr" or "en", as kept in the settings.
QString LanguageCode(TLanguage language);

// The stored choice, or the system's locale.
TLanguage StartLanguage();
void StoreLanguage(TLanguage language);

// Installs the program's and Qt's texts for language, replacing what an earlier call
// installed; every window is sent a LanguageChange event. False when a translation the
// language needs could not be loaded (its texts then stay as written).
bool InstallLanguage(TLanguage language);
TLanguage CurrentLanguage();

// source (UTF-8) of context in language, without an application: for the texts written
// before it exists.
QString TextIn(TLanguage language, const char* context, const char* source);

// The name of contract c (0..10) in the current language.
QString ContractText(int c);
