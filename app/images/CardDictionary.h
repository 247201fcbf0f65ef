// One card as a dictionary of the 68 card attribute names, with a default for every value the
// card lacks, so that readers never meet a missing key.
#pragma once

#include "app/images/CardRecord.h"

#include <QStringList>

// The keys in the order they are set.
const QStringList& cardDictionaryKeys();

// "" for a missing value, except "accept_Date" (the time of the call) and "face_Image_Page" and
// "back_Image_page" (the 16-bit number 0).
CardDict setDataDictToDict(const CardRecord& card);
