// The bits of an item mask: which card items an export writes. The same layout serves the
// "Export items" preference, the upload mask and the packages for linked applications.
#pragma once

#include <cstdint>

namespace exportitem {
inline constexpr uint32_t kFullName = 0x1;
inline constexpr uint32_t kNameReading = 0x2;
inline constexpr uint32_t kCompany = 0x4;
inline constexpr uint32_t kCompanyReading = 0x8;
inline constexpr uint32_t kDepartment = 0x10;
inline constexpr uint32_t kJobTitle = 0x20;
inline constexpr uint32_t kPostalCode = 0x40;
inline constexpr uint32_t kAddress = 0x80;
inline constexpr uint32_t kCountry = 0x100;
inline constexpr uint32_t kTelephone = 0x200;
inline constexpr uint32_t kFax = 0x400;
inline constexpr uint32_t kMobile = 0x800;
inline constexpr uint32_t kEmail = 0x1000;
inline constexpr uint32_t kWebPage = 0x2000;
inline constexpr uint32_t kMemo = 0x4000;
inline constexpr uint32_t kRegisterDate = 0x8000;
inline constexpr uint32_t kImages = 0x10000;
// Every item, images included: what the packages for linked applications carry.
inline constexpr uint32_t kAll = 0x1FFFF;
} // namespace exportitem
