// Small functions the plug-in's classes share: its own string table, text helpers, SOQL escaping,
// file helpers, alerts and window placement.
#pragma once

#include "plugin/Common/CardInfo.h"

#include <QString>
#include <QStringList>

class QWidget;

class CommonFuc {
public:
    // The text of `key` in the plug-in's own "Localizable" table (not the host's); the key itself
    // when it has no text; the empty string when the plug-in's resources cannot be found.
    static QString GetLocalStringWithKey(const QString& key);
    // The resource folder of the plug-in's bundle: found beside the loaded module unless set.
    static QString bundleResourcePath();
    static void setBundleResourcePath(const QString& path);

    static bool ISNilOrEmpty(const QString& text) { return text.isEmpty(); }
    // The part after the only "@"; the address unchanged when it has none or several.
    static QString GetDomain(const QString& address);
    // First name, with the middle name after a blank when there is one.
    static QString GetFirstName(const CardInfo& card);
    static bool StrCompare(const QString& a, const QString& b, bool ignoreCase);
    // The texts of the keys joined by the separator "LTL99016"; keys without text are left out.
    static QString SpliceWarnMsg(const QStringList& keys);
    static QString ConvertDoubleQuote(const QString& text);
    // Text placed inside a quoted SOQL literal: backslashes doubled, apostrophes, line ends and tabs
    // escaped. The text reaches the service as it stands ("%" included).
    static QString ConvertSpecialCharInSOQL(const QString& text);
    // The same for the text of a LIKE pattern, whose "%" and "_" are matched as themselves.
    static QString ConvertSpecialCharInSOQLLike(const QString& text);

    // True when nothing is at `path` afterwards; a folder goes with its contents, links are not followed.
    static bool DeleteFileAtPath(const QString& path);
    static bool CreatePath(const QString& path);

    // An alert headed "Pelmora" with the message shown as it stands, attached to `window` when
    // there is one; returns when the user has closed it. `title` is not shown.
    static void ShowQDLAlertMSG(const QString& title, const QString& message, QWidget* window);
    // Centres `window` on `host` (on the screen when there is none) and brings it to the front.
    static void ShowWindowCenter(QWidget* window, QWidget* host);
};
