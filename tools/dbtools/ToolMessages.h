// Numbered messages of the database tools. The key of a number is "IDS_MSG_ERR_%04d" in the
// optimisation tool and "IDS_MSG_ERR_%03d" in the password tool; the text is a format filled
// with the arguments that follow the number.
#pragma once

#include "tools/dbtools/DbToolCommon.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class QWidget;

namespace ToolMessages {

inline const QString kWindowTitleKey = QStringLiteral("IDS_WINDOW_TITLE");
inline const QString kNoResourceText = QStringLiteral("No Resource");

enum ButtonCode { kButtonOK = 0, kButtonCancel = 1, kButtonYes = 2, kButtonNo = 3 };

// The text shown for message `number` of `variant`.
QString errorText(int number, ToolVariant variant, const QVariantList& args = {});
// Shows message `number` as an alert on the active window; returns the text shown.
QString showError(int number, ToolVariant variant, const QVariantList& args = {});

// Asks `text` with `buttons` (default, alternate, optional third): 1 for the default button,
// 0 for the alternate, 2 for the third.
int ask(const QString& text, const QStringList& buttons);

// The title of a question button: the default button knows only YES and NO (else OK),
// the alternate NO, YES and OK (else CANCEL).
QString defaultButtonTitle(int code);
QString alternateButtonTitle(int code);

// The window a message belongs to: the active window, else none.
QWidget* keyWindow();

} // namespace ToolMessages
