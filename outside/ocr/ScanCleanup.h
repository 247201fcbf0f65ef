// Clean-up of a scanned card before recognition: grey levels stretched so that the paper is white
// and the ink black, the card turned straight when it lay askew on the glass, and the scanner bed
// that shows dark round a skewed or small card made white.
#pragma once

#include <memory>

struct Pix;

struct PixDeleter {
    void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// A cleaned copy of an 8-bit grey card image of the same size; `degrees` receives the angle
// (clockwise) by which it was turned straight, 0 when it lay straight. nullptr when out of memory.
PixPtr cleanScan(Pix* grey, float* degrees);

// A cleaned card set in columns turned straight by the lean of its columns, however small; `degrees`
// receives the angle (clockwise). nullptr when the columns stand upright or their lean is unsure:
// the vertical model misreads a leaning column, and a long row at its foot leaning with it is cut.
PixPtr columnsStraightened(Pix* clean, float* degrees);

// A box (inclusive, top-left origin) of an image of `width` x `height` turned by `degrees`, as it
// lies in the image before the turn.
void unturnBox(int width, int height, float degrees, int* left, int* top, int* right, int* bottom);
