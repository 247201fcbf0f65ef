// One row of the linked-application list as the linkage menus and the App List page show it.
#pragma once

#include <QIcon>
#include <QString>

struct PLExtAppInfoForm {
    int appType = 0;              // 1 the user's own, 2 registered by a setting plist, 3 the upload plug-in
    QString appID;                // the row's identifier in the linkage preference
    bool hasAppSettings = false;  // the application has a setting program
    bool isSelect = false;        // shown in the linkage menus
    QString appName;              // at most 62 UTF-16 units
    QIcon appIcon;                // 16 by 16 points
    QString appDescription;       // the menu item's tool tip
    QString appLocation;
    int exportFileType = 0;       // kind 1 only: 1 ContactXML, 2 vCard
};
