#include "app/core/VersionUtilities.h"

#include "app/core/LocalString.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/SystemVersion.h"

#include <QStringList>

#include <optional>

namespace {

const QString kShortVersionKey = QStringLiteral("CFBundleShortVersionString");
const QString kDatabaseVersionKey = QStringLiteral("Database Version");
const QString kResourceLangIdKey = QStringLiteral("IDS_RESOURCE_LANG_ID");

// The version string's parts, or nothing when the key is missing or not a string.
std::optional<QStringList> shortVersionParts()
{
    if (!hasMainBundle())
        return std::nullopt;
    const PlistValue value = Bundle::main().objectForInfoDictionaryKey(kShortVersionKey);
    if (!value.isString())
        return std::nullopt;
    return value.toString().split(QLatin1Char('.'));
}

// The leading integer of a text, as the platform's integer reading of a string does (0 when none).
int leadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');
    int64_t value = 0;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9') && value < INT32_MAX)
        value = value * 10 + text.at(i++).digitValue();
    return static_cast<int>(negative ? -value : value);
}

} // namespace

int getSystemVersion()
{
    return kSystemVersionNumber;
}

QString getCurrentPLVersion()
{
    const auto parts = shortVersionParts();
    if (!parts)
        return QStringLiteral("");
    if (parts->size() == 1)
        return parts->at(0) + QStringLiteral(".0");
    return parts->at(0) + QLatin1Char('.') + parts->at(1);
}

QString getProductVersion()
{
    const auto parts = shortVersionParts();
    if (!parts)
        return QString();
    if (parts->size() == 1)
        return parts->at(0).isEmpty() ? QStringLiteral("") : QLatin1Char('V') + parts->at(0);
    if (parts->size() == 2)
        return QLatin1Char('V') + parts->at(0) + parts->at(1);
    return QLatin1Char('V') + parts->at(0) + parts->at(1) + QLatin1Char('L') + parts->at(2);
}

int64_t getDatabaseVersion()
{
    const PlistValue value = Bundle::main().objectForInfoDictionaryKey(kDatabaseVersionKey);
    return value.isNumber() ? value.toInteger(1) : 1;
}

int getDefaultDisplayMode()
{
    if (!hasMainBundle())
        return kDisplayModeAllColumns;
    const int id = Bundle::main().hasLocalizedString(kResourceLangIdKey) ? leadingInteger(getLocalString(kResourceLangIdKey)) : 0;
    return (id == 11 || id == 19 || id == 33) ? kDisplayModeAllColumns : kDisplayModeWithoutReadings;
}

bool checkSortDescriptors(const QString& sortKey, int displayMask)
{
    if (sortKey.isEmpty())
        return false;
    if (sortKey == QLatin1String("full_Name_Kana") && !(displayMask & kDisplayModeFullNameKanaBit))
        return false;
    if (sortKey == QLatin1String("company_Kana") && !(displayMask & kDisplayModeCompanyKanaBit))
        return false;
    return true;
}
