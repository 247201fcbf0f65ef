// The plug-in's help pages are pages of the host's help book: the host's resources lie in the
// staged tree that holds this bundle's "Bundles" folder.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace PluginHelp {

// The host's resource folder, found from this bundle's own resources.
QString hostResources();
// Opens the page of `anchor`; 0, or the help book's failure answer.
int LocateHelpPageByAnchor(const QString& anchor);
// A window's help button: a click logs `clickLine`, opens `anchor`, and logs `failureLine` when
// the page could not be opened (the user sees nothing more).
QPushButton* helpButton(QWidget* window, const char* anchor, const char* clickLine, const char* failureLine);

}
