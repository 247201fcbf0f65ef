// The system version number every version test compares: (major div 10) * 0x1000 +
// (major mod 10) * 0x100 + minor * 0x10 + patch. This port always takes the newest branch.
#pragma once

constexpr int kSystemVersionNumber = 0x1080;
