// Status codes of the linkage and its files: 0 for success, a negative code otherwise.
#pragma once

namespace linkage {
inline constexpr int kArgument = -1;         // missing argument or root
inline constexpr int kNoPath = -2;           // no path, or not found
inline constexpr int kNotMade = -3;          // an object could not be made
inline constexpr int kException = -4;
inline constexpr int kNoSpace = -1001;
inline constexpr int kMissing = -1002;       // file or folder missing
inline constexpr int kReadFailed = -1003;
inline constexpr int kWriteFailed = -1004;
inline constexpr int kNotWritable = -1005;
inline constexpr int kParseFailed = -2001;   // parsing or serialising failed
inline constexpr int kBlank = -2003;         // required value missing or blank
inline constexpr int kWrongType = -2004;
inline constexpr int kTooLong = -2005;
inline constexpr int kPathTooLong = -2006;   // also: a listed file is missing
inline constexpr int kAppNotFound = -3001;
inline constexpr int kNoList = -3005;
} // namespace linkage
