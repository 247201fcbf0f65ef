// Mapping of the OCR result slots into card fields, and the clearing and copying of field tags.
#include "app/images/PLRegController.h"

#include "app/core/RectString.h"
#include "app/core/StringUtilities.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardTextRules.h"
#include "app/images/LatinAddressShape.h"
#include "app/images/SeparationLibrary.h"
#include "outside/separation/PLSeparation.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Log.h"

#include <QRegularExpression>

#include <array>
#include <vector>

using namespace cardkey;

namespace {

const QString kZeroRect = QStringLiteral("0/0/0/0");

struct TagField {
    int tag;
    const QString* textKey;
    int maxUnits;
};

const std::array<TagField, 12> kTagFields = {{
    {21, &kFullName, 64},
    {22, &kJobTitle, 128},
    {23, &kTelephone, 32},
    {24, &kFax, 32},
    {25, &kPostalCode, 32},
    {26, &kAddress, 128},
    {27, &kEmail, 128},
    {29, &kWebPage, 128},
    {30, &kCompany, 128},
    {31, &kDepartment, 128},
    {32, &kMemo, 128},
    {33, &kMobile, 32},
}};

const TagField* fieldOfTag(int tag)
{
    for (const TagField& f : kTagFields) {
        if (f.tag == tag)
            return &f;
    }
    return nullptr;
}

bool isResult(const QByteArray* result) { return result && size_t(result->size()) >= ocr::kResultSize; }

// Cuts to at most `units` UTF-16 units without leaving half a surrogate pair at the end.
QString cutUnits(const QString& text, int units)
{
    if (text.size() <= units)
        return text;
    QString cut = text.left(units);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

QString stringValue(const CardDict& dict, const QString& key) { return dict.value(key).toString(); }

// "BS1 4RN" and "bs14rn" are one postcode.
QString lettersAndDigits(const QString& text)
{
    static const QRegularExpression other(QStringLiteral("[^\\p{L}\\p{N}]"));
    return QString(text).remove(other).toUpper();
}

// A western address read with a misread postcode or ß gets its printed shape back; the postal code
// follows the address's when it was not read, or read as part of it ("O15 2AQ" of "SO15 2AQ").
void takeLatinAddressShape(CardDict* dict, const QString& read)
{
    const QString shaped = latinAddressInPrintedShape(read);
    dict->insert(kAddress, shaped);
    const QString code = postcodeInAddress(shaped);
    const QString postal = lettersAndDigits(stringValue(*dict, kPostalCode));
    if (code.isEmpty() || postal == lettersAndDigits(code) || !lettersAndDigits(code).endsWith(postal))
        return;
    if (postal.isEmpty())
        dict->insert(kPostalCode + kRectSuffix, dict->value(kAddress + kRectSuffix));
    dict->insert(kPostalCode, code);
}

} // namespace

QString PLRegController::slotText(const QByteArray& result, int slot, int maxUnits)
{
    const auto* base = reinterpret_cast<const uint8_t*>(result.constData()) + size_t(slot) * ocr::kFieldSize
                     + ocr::kFieldTextOffset;
    const int limit = std::min<int>(maxUnits, int(ocr::kFieldTextUnits));
    QString text = QStringLiteral("");
    for (int i = 0; i < limit; ++i) {
        const uint16_t unit = ocr::readU16(base + 2 * i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

QString PLRegController::slotRectString(const QByteArray& result, int slot, int imageHeight)
{
    const auto* field = reinterpret_cast<const uint8_t*>(result.constData()) + size_t(slot) * ocr::kFieldSize;
    const int left = ocr::readU16(field + ocr::kFieldLeftOffset);
    const int top = ocr::readU16(field + ocr::kFieldTopOffset);
    const int right = std::max<int>(left, ocr::readU16(field + ocr::kFieldRightOffset));
    const int bottom = std::max<int>(top, ocr::readU16(field + ocr::kFieldBottomOffset));
    return ConvertRectToString(QRectF(left, imageHeight - bottom, right - left, bottom - top));
}

QStringList PLRegController::keysOfTag(int tag)
{
    switch (tag) {
    case 21:
        return {kFullName, kFullName + kRectSuffix, kFullNameKana, kFirstName, kFirstNameKana, kMiddleName,
                kMiddleNameKana, kFamilyName, kFamilyNameKana, kSuffixName, kSuffixNameKana, kPrefixName,
                kPrefixNameKana};
    case 26:
        return {kAddress, kAddress + kRectSuffix, kState, kStreet, kCity};
    case 30:
        return {kCompany, kCompany + kRectSuffix, kCompanyKana};
    default:
        break;
    }
    const TagField* f = fieldOfTag(tag);
    if (!f)
        return {};
    return {*f->textKey, *f->textKey + kRectSuffix};
}

int PLRegController::setRecognizeStructToDbDict(CardDict* dict, const QByteArray* result, int imageHight,
                                                int regCountry)
{
    if (!dict || !isResult(result))
        return kMissingArgument;
    for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag) {
        if (tag == ocr::kTagMemo)
            continue; // the memo is never filled from a whole-card recognition
        if (const int status = mapTag(dict, *result, imageHight, tag, regCountry))
            return status;
    }
    return 0;
}

int PLRegController::setDetailRecognizeStructToDbDict(CardDict* dict, const QByteArray* result, int viewHight,
                                                      int recognizeType, int regCountry)
{
    if (!dict || !isResult(result))
        return kMissingArgument;
    return mapTag(dict, *result, viewHight, recognizeType, regCountry);
}

int PLRegController::mapTag(CardDict* dict, const QByteArray& result, int imageHeight, int tag, int country)
{
    const TagField* f = fieldOfTag(tag);
    if (!f)
        return 0;
    const int slot = ocr::slotOfTag(tag);
    const QString text = slotText(result, slot, f->maxUnits);
    dict->insert(*f->textKey, text);
    dict->insert(*f->textKey + kRectSuffix, text.isEmpty() ? kZeroRect : slotRectString(result, slot, imageHeight));
    if (tag == 21) {
        const QString reading = slotText(result, ocr::kSlotNameReading, 64);
        dict->insert(kFullNameKana, reading);
        if (const int status = separateNameAndYomi(text, reading, country, dict)) {
            PLNSLog(QStringLiteral("separate name fail :%i"), status);
            return kSeparationFailed;
        }
    } else if (tag == 26) {
        if (languageTypeOfaString(text) == 2)
            takeLatinAddressShape(dict, text);
        if (const int status = separateAddress(dict, country)) {
            PLNSLog(QStringLiteral("separate address fail :%i"), status);
            return kSeparationFailed;
        }
        const QString replacement = slotText(result, ocr::kSlotAddressReplacement, 128);
        if (!replacement.isEmpty())
            dict->insert(kAddress, replacement.trimmed());
    } else if (tag == 30) {
        const bool readingFromSlot = country >= 2 && country <= 4;
        dict->insert(kCompanyKana, readingFromSlot ? slotText(result, ocr::kSlotCompanyReading, 128) : text);
        if (!text.isEmpty()) {
            if (const int status = separateComYomi(text, dict, country)) {
                PLNSLog(QStringLiteral("separate company name fail :%i"), status);
                return kSeparationFailed;
            }
        }
    }
    return 0;
}

int PLRegController::separateNameAndYomi(const QString& name, const QString& yomi, int country, CardDict* dict)
{
    if (name.isNull() || yomi.isNull() || !dict)
        return kMissingArgument;
    const bool chinese = country == 2 || country == 3;

    const NameWords n = splitNameWords(name);
    if (languageTypeOfaString(name) == 2) {
        dict->insert(kFirstName, n.first);
        if (n.words.size() >= 3)
            dict->insert(kMiddleName, n.middle);
        if (n.words.size() >= 2)
            dict->insert(kFamilyName, n.last);
    } else if (n.words.size() >= 2) {
        dict->insert(kFamilyName, n.words.at(0));
        dict->insert(kFirstName, n.words.at(1));
    } else {
        dict->insert(kFamilyName, name);
    }

    const NameWords r = splitNameWords(yomi);
    if (languageTypeOfaString(yomi) == 2) {
        if (r.words.size() >= 3 && !chinese) {
            dict->insert(kFirstNameKana, r.first);
            dict->insert(kMiddleNameKana, r.middle);
            dict->insert(kFamilyNameKana, r.last);
        } else if (r.words.size() >= 3) {
            // One reading word per character of the family name; a family name at least as long as
            // the reading keeps one word for the first name.
            const qsizetype familyChars = stringValue(*dict, kFamilyName).size();
            if (familyChars > 0) {
                const qsizetype k = std::min<qsizetype>(familyChars, r.words.size() - 1);
                QString family;
                for (qsizetype i = 0; i < k; ++i)
                    family += r.words.at(i) + u' ';
                const QString trimmedReading = trimmedOrSelf(yomi);
                dict->insert(kFamilyNameKana, family.trimmed());
                dict->insert(kFirstNameKana, trimmedReading.mid(family.size()).trimmed());
            }
        } else if (r.words.size() == 2) {
            dict->insert(chinese ? kFamilyNameKana : kFirstNameKana, r.words.at(0));
            dict->insert(chinese ? kFirstNameKana : kFamilyNameKana, r.words.at(1));
        } else {
            dict->insert(kFirstNameKana, r.first);
        }
    } else if (r.words.size() >= 2) {
        dict->insert(kFamilyNameKana, r.words.at(0));
        dict->insert(kFirstNameKana, r.words.at(1));
    } else {
        dict->insert(kFamilyNameKana, yomi);
    }

    if (country != kLanguageEnglish || !stringValue(*dict, kFamilyName).isEmpty())
        return 0;
    SeparationLibrary library(SeparationLibrary::EnglishName);
    if (const int status = library.open())
        return status;
    std::array<uint16_t, PL_NAME_BUFFER_UNITS> buffer{};
    const QString cut = cutUnits(name, PL_NAME_BUFFER_UNITS - 1);
    std::copy(cut.utf16(), cut.utf16() + cut.size(), buffer.begin());
    std::array<int16_t, 2 * PL_NAME_PART_COUNT> parts;
    parts.fill(-1);
    bool separated = name.size() >= 2
                  && reinterpret_cast<PLEngNameSepaFunc>(library.entry())(buffer.data(), parts.data()) == 0;
    // A library's index pairs are checked before any text is cut with them.
    for (int p = 0; separated && p < PL_NAME_PART_COUNT; ++p) {
        const int first = parts[2 * p];
        const int last = parts[2 * p + 1];
        if (first != -1 && (first < 0 || last < first || last >= cut.size()))
            separated = false;
    }
    if (!separated) {
        dict->insert(kFirstName, name);
        dict->insert(kFirstNameKana, name);
        return 0;
    }
    const std::array<std::pair<int, const QString*>, 5> order = {{
        {PL_NAME_PREFIX, &kPrefixName},
        {PL_NAME_SUFFIX, &kSuffixName},
        {PL_NAME_FIRST, &kFirstName},
        {PL_NAME_MIDDLE, &kMiddleName},
        {PL_NAME_FAMILY, &kFamilyName},
    }};
    for (const auto& [part, key] : order) {
        const int first = parts[2 * part];
        if (first == -1)
            continue;
        const QString text = cut.mid(first, parts[2 * part + 1] - first + 1);
        dict->insert(*key, text);
        dict->insert(*key + kReadingSuffix, text);
    }
    return 0;
}

int PLRegController::separateComYomi(const QString& company, CardDict* dict, int country)
{
    if (company.isNull() || !dict)
        return kMissingArgument;
    if (country != kLanguageJapanese)
        return 0;
    SeparationLibrary library(SeparationLibrary::CompanyReading);
    if (const int status = library.open())
        return status;
    const QByteArray name = company.toUtf8();
    std::vector<char> reading(4096, '\0');
    reinterpret_cast<PLCompanyReadingFunc>(library.entry())(name.constData(), reading.data(), reading.size());
    reading.back() = '\0';
    const QString text = QString::fromUtf8(reading.data());
    if (text.isEmpty())
        dict->remove(kCompanyKana);
    else
        dict->insert(kCompanyKana, cutUnits(text, 128));
    return 0;
}

int PLRegController::separateAddress(CardDict* dict, int country)
{
    if (!dict)
        return kMissingArgument;
    const bool hasAddress = dict->contains(kAddress);
    const QString address = stringValue(*dict, kAddress);
    // Automatic recognition reads with the Japanese and the Latin models only: an East Asian
    // address of a card found to be in another language is Japanese all the same.
    if (country == kLanguageJapanese || (country == kLanguageOther && languageTypeOfaString(address) == 1)) {
        SeparationLibrary library(SeparationLibrary::JapaneseAddress);
        if (const int status = library.open())
            return status;
        if (hasAddress && address.size() >= 2) {
            const QStringList lines = address.split(u'\n');
            const bool whole = lines.size() < 3;
            const QByteArray utf8 = (whole ? address : lines.at(0)).toUtf8();
            // The library may give a dash or a prefecture's mark back: room for a few characters more.
            const size_t capacity = size_t(utf8.size()) + 64;
            std::vector<char> state(capacity), city(capacity), street(capacity);
            const int status = reinterpret_cast<PLSeparateAddressFunc>(library.entry())(
                utf8.constData(), state.data(), capacity, city.data(), capacity, street.data(), capacity);
            if (status == 0) {
                const std::array<std::pair<const QString*, QString>, 3> parts = {{
                    {&kState, QString::fromUtf8(state.data())},
                    {&kCity, QString::fromUtf8(city.data())},
                    {&kStreet, QString::fromUtf8(street.data())},
                }};
                QString joined;
                for (const auto& [key, text] : parts) {
                    if (!text.isEmpty())
                        dict->insert(*key, text);
                    joined += text;
                }
                // Lines the library did not see stay in the address rather than being dropped.
                if (!whole)
                    joined += u'\n' + lines.mid(1).join(u'\n');
                dict->insert(kAddress, joined);
            } else {
                dict->insert(kStreet, address);
            }
        } else if (hasAddress) {
            dict->insert(kStreet, address);
        } else {
            dict->insert(kAddress, QStringLiteral(""));
        }
    } else if ((country >= 1 && country <= 10) || country == kLanguageOther) {
        if (hasAddress) {
            const QStringList lines = address.split(u'\n');
            if (lines.size() < 3) {
                dict->insert(kStreet, address);
                dict->insert(kAddress, StrNullToEmpty(address));
            } else {
                dict->insert(kStreet, lines.at(0));
                dict->insert(kCity, lines.at(1));
                dict->insert(kState, lines.at(2));
                // Lines past the third stay in the address rather than being dropped.
                QStringList ordered = lines;
                if (country >= 2 && country <= 4) {
                    std::reverse(ordered.begin(), ordered.end());
                    dict->insert(kAddress, StrNullToEmpty(ordered.join(QString())));
                } else {
                    dict->insert(kAddress, StrNullToEmpty(ordered.join(u' ')));
                }
            }
        } else {
            dict->insert(kAddress, QStringLiteral(""));
        }
    }
    if (dict->contains(kAddress))
        dict->insert(kAddress, stringByTrimmingCharactersFromEnd(stringValue(*dict, kAddress), QStringLiteral("\n")));
    return 0;
}

int PLRegController::cleanDateToManagedObject(CardRecord* card, int cleanModel)
{
    if (!card)
        return kMissingArgument;
    for (const QString& key : keysOfTag(cleanModel))
        card->setValueForKey(key, QVariant());
    return 0;
}

int PLRegController::setDetailDateDictToManagedObject(CardRecord* card, const CardDict* dict, int type)
{
    if (!card && !dict)
        return kMissingArgument;
    if (!card || !dict)
        return 0;
    for (const QString& key : keysOfTag(type)) {
        const auto it = dict->constFind(key);
        if (it != dict->constEnd() && it->isValid())
            card->setValueForKey(key, *it);
    }
    return 0;
}

int PLRegController::setDataDictToManagedObject(CardRecord* card, const CardDict* dict)
{
    if (!card || !dict)
        return kMissingArgument;
    int status = 0;
    for (int tag = ocr::kTagFirst; tag <= ocr::kTagLast; ++tag)
        status = setDetailDateDictToManagedObject(card, dict, tag);
    return status;
}
