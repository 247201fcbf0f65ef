// The controls of a window that a user can reach (by focus, or by dropping onto them) but that
// assistive technology would announce without a name: no accessible name, no label, or only "?".
#pragma once

#include <QStringList>

class QWidget;

// One entry per such control: its object name, else its class name.
QStringList controlsWithoutName(const QWidget* root);
