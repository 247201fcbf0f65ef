// The application's presenter: QMessageBox, window-modal for a sheet. The programs with windows
// install it at start-up (installDialogServices).
#pragma once

#include "platform/appkit/MessagePresenter.h"

class DialogMessagePresenter : public MessagePresenter {
public:
    int runModal(const AlertRequest& request) override;
    void beginSheet(const AlertRequest& request, Completion done) override;
};
