// TIFF pictures with PackBits compression, the form photo applications take scans in.
#pragma once

#include <QByteArray>
#include <QImage>

// 1-bit images stay bi-level, grey images 8-bit grey, the others RGB; the image's dots per
// metre become the TIFF resolution. Empty on failure.
QByteArray encodeTiffPackBits(const QImage& image);
