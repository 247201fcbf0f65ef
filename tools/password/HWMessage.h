// The password tool's numbered alerts ("IDS_MSG_ERR_%03d") and its question.
#pragma once

#include <QString>
#include <QVariantList>

class HWMessage {
public:
    // Shows message `number` filled with `args`; answers 1 once it was dismissed.
    static int ShowHWErrorMessage(int number, const QVariantList& args = {});
    // Asks the question of localisation key `key` with the buttons of the codes `defaultButton` and
    // `alternateButton` and a third titled `otherButton` (none when empty); 1 for the default button,
    // 0 otherwise. A question without text shows message 2 and counts as the alternate answer.
    static int ShowHWInfoMessage(const QString& key, int defaultButton, int alternateButton,
                                 const QString& otherButton, const QVariantList& args = {});
};
