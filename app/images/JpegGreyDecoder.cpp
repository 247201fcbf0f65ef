#include "app/images/JpegGreyDecoder.h"

#include "app/images/CardBitmap.h"
#include "app/images/GreyBitmapPool.h"
#include "platform/pdf/PdfLimits.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// The bitmap of a recognition run over one of the run's buffers; elsewhere an image of its own.
QImage greyImage(int width, int height)
{
    if (GreyBitmapPool* pool = GreyBitmapPool::current())
        return pool->greyImage(width, height);
    return QImage(width, height, QImage::Format_Grayscale8);
}

[[noreturn]] void leaveOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (a truncated scan, a bad marker past the image) are not worth a line on stderr.
void ignoreMessage(j_common_ptr, int)
{
}

// Plain C data only between setjmp and longjmp: nothing with a destructor lives in this frame.
JpegGreyResult decodeInto(jpeg_decompress_struct* info, ErrorManager* errors, const unsigned char* bytes, unsigned long size, QImage* grey)
{
    if (setjmp(errors->jump))
        return JpegGreyResult::Failed;
    jpeg_create_decompress(info);
    // The decoder's own buffers stay within the ceiling of any decoding of card files.
    info->mem->max_memory_to_use = long(kMaxPdfDecodedBytes);
    jpeg_mem_src(info, bytes, size);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return JpegGreyResult::Failed;
    if (info->jpeg_color_space != JCS_GRAYSCALE && info->jpeg_color_space != JCS_YCbCr && info->jpeg_color_space != JCS_RGB)
        return JpegGreyResult::Unsupported;
    const qint64 pixels = qint64(info->image_width) * info->image_height;
    if (pixels <= 0 || pixels > kMaxCardBitmapPixels || pixels * 4 > qint64(kMaxPdfDecodedBytes))
        return JpegGreyResult::Failed;
    info->out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(info);
    if (info->output_components != 1)
        return JpegGreyResult::Failed;
    *grey = greyImage(int(info->output_width), int(info->output_height));
    if (grey->isNull())
        return JpegGreyResult::Failed;
    uchar* const first = grey->bits();
    const qsizetype bytesPerLine = grey->bytesPerLine();
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = first + qsizetype(info->output_scanline) * bytesPerLine;
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return JpegGreyResult::Decoded;
}

} // namespace

JpegGreyResult decodeJpegToGrey(const char* bytes, size_t size, QImage* grey)
{
    *grey = QImage();
    if (!bytes || size == 0 || size > kMaxPdfDecodedBytes)
        return JpegGreyResult::Failed;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveOnError;
    errors.base.emit_message = ignoreMessage;
    const JpegGreyResult result =
        decodeInto(&info, &errors, reinterpret_cast<const unsigned char*>(bytes), static_cast<unsigned long>(size), grey);
    jpeg_destroy_decompress(&info);
    if (result != JpegGreyResult::Decoded)
        *grey = QImage();
    return result;
}
