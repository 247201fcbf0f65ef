#include "platform/appkit/QuitKeys.h"

QList<QKeySequence> quitKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (keys.isEmpty())
        keys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return keys;
}
