// What a binary property list would grow to once read. Its objects can be referred to more than
// once, and the reader copies an object for every reference: a file of a few hundred bytes can
// stand for billions of nodes. This walks the object table once, sharing included, and answers
// whether the read tree stays within fixed limits.
#pragma once

#include <QByteArray>

namespace BinaryPlistBounds {

constexpr quint64 kMaxNodes = 200000;
constexpr int kMaxDepth = 256;
constexpr quint64 kMaxBytes = quint64(64) << 20; // of strings and data, summed over the read tree

// True when `bytes` is a well-formed binary property list whose read tree stays within the limits.
bool withinBounds(const QByteArray& bytes);

} // namespace BinaryPlistBounds
