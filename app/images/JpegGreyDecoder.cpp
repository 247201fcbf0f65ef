#include "app/images/JpegGreyDecoder.h"

#include "app/images/CardBitmap.h"
#include "platform/pdf/PdfLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <mutex>
#include <vector>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// Card bitmaps of one size follow each other by the hundred: their buffers are kept for the next
// card rather than given back, which spares the page faults of fresh memory and keeps each
// decoding thread from holding freed bitmaps of its own.
constexpr size_t kKeptBuffers = 16;
constexpr size_t kBufferHead = 16; // the buffer's size, ahead of its bytes at the alignment malloc gives

std::mutex g_buffersMutex;
std::vector<unsigned char*> g_keptBuffers;

size_t bufferSize(const unsigned char* buffer)
{
    return *reinterpret_cast<const size_t*>(buffer);
}

unsigned char* takeBuffer(size_t size)
{
    {
        std::lock_guard lock(g_buffersMutex);
        for (auto it = g_keptBuffers.begin(); it != g_keptBuffers.end(); ++it) {
            if (bufferSize(*it) == size) {
                unsigned char* buffer = *it;
                g_keptBuffers.erase(it);
                return buffer;
            }
        }
    }
    auto* buffer = static_cast<unsigned char*>(std::malloc(kBufferHead + size));
    if (buffer)
        *reinterpret_cast<size_t*>(buffer) = size;
    return buffer;
}

void keepBuffer(void* data)
{
    auto* buffer = static_cast<unsigned char*>(data);
    {
        std::lock_guard lock(g_buffersMutex);
        if (g_keptBuffers.size() < kKeptBuffers) {
            g_keptBuffers.push_back(buffer);
            return;
        }
        // Full of another size, the oldest goes: a run of new sizes replaces the kept ones.
        if (bufferSize(g_keptBuffers.front()) != bufferSize(buffer)) {
            std::free(g_keptBuffers.front());
            g_keptBuffers.erase(g_keptBuffers.begin());
            g_keptBuffers.push_back(buffer);
            return;
        }
    }
    std::free(buffer);
}

// A grey image over a kept buffer, which goes back to the kept ones with the image's last copy.
QImage greyImage(int width, int height)
{
    const qsizetype bytesPerLine = (qsizetype(width) + 3) & ~qsizetype(3);
    unsigned char* buffer = takeBuffer(size_t(bytesPerLine) * size_t(height));
    if (!buffer)
        return {};
    return QImage(buffer + kBufferHead, width, height, bytesPerLine, QImage::Format_Grayscale8, keepBuffer, buffer);
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
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = grey->scanLine(int(info->output_scanline));
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
