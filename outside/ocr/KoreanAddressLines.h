// A Korean address as the engine reads it, put back as printed: what a label or a logo left before
// it, a province or metropolitan city a syllable off, and the floor whose "층" the engine misread.
#pragma once

#include <QString>

// A line of a Korean card with a province or metropolitan city the engine read a syllable or two
// off spelled as it is named ("서움득별시" -> "서울특별시"), and a district it ran into the road
// after it set apart ("영도구태종로" -> "영도구 태종로").
QString withKoreanPlaceNames(const QString& text);

// The address (its lines joined into one) without a scrap before its postal code or its city, its
// province or metropolitan city spelled as it is named, and its floor ending in "층".
QString koreanAddressAsPrinted(const QString& address);

// The five-digit postal code an address starts with in brackets ("(06236) 서울특별시 …"); empty when
// it starts otherwise.
QString koreanPostalCodeOf(const QString& address);
