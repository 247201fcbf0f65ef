#include "app/ui/logic/StatusTexts.h"

#include "app/core/LocalString.h"
#include "platform/foundation/FormatString.h"

#include <algorithm>

namespace StatusTexts {

QString selectCountText(int count)
{
    return formatText(QStringLiteral("%@ : %d"), getLocalString(QStringLiteral("IDS_SELECT_COUNT_TEXT_IN_STATUS")), std::max(0, count));
}

QString currentSelectText(int current, int total)
{
    const int shown = std::min(std::max(0, current), total);
    return formatText(QStringLiteral("%d / %d %@"), shown, total, getLocalString(QStringLiteral("IDS_PAGE_UNIT_TEXT_IN_STATUS")));
}

QString fileExportTypeText(const QString& formatName)
{
    return formatText(QStringLiteral("%@ : %@"), getLocalString(QStringLiteral("IDS_FILE_EXPORT_TYPE_TEXT_IN_STATUS")), formatName);
}

QString recognizeLanguageText(const QString& languageName)
{
    return formatText(QStringLiteral("%@ : %@"), getLocalString(QStringLiteral("IDS_RECOGNIZE_LANGUAGE_TEXT_IN_STATUS")), languageName);
}

} // namespace StatusTexts
