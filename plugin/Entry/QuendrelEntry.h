/*
 * The entry of the upload plug-in Quendrel, shared by the host (Pelmora) and the plug-in.
 *
 * The plug-in is the shared module "Bundles/Quendrel.bundle/Contents/Linux/libQuendrel.so" beside
 * the host's program, with its "Contents/Info.plist" and its string tables under
 * "Contents/Resources". The host loads it with dlopen(RTLD_NOW | RTLD_LOCAL), finds the symbol
 * QUENDREL_ENTRY_SYMBOL with dlsym and calls it on its main thread, inside its running
 * QApplication: host and plug-in link the same Qt libraries and share that one application object,
 * so the plug-in's windows are ordinary windows of the host's process.
 *
 * Only C types cross this boundary:
 *   settingsOnly  non-zero: show only the account settings window; pathOfXML is not looked at.
 *   pathOfXML     the card file to upload, as the file system's bytes of its path
 *                 (QFile::encodeName on the host's side), NUL-terminated; NULL counts as empty.
 *   inputWinObj   the host's main window as a QWidget*, passed as an opaque pointer; may be NULL.
 *                 The plug-in centres its windows on it and attaches its alerts to it.
 *   outputCSV     non-zero: write the result file for the host when the result window closes.
 *
 * The call runs the plug-in's windows modally and returns when they are closed. Its result is the
 * plug-in's return code (0 when the flow ended normally; 1000001 no card file path; 1000002 no
 * file at the path; other codes tell the last failure of the run). Every call is independent: the
 * plug-in keeps no state of one call for the next, and nothing of a call runs on after it returns,
 * so the host may dlclose the module between calls (the module is linked not to be unloaded by it:
 * the keychain library under it cannot be loaded a second time into one process).
 *
 * After an upload call the plug-in removes the folder of card images that the host made for the
 * hand-off, when it lies directly beside the card file and holds only the images the card file
 * names; it never removes the card file itself.
 */
#ifndef QUENDREL_ENTRY_H
#define QUENDREL_ENTRY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QUENDREL_ENTRY_SYMBOL "StartQDL"

typedef int32_t (*QuendrelStartQDLFunction)(int settingsOnly, const char* pathOfXML, void* inputWinObj, int outputCSV);

__attribute__((visibility("default"))) int32_t StartQDL(int settingsOnly, const char* pathOfXML, void* inputWinObj,
    int outputCSV);

#ifdef __cplusplus
}
#endif

#endif
