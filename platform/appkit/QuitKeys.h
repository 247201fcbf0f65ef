// The keys that quit the application: the platform's own, else Ctrl+Q, which desktops without
// a binding of their own (and the offscreen platform) leave unset.
#pragma once

#include <QKeySequence>
#include <QList>

QList<QKeySequence> quitKeys();
