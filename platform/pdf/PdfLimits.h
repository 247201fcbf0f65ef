// How much a reader of PDFs from outside may decode. Card files come from anyone: a few hundred
// bytes can inflate to gigabytes or nest without end, so every decoding stops at a ceiling and a
// file that needs more is refused as damaged.
#pragma once

#include <cstddef>

// One stream's decoded data, and one 32-bit bitmap made from a page or an image: a postcard-sized
// card (105 x 148 mm) scanned at 600 dpi fits.
inline constexpr std::size_t kMaxPdfDecodedBytes = std::size_t(48) << 20;
// A page's content, all its streams together. Its operators and operands take far more memory
// than its text, and a card's page draws a few images with a few dozen operators.
inline constexpr std::size_t kMaxPdfContentBytes = std::size_t(256) << 10;
