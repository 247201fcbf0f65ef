// A bounded reader of the marker segments at the head of a JPEG file: frame size, components,
// resolution (JFIF density, else EXIF), the Adobe marker and the first comment.
// It never reads past the bytes it is given, whatever the segment lengths claim.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
    int bitsPerSample = 0;
    bool hasDensity = false; // dots per inch known on both axes
    double xDpi = 0;
    double yDpi = 0;
    bool adobe = false;      // APP14 "Adobe": CMYK samples are stored inverted
    bool hasComment = false; // a comment segment came before the image data
    QByteArray comment;      // its bytes, up to the first zero byte
};

enum class JpegHeaderStatus {
    Complete,      // a frame header was read before the scan data
    NotJpeg,       // the bytes do not begin with the start-of-image marker
    Malformed,     // a segment length below 2 or a segment that runs past the end
    NoFrame,       // the markers ended (end of data, a byte that is not a marker, a scan) before a frame
};

JpegHeaderStatus readJpegHeader(const uint8_t* data, size_t size, JpegHeader& header);
JpegHeaderStatus readJpegHeader(const QByteArray& bytes, JpegHeader& header);
// Reads a file's head by mapping it: no more than the marker segments is touched.
JpegHeaderStatus readJpegHeaderFromFile(const QString& path, JpegHeader& header, bool* readable = nullptr);
