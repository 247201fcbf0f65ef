// Which way a card's text runs, told from its ink alone: when the engine's layout runs the
// characters of neighbouring columns together into made-up lines across, the lines it reports say
// nothing, but the characters themselves still stand closer along their columns than across them.
#pragma once

struct Pix;

// Whether the ink of a cleaned 8-bit card image runs down the card in columns more than across it
// in rows: the characters, smeared half their size along and then across, join into bands; the
// bands along the card against those across, each weighed by its area. Solid bands (a coloured
// stripe, a rule) are no text.
bool inkRunsInColumns(Pix* pix);
