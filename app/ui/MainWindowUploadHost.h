// The main window's side of the upload command: its window and processing sheet, the selected
// cards and the open database's folder. Owned by the main window controller.
#pragma once

#include "app/linkage/PLUploadHost.h"

class OpenDatabase;
class PLMainWindowController;

class MainWindowUploadHost : public PLUploadHost {
public:
    MainWindowUploadHost(PLMainWindowController& window, const OpenDatabase& database) : m_window(window), m_database(database) {}

    QWidget* window() const override;
    bool RunIndicator(const QString& title, const QString& message) override;
    void StopIndicator() override;
    QList<CardDict> getSeleteRecords() override;
    QString databaseFolder() const override;

private:
    PLMainWindowController& m_window;
    const OpenDatabase& m_database;
};
