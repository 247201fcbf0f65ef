// The texts of the main window's status fields, localised and clamped to what can be shown.
#pragma once

#include <QString>

namespace StatusTexts {

// "<selected> : <count>"; a negative count shows 0.
QString selectCountText(int count);
// "<current> / <total> <unit>"; the position is kept within 0 and the total.
QString currentSelectText(int current, int total);
// "<export type> : <format name>" and "<recognition language> : <language name>".
QString fileExportTypeText(const QString& formatName);
QString recognizeLanguageText(const QString& languageName);

} // namespace StatusTexts
