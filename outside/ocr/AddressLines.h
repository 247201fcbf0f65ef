// The shapes of addresses and postal codes as cards print them, for finding an address in a line
// the engine read across columns or with its postal mark misread.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where a Japanese address begins in a line: a prefecture followed by a city, ward, county, town
// or village, or a city, ward or county followed by block numbers, after whatever the engine read
// into the line before it ("KATO Mariko 960-8031 福島県…"). `postalCode` is the code read in the
// text before the address ("〒1 04-0061", "020.0021", "7320-0033"), empty when there is none.
struct JapaneseAddressStart {
    qsizetype at = -1;
    QString postalCode;
    QString before; // what precedes the address, less its postal code
    QString address; // the address, without what the engine read into its line after it
};
JapaneseAddressStart findJapaneseAddress(const QString& line);

// A Japanese postal code whose 〒 the engine read as a 7 or a 1 ("7030-0801", "Q 7060-0807" with
// the mark read twice): the code without it, else empty. Japanese telephone numbers start with 0
// or a country code, never so.
QString postalCodeWithMarkMisread(const QString& number);

// A Japanese address and its postal code with the place of the code as the postal code directory
// spells it: where the address begins with that place but for a few characters the engine misread
// ("埼玉県秩父郡長洛町長洛1417" of 369-1305), those characters are put right; what the card prints
// besides (a street name before the district, 大字) stays. A code one digit off ("339-9301") whose
// place the address spells exactly, where the code read stands for no place or for one in another
// municipality, is put right too.
struct JapaneseAddressPlace {
    QString address;
    QString postalCode;
};
using PlacesOfPostalCode = std::function<QStringList(const QString& sevenDigits)>;
JapaneseAddressPlace withPostalCodePlace(const QString& address, const QString& postalCode, const PlacesOfPostalCode& placesOf);

// A building's own line below a Japanese address, named in Latin letters or katakana and ending in
// its floor or room: "theSOHO 1104", "ミオスビルA棟3F", "COCON 4階". Kanji lines (departments,
// titles) and lines of several numbers (telephone, fax) are not.
bool isLatinOrKatakanaBuildingLine(const QString& line);

// A Japanese address whose building, named after its place, has a character the engine took for
// one of like shape ("烏丸通…\nCOCON鳥丸4F"): that character as the place line spells it; a floor
// whose 5 was read as an S ("銀座センタービルSF") as 5F; "ピル" as ビル, "第ニ" and "第-" as 第二 and 第一;
// a floor's 階 read as another kanji ("ビル25随") as 階; a numeral read twice ("第二ニ"), a kanji
// scrap before 号室 and a mark inside a katakana name dropped.
QString withBuildingSpelledAsPlace(const QString& address);

// A UK or US town line whose postal code the engine misread in ways the code's shape undoes
// ("Cardiff CF10 IBY", "London SWIE 5LB", "Leeds Ls1 SJL", "Boston, MA02199", "Houston, Tx 77002"),
// with the code put back in its shape; any other line as it is.
QString withTownLinePostcode(const QString& line);
