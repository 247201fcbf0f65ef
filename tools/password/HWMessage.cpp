#include "tools/password/HWMessage.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FormatString.h"
#include "tools/dbtools/ToolMessages.h"

namespace {
constexpr int kMsgNoQuestionText = 2;
}

int HWMessage::ShowHWErrorMessage(int number, const QVariantList& args)
{
    ToolMessages::showError(number, ToolVariant::Harnwick, args);
    return 1;
}

int HWMessage::ShowHWInfoMessage(const QString& key, int defaultButton, int alternateButton,
                                 const QString& otherButton, const QVariantList& args)
{
    const QString text = key.isNull() || !Bundle::main().hasLocalizedString(key) ? QString()
                                                                                 : DbToolCommon::getLocalString(key);
    if (text.isEmpty()) {
        // Nobody was asked, so nothing may go ahead as if the answer had been yes.
        ShowHWErrorMessage(kMsgNoQuestionText);
        return 0;
    }
    QStringList buttons{ToolMessages::defaultButtonTitle(defaultButton), ToolMessages::alternateButtonTitle(alternateButton)};
    if (!otherButton.isEmpty())
        buttons.append(otherButton);
    return ToolMessages::ask(formatString(text, args), buttons) == 1 ? 1 : 0;
}
