#include "tools/dbtools/ToolMessages.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FormatString.h"
#include "platform/appkit/MessagePresenter.h"

#include <QApplication>
#include <QWidget>

namespace ToolMessages {

QString errorText(int number, ToolVariant variant, const QVariantList& args)
{
    QString text;
    // The optimisation tool has four-digit keys only; larger numbers (negative ones too) have none.
    const bool hasKey = variant == ToolVariant::Harnwick || static_cast<unsigned>(number) < 10000u;
    if (hasKey) {
        const QString key = variant == ToolVariant::Vostrand
            ? formatText(QStringLiteral("IDS_MSG_ERR_%04d"), number)
            : formatText(QStringLiteral("IDS_MSG_ERR_%03d"), number);
        text = Bundle::main().hasLocalizedString(key) ? DbToolCommon::getLocalString(key) : kNoResourceText;
    }
    if (text.isEmpty()) {
        return variant == ToolVariant::Vostrand ? formatText(QStringLiteral("Undefined Err:%4d"), number)
                                                : formatText(QStringLiteral("Undefined Err:%3d"), number);
    }
    return formatString(text, args);
}

QString showError(int number, ToolVariant variant, const QVariantList& args)
{
    const QString text = errorText(number, variant, args);
    AlertRequest request;
    request.window = keyWindow();
    request.title = DbToolCommon::getLocalString(kWindowTitleKey);
    request.informativeText = text;
    MessagePresenter::current().runModal(request);
    return text;
}

QString defaultButtonTitle(int code)
{
    switch (code) {
    case kButtonYes:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_YES"));
    case kButtonNo:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_NO"));
    default:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_OK"));
    }
}

QString alternateButtonTitle(int code)
{
    switch (code) {
    case kButtonNo:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_NO"));
    case kButtonYes:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_YES"));
    case kButtonOK:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_OK"));
    default:
        return DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_MSG_CANCEL"));
    }
}

int ask(const QString& text, const QStringList& buttons)
{
    AlertRequest request;
    request.window = keyWindow();
    request.title = DbToolCommon::getLocalString(kWindowTitleKey);
    request.informativeText = text;
    request.buttons = buttons;
    request.question = true;
    switch (MessagePresenter::current().runModal(request)) {
    case kAlertFirstButtonReturn:
        return 1;
    case kAlertSecondButtonReturn:
        return 0;
    default:
        return 2;
    }
}

QWidget* keyWindow()
{
    return QApplication::activeWindow();
}

} // namespace ToolMessages
