// A JPEG decoded straight to 8-bit grey, as recognition takes it: the decoder keeps only the
// luminance, so no colour is upsampled, converted or stored on the way.
#pragma once

#include <QImage>

#include <cstddef>

enum class JpegGreyResult {
    Decoded,
    Unsupported, // CMYK or YCCK samples: the caller decodes the colours itself
    Failed, // damaged data, or an image past the decoding ceilings
};

// `bytes` is the whole JPEG stream. Past the ceilings nothing is allocated for the image. The
// image takes its memory from the calling thread's GreyBitmapPool, when one is in use.
JpegGreyResult decodeJpegToGrey(const char* bytes, size_t size, QImage* grey);
