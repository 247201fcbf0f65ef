// The application's panels: Qt's own file dialogs, so that folders with an extension can be
// picked as one item, and a dialog of radio buttons for a choice. The programs with windows install them at start-up (installDialogServices).
#pragma once

#include "platform/appkit/PanelService.h"

class DialogPanelService : public PanelService {
public:
    QStringList runOpenPanel(const PanelRequest& request) override;
    QString runSavePanel(const PanelRequest& request) override;
    int runChoicePanel(const ChoicePanelRequest& request) override;
};
