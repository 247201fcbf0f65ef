// What the linked-application controller asks of the main window: a window for its messages and
// the processing sheet that runs while cards are exported.
#pragma once

#include <QString>
#include <QWidget>

class PLExtAppWindow {
public:
    virtual ~PLExtAppWindow() = default;
    virtual QWidget* window() const = 0;
    // False when the sheet cannot be shown (another modal window is open).
    virtual bool RunIndicator(const QString& title, const QString& message) = 0;
    virtual void StopIndicator() = 0;
};
