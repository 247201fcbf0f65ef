// The lines of Russian addresses as the engine misreads their abbreviations and house numbers.
#pragma once

#include <QString>

// A Russian address line with its marks as printed: "б-р" (boulevard) read with a six or a Latin p
// ("6-р Гагарина", "6-p"), the blank after an abbreviation before its number lost ("д.11", "стр.1",
// "оф.2"), a house number 11 read as the letter п after its abbreviation ("д. п"), and a zero of
// the postal code opening a line read as the letter o ("42o111, г. Казань"), "д." read as "4." and
// "корп." as "кори.", "ул." as the Latin "yn.", and a round pin before the line read as the letter o.
QString withCyrillicAddressMarks(const QString& address);
