// The language names of linkage setting plists ("English", "Japanese", "zh-CN", ...), from the
// language of the user interface.
#pragma once

#include <QString>

#include <functional>

// The name for a language code such as "ja", "ja-JP", "pt_BR" or "zh-Hans-CN"; "English" for
// any language without a name of its own.
QString ConvertLanguageString(const QString& languageCode);
// The name of the user interface's first language; null when the system names none.
QString getCurSysLanguage();
// Tests set where the language code comes from; null restores the system's first UI language.
void setSystemLanguageSource(std::function<QString()> source);
