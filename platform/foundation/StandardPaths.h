// The per-user folders of the freedesktop layout, read from the environment at each call
// so that tests can point them at temporary folders.
#pragma once

#include <QString>

QString userHomeDir();
QString userConfigDir();   // $XDG_CONFIG_HOME, else ~/.config
QString userDataDir();     // $XDG_DATA_HOME, else ~/.local/share
QString userDocumentsDir(); // $XDG_DOCUMENTS_DIR, else ~/Documents
// $XDG_RUNTIME_DIR when it is a folder of this user closed to others (empty when it is not), else
// a private folder under the temporary folder (empty when that one is taken by someone else).
QString userRuntimeDir();
// A private (0700) per-user folder for temporary files, created on first use; empty on failure.
QString privateTempDir();
