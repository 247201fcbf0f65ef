// The shapes of addresses and postal codes as cards print them, for finding an address in a line
// the engine read across columns or with its postal mark misread.
#pragma once

#include <QString>

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

// A Japanese postal code whose 〒 the engine read as a 7 or a 1 ("7030-0801"): the code without
// it, else empty. Japanese telephone numbers start with 0 or a country code, never so.
QString postalCodeWithMarkMisread(const QString& number);

// A UK or US town line whose postal code the engine misread in ways the code's shape undoes
// ("Cardiff CF10 IBY", "London SWIE 5LB", "Leeds Ls1 SJL", "Boston, MA02199", "Houston, Tx 77002"),
// with the code put back in its shape; any other line as it is.
QString withTownLinePostcode(const QString& line);
