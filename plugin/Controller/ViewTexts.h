// Texts of the plug-in's windows: localisation keys, formats over them, and alerts.
#pragma once

#include "plugin/Common/CommonFuc.h"
#include "platform/foundation/FormatString.h"

#include <QString>

class QWidget;

namespace ViewTexts {

inline QString text(const char* key)
{
    return CommonFuc::GetLocalStringWithKey(QString::fromLatin1(key));
}

// The text of a key, or the answer itself when it is already a finished text.
inline QString textOrSelf(const QString& keyOrText)
{
    const QString text = CommonFuc::GetLocalStringWithKey(keyOrText);
    return text.isEmpty() ? keyOrText : text;
}

template <typename... Args>
QString format(const char* key, const Args&... args)
{
    return formatText(text(key), args...);
}

// A service label as captions show it: at most 11 characters, then "...".
inline QString shortened(const QString& label)
{
    return label.size() < 12 ? label : label.left(11) + QStringLiteral("...");
}

// An error alert ("LTL99001") or a warning alert ("LTL99002") attached to `window`.
inline void alert(const QString& message, QWidget* window, const char* title = "LTL99001")
{
    CommonFuc::ShowQDLAlertMSG(text(title), message, window);
}

}
