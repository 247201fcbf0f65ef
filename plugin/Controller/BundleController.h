// The plug-in's principal class: one per call of the entry. It reads the preferences and the card
// file, runs the window flow, removes the hand-off folder, logs out and answers the return code.
#pragma once

#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/MainViewController.h"
#include "plugin/Controller/PluginWindows.h"

#include <QString>

#include <memory>

class QWidget;

class BundleController {
public:
    BundleController() : _mainViewController(m_global) {}

    // settingsOnly: show the account settings alone and ignore the path.
    int StartQDL(bool settingsOnly, const QString& pathOfXML, QWidget* inputWinObj, bool outputCSV);

    GlobalData& globalData() { return m_global; }
    // The windows of the running call; none outside a call.
    PluginWindows* windows() { return m_windows.get(); }
    MainViewController& mainViewController() { return _mainViewController; }

private:
    QString handoffFolderToDelete() const;

    GlobalData m_global;
    MainViewController _mainViewController;
    std::unique_ptr<PluginWindows> m_windows;
};
