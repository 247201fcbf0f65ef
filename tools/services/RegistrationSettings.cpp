#include "tools/services/RegistrationSettings.h"

#include <cmath>
#include <optional>

namespace {

// The whole part of a number value within 0..100; negative and fractional values are cut
// toward zero first, so -0.5 counts as 0 while -1 is out of range.
std::optional<unsigned> settingInRange(const PlistValue& value)
{
    if (!value.isNumber())
        return std::nullopt;
    const double whole = value.type() == PlistValue::Type::Real ? std::trunc(value.toReal())
                                                                 : static_cast<double>(value.toInteger());
    if (!(whole >= 0 && whole <= kMaxRegistSetting))  // also refuses NaN
        return std::nullopt;
    return static_cast<unsigned>(whole);
}

} // namespace

unsigned registDelay(const PlistValue& value)
{
    const auto delay = settingInRange(value);
    return delay && *delay != 0 ? *delay : kDefaultRegistDelay;
}

unsigned registRetryCount(const PlistValue& value)
{
    return settingInRange(value).value_or(kDefaultRegistRetryCount);
}
