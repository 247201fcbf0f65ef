#include "app/export/TiffPackBits.h"

#include <tiffio.h>

#include <cstring>

namespace {

// libtiff writes through these callbacks into a growing byte array.
struct Sink {
    QByteArray bytes;
    toff_t position = 0;
};

tsize_t sinkRead(thandle_t, tdata_t, tsize_t) { return 0; }

tsize_t sinkWrite(thandle_t handle, tdata_t data, tsize_t size)
{
    Sink* sink = static_cast<Sink*>(handle);
    const qsizetype end = static_cast<qsizetype>(sink->position) + size;
    if (end > sink->bytes.size())
        sink->bytes.resize(end);
    std::memcpy(sink->bytes.data() + sink->position, data, static_cast<size_t>(size));
    sink->position = static_cast<toff_t>(end);
    return size;
}

toff_t sinkSeek(thandle_t handle, toff_t offset, int whence)
{
    Sink* sink = static_cast<Sink*>(handle);
    if (whence == SEEK_SET)
        sink->position = offset;
    else if (whence == SEEK_CUR)
        sink->position += offset;
    else
        sink->position = static_cast<toff_t>(sink->bytes.size()) + offset;
    return sink->position;
}

int sinkClose(thandle_t) { return 0; }

toff_t sinkSize(thandle_t handle) { return static_cast<toff_t>(static_cast<Sink*>(handle)->bytes.size()); }

int sinkMap(thandle_t, tdata_t*, toff_t*) { return 0; }

void sinkUnmap(thandle_t, tdata_t, toff_t) {}

} // namespace

QByteArray encodeTiffPackBits(const QImage& source)
{
    if (source.isNull())
        return QByteArray();
    QImage image;
    int samples = 1;
    int bits = 8;
    int photometric = PHOTOMETRIC_MINISBLACK;
    if (source.depth() == 1) {
        image = source.convertToFormat(QImage::Format_Mono);
        bits = 1;
        // Format_Mono's bit 1 is colour index 1; black first in the table means 1 is white.
        photometric = qGray(image.color(0)) < 128 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE;
    } else if (source.isGrayscale()) {
        image = source.convertToFormat(QImage::Format_Grayscale8);
    } else {
        image = source.convertToFormat(QImage::Format_RGB888);
        samples = 3;
        photometric = PHOTOMETRIC_RGB;
    }
    Sink sink;
    TIFF* tiff = TIFFClientOpen("picture", "w", &sink, sinkRead, sinkWrite, sinkSeek, sinkClose, sinkSize, sinkMap, sinkUnmap);
    if (!tiff)
        return QByteArray();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(image.dotsPerMeterX() * 0.0254));
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(image.dotsPerMeterY() * 0.0254));
    }
    bool ok = true;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = TIFFWriteScanline(tiff, const_cast<uchar*>(image.constScanLine(y)), static_cast<uint32_t>(y), 0) == 1;
    TIFFClose(tiff);
    return ok ? sink.bytes : QByteArray();
}
