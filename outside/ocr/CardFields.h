// Sorting the recognised lines of a card into the result fields by plain rules: e-mail and web
// addresses, telephone, fax and mobile numbers by their labels, postal codes, addresses, company
// legal forms, department and title words; the name is the most prominent line left.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <vector>

struct RecognizedLine {
    QString text;
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive, top-left origin
    int confidence = 100; // the engine's for the line, 0..100
};

struct SlotFill {
    QString text;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool filled = false;
};

using ResultSlots = std::array<SlotFill, 61>;

// Slots of the result record that the field rules fill one by one.
constexpr size_t kNameSlot = 0;
constexpr size_t kNameReadingSlot = 5;
constexpr size_t kTitleSlot = 10;
constexpr size_t kPostalCodeSlot = 19;
constexpr size_t kAddressSlot = 21;
constexpr size_t kCompanySlot = 35;
constexpr size_t kCompanyReadingSlot = 36;
constexpr size_t kDepartmentSlot = 37;

// Tesseract puts spaces between Japanese characters; they are dropped, and the line trimmed.
QString cleanRecognizedText(const QString& text);

// The length of the family name a Japanese personal name without blanks starts with, 0 when the
// text is no personal name.
using FamilyNameLength = std::function<int(const QString&)>;

// The dictionary's reading of a Japanese personal name in katakana, empty when it has none.
using NameReadingOf = std::function<QString(const QString&)>;

// The fields of a whole card; `familyNameLength`, when given, tells Japanese names from other
// short Japanese lines and splits them; `readingOf` tells printed furigana from a katakana title.
ResultSlots classifyCardLines(const std::vector<RecognizedLine>& lines, const FamilyNameLength& familyNameLength = {},
                              const NameReadingOf& readingOf = {});
// The value of one field read from a box drawn round it: the part of the box's text that has the
// field's shape (the address of an e-mail box, the number of a telephone box, the postal code of a
// postal code box), without the label and the scraps of neighbouring lines the box takes in; the
// largest, surest line of a name, company, title or department box; the address's lines; the
// whole text of a memo box.
ResultSlots fieldTagSlots(const std::vector<RecognizedLine>& lines, int tag);

// The e-mail address of a text as printed, empty when it holds none.
QString mailAddressIn(const QString& text);
// The web address of a text, one of a social network only when it holds no other (`social` says
// which it is); empty when it holds none.
QString webAddressIn(const QString& text, bool* social);
// The postal code of a text: Japanese, of the Latin forms, or a code alone on its line.
QString postalCodeIn(const QString& text);

// The 'PLDA' record of the fields: texts cut to 131 UTF-16 units (never inside a surrogate pair).
QByteArray encodeResultSlots(const ResultSlots& fields);
