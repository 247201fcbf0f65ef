// Help of the database tools: pages of the main application's help book, found beside the tool.
#pragma once

#include <QString>

namespace HelpPage {

constexpr int kNoHelpBook = -43;

// Opens `anchor` in the help book named by the main application's "CFBundleHelpBookName";
// kNoHelpBook when the main application has none. An empty anchor, or no main application
// beside the tool, opens the tool's own help. `applicationFolder` empty: the tool's own folder.
int LocateHelpPageByAnchor(const QString& anchor, const QString& applicationFolder = QString());

} // namespace HelpPage
