// The blocks exchanged with the OCR application: request 'PLPA', image description 'PLIN',
// bitmap 'PLIM'; replies 'PLRS' (status), 'PLDA' (61 field slots) and 'PLRO' (orientation).
// Every number is little-endian; every byte not named is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ocr {

constexpr uint32_t fourCC(const char (&code)[5])
{
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 | uint32_t(uint8_t(code[2])) << 8
         | uint32_t(uint8_t(code[3]));
}

constexpr uint32_t kEventClass = fourCC("COCR");
constexpr uint32_t kEventOpen = fourCC("OPEN");
constexpr uint32_t kEventIsOk = fourCC("ISOK");
constexpr uint32_t kEventRun = fourCC("RUNO");
constexpr uint32_t kQuitClass = fourCC("aevt");
constexpr uint32_t kQuitEvent = fourCC("quit");

constexpr uint32_t kKeyStatus = fourCC("PLRS");
constexpr uint32_t kKeyParam = fourCC("PLPA");
constexpr uint32_t kKeyImageInfo = fourCC("PLIN");
constexpr uint32_t kKeyImage = fourCC("PLIM");
constexpr uint32_t kKeyResult = fourCC("PLDA");
constexpr uint32_t kKeyOrientation = fourCC("PLRO");
constexpr uint32_t kKeyUnused = fourCC("xxxx");

// 'PLPA' (RecognizeParam)
constexpr size_t kParamSize = 80;
constexpr size_t kParamTypeOffset = 3;
constexpr size_t kParamLeftOffset = 12;
constexpr size_t kParamTopOffset = 16;
constexpr size_t kParamRightOffset = 20;
constexpr size_t kParamBottomOffset = 24;
constexpr size_t kParamLanguageOffset = 60;

// 'PLIN' (RecognizeImageInfo)
constexpr size_t kImageInfoSize = 24;
constexpr size_t kInfoWidthOffset = 0;
constexpr size_t kInfoHeightOffset = 2;
constexpr size_t kInfoBytesPerRowOffset = 4;
constexpr size_t kInfoFormatOffset = 6;
constexpr uint8_t kInfoFormatValue = 2;
constexpr size_t kInfoVerticalDpiOffset = 8;
constexpr size_t kInfoHorizontalDpiOffset = 10;
constexpr size_t kInfoDataSizeOffset = 12;
constexpr size_t kInfoBitsPerPixelOffset = 16;

// 'PLDA' (RecognizeResult): 61 slots (RecognizeField)
constexpr size_t kFieldSize = 4398;
constexpr size_t kFieldCount = 61;
constexpr size_t kResultSize = kFieldSize * kFieldCount;
constexpr size_t kFieldLeftOffset = 4;
constexpr size_t kFieldTopOffset = 6;
constexpr size_t kFieldRightOffset = 8;
constexpr size_t kFieldBottomOffset = 10;
constexpr size_t kFieldTextOffset = 16;
constexpr size_t kFieldTextUnits = 132; // a 0 unit included

// 'PLRO' (RecognizeOrientation)
constexpr size_t kOrientationSize = 12;
constexpr size_t kOrientationTurnsOffset = 0;
constexpr size_t kOrientationLanguageOffset = 8;
constexpr int32_t kFoundJapanese = 1;
constexpr int32_t kFoundOtherLanguage = 2;
// Offset 1, 8 bits, with kFoundOtherLanguage: which recognition language (2..10) the other language
// is, plus one; 0 when not said (English, or a card in Latin letters of no language told).
constexpr size_t kOrientationFoundOtherOffset = 1;
// Offset 4, 32 bits: the recognition data the reading wanted and did not find, one bit per
// recognition language (1 << 0 Japanese); the card was read without it.
constexpr size_t kOrientationMissingDataOffset = 4;
constexpr int32_t kMissingJapaneseData = 1 << 0;

// Slots read by the application, one per field tag.
enum Slot : int {
    kSlotName = 0,
    kSlotNameReading = 5,
    kSlotJobTitle = 10,
    kSlotTelephone = 13,
    kSlotFax = 16,
    kSlotPostalCode = 19,
    kSlotAddress = 21,
    kSlotAddressReplacement = 22,
    kSlotEmail = 23,
    kSlotWebPage = 27,
    kSlotMobile = 31,
    kSlotMemo = 33,
    kSlotCompany = 35,
    kSlotCompanyReading = 36,
    kSlotDepartment = 37,
};

// Field tags 21 to 33 (28 has no field).
constexpr int kTagFirst = 21;
constexpr int kTagLast = 33;
constexpr int kTagNone = 28;
constexpr int kTagMemo = 32;
// The slot of a field tag, or -1 for 28 and tags outside 21..33.
constexpr int slotOfTag(int tag)
{
    constexpr int kSlots[] = {kSlotName, kSlotJobTitle, kSlotTelephone, kSlotFax, kSlotPostalCode, kSlotAddress,
                             kSlotEmail, -1, kSlotWebPage, kSlotCompany, kSlotDepartment, kSlotMemo, kSlotMobile};
    return tag < kTagFirst || tag > kTagLast ? -1 : kSlots[tag - kTagFirst];
}

// Pixel formats a bitmap may have in 'PLIM': 1 bit with 0 = black, or 8-bit grey.
constexpr uint8_t kBitsMono = 1;
constexpr uint8_t kBitsGrey = 8;

inline uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int32_t readI32(const uint8_t* p) { return int32_t(readU32(p)); }
inline void writeU16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void writeU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
inline void writeI32(uint8_t* p, int32_t v) { writeU32(p, uint32_t(v)); }

} // namespace ocr
