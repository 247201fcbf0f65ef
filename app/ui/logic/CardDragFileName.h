// The name of the PDF a single card is handed out as when it is dragged out of the card list.
#pragma once

#include <QString>

inline constexpr int kDragNameMaxCharacters = 30;

// "<company>_<full name>.pdf", either alone when the other is blank, `noName` when both are; each
// part cut to its first 30 characters (a character outside the basic plane counts once and is
// never split) and the whole made safe as one file name.
QString cardDragFileName(const QString& company, const QString& fullName, const QString& noName);
