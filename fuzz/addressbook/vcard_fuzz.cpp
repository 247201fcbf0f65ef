// Feeds arbitrary bytes to the address book's reader, as one file of the folder. Every vCard that
// reads must be written back unchanged when nothing was set; after every managed property was set
// (to fixed awkward text and to text taken from the input itself), what is written must read
// again, as the same number of persons, with the values that were set, and the check a save makes
// before it writes must agree.
#include "platform/addressbook/ABPerson.h"

#include <cstdint>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "round trip: %s\n", why);
    std::abort();
}

// The value a single property is set to: what a card might hold, the input's own text included.
QString valueFor(int property, const QString& fromInput)
{
    const QString text = property % 2 ? fromInput : QStringLiteral("v;,\\\r\n:\"") + QString::number(property);
    return text.trimmed().isEmpty() ? QStringLiteral("x") : text;
}

void checkRoundTrip(const QByteArray& bytes, const QString& fromInput)
{
    std::unique_ptr<ABPerson> person = ABPerson::fromData(QStringLiteral("f.vcf"), bytes, nullptr);
    if (!person)
        return;
    if (person->vcardData() != bytes)
        fail("an unchanged person is not written back byte for byte");
    for (int p = 0; p < kABSingleValueCount; ++p)
        person->setValue(valueFor(p, fromInput), ABProperty(p));
    for (int p = kABPhoneProperty; p <= kABAddressProperty; ++p) {
        ABMultiValue values = person->multiValueForProperty(ABProperty(p));
        values.insertEntry({kABWorkLabel, QStringLiteral("x,y"), {{kABAddressCityKey, QStringLiteral("c;d")}}, nullptr}, 0);
        values.addValue(fromInput.isEmpty() ? QStringLiteral("z") : fromInput, QStringLiteral("custom label"));
        person->setMultiValue(values, ABProperty(p));
    }
    const QByteArray written = person->vcardData();
    std::unique_ptr<ABPerson> again = ABPerson::fromData(QStringLiteral("f.vcf"), written, nullptr);
    if (!again)
        fail("what was written does not read");
    if (!person->readBack(written, nullptr))
        fail("the check before a write refuses what reads back as set");
    if (splitVCardFile(written).size() != 1)
        fail("one person was written as several");
    // The fixed values come back as they were set, their line breaks as line feeds.
    for (int p = 0; p < kABSingleValueCount; p += 2) {
        if (again->valueForProperty(ABProperty(p)) != vcardTextAsWritten(valueFor(p, fromInput)))
            fail("a value set is not read back");
    }
    for (int p = kABPhoneProperty; p <= kABAddressProperty; ++p) {
        const ABMultiValue values = again->multiValueForProperty(ABProperty(p));
        const ABMultiValueEntry& first = values.entryAtIndex(0);
        if (values.count() != person->multiValueForProperty(ABProperty(p)).count() || first.label != kABWorkLabel
            || (p == kABAddressProperty ? first.address.value(kABAddressCityKey) != QStringLiteral("c;d")
                                        : first.value != QStringLiteral("x,y")))
            fail("a list of values set is not read back");
    }
    // What was read back is written and read once more to the same values.
    std::unique_ptr<ABPerson> third = ABPerson::fromData(QStringLiteral("f.vcf"), again->vcardData(), nullptr);
    if (!third || third->vcardData() != again->vcardData())
        fail("what was read back is not written back byte for byte");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString fromInput = QString::fromUtf8(bytes.left(48));
    for (const QByteArray& piece : splitVCardFile(bytes))
        checkRoundTrip(piece, fromInput);
    return 0;
}
