// Dashes of numbers set upright in a column of vertical writing. A dash set in a column turns to
// stand along it, a plain stroke the vertical models read as a 1 ("烏丸通5128" for 5-28); a 1 has a
// flag or a foot its stroke juts out of.
#pragma once

#include <QString>

struct Pix;

// `text`, the vertical model's reading of the column in the box (inclusive bounds) of an 8-bit
// image, with each 1 (or I, l, |) between two digits made a dash where its character in the ink is
// a plain stroke along the column. The characters of a run of digits are found as the narrow cells
// the column's ink is cut into; a run whose cells cannot be told apart is left as read. A run read
// with a 1 too many or without a mark for a dash is laid over its cells from its end.
QString withDashesOfTheirShape(Pix* pix, int left, int top, int right, int bottom, const QString& text);
