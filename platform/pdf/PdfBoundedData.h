// Stream decoding that stops at a ceiling. Decoding runs twice where the data is kept: once only
// counting, so that a stream past the ceiling is refused before anything is held, then into a
// buffer of the exact size. Private to platform/pdf.
#pragma once

#include <qpdf/QPDFObjectHandle.hh>

#include <cstddef>
#include <string>

// The decoded data of `stream` at `level`. Throws std::length_error when it decodes past
// `limit` bytes, and std::runtime_error when it cannot be decoded at that level.
std::string boundedStreamData(QPDFObjectHandle stream, qpdf_stream_decode_level_e level, std::size_t limit);

// Whether the page's content (a stream or an array of streams) decodes within
// kMaxPdfContentBytes in all.
bool contentWithinCeiling(QPDFObjectHandle contents);

// Whether rendering the page decodes no more than the ceiling allows: its content, and every
// image (declared size and data) and form its resources reach, forms followed to a fixed depth.
bool pageWithinCeiling(QPDFObjectHandle page);
