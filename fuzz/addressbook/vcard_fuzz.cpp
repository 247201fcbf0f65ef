// Feeds arbitrary bytes to the vCard reader. A file that reads must be written back unchanged
// when nothing was set, and must still read after every managed property was set.
#include "platform/addressbook/ABPerson.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::unique_ptr<ABPerson> person = ABPerson::fromData(QStringLiteral("f.vcf"), bytes, nullptr);
    if (!person)
        return 0;
    if (person->vcardData() != bytes)
        abort();
    for (int p = 0; p < kABSingleValueCount; ++p)
        person->setValue(QStringLiteral("v;,\\\n") + QString::number(p), ABProperty(p));
    for (int p = kABPhoneProperty; p <= kABAddressProperty; ++p) {
        ABMultiValue values = person->multiValueForProperty(ABProperty(p));
        values.insertEntry({kABWorkLabel, QStringLiteral("x,y"), {{kABAddressCityKey, QStringLiteral("c;d")}}, nullptr}, 0);
        values.addValue(QStringLiteral("z"), QStringLiteral("custom label"));
        person->setMultiValue(values, ABProperty(p));
    }
    std::unique_ptr<ABPerson> again = ABPerson::fromData(QStringLiteral("f.vcf"), person->vcardData(), nullptr);
    if (!again || again->valueForProperty(kABNoteProperty) != QStringLiteral("v;,\\\n11"))
        abort();
    return 0;
}
