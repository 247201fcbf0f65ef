// The two settings of the registration run, read from the tool's Info.plist. Only number
// values count; anything else, and a number outside the accepted range, takes the default.
#pragma once

#include "platform/foundation/PlistValue.h"

inline constexpr char kRegistDelayKey[] = "PLRegistDelay";
inline constexpr char kRegistRetryCountKey[] = "PLRegistRetryCount";
inline constexpr unsigned kDefaultRegistDelay = 5;       // seconds, accepted 1 to 100
inline constexpr unsigned kDefaultRegistRetryCount = 1;  // accepted 0 to 100
inline constexpr unsigned kMaxRegistSetting = 100;

// Pause in seconds before each repeated registration.
unsigned registDelay(const PlistValue& value);
// Number of registrations after the first one.
unsigned registRetryCount(const PlistValue& value);
