// The help book: HTML pages in the main application's resource folder, in the folder that its
// Info.plist names with "CFBundleHelpBookName". An anchor is the name of one page; the empty
// anchor is the start page "index.html". Every program of the suite opens its pages from there.
#pragma once

#include <QString>

namespace HelpBook {

// Also the answer when the page of an anchor is not in the book: nothing was opened.
inline constexpr int kHelpBookMissing = -43;

// The book's folder inside `mainResources`; empty when the Info.plist there names no book.
QString folder(const QString& mainResources);

// The page of `anchor` in the book of `mainResources`; empty when there is no such page (no
// book, an anchor that is not one plain file name, or a file that is not there).
QString pagePath(const QString& mainResources, const QString& anchor);

// Opens that page in the user's browser: 0, or kHelpBookMissing (logged) when there is no page
// or no browser took it.
int openPage(const QString& mainResources, const QString& anchor);

} // namespace HelpBook
