// Help of the database tools: pages of the main application's help book, found beside the tool.
#pragma once

#include "platform/workspace/HelpBook.h"

#include <QString>

namespace HelpPage {

constexpr int kNoHelpBook = HelpBook::kHelpBookMissing;

// Opens the page of `anchor` (the start page for an empty one) in the help book of the main
// application beside the tool: 0, or kNoHelpBook (logged) when there is no main application, it
// names no book, or the book lacks the page.
int LocateHelpPageByAnchor(const QString& anchor);

// The folder that holds the tool and the main application, in place of the tool's own folder
// (tests point it at the staged application folder); empty restores the tool's own.
void setApplicationFolder(const QString& folder);

} // namespace HelpPage
