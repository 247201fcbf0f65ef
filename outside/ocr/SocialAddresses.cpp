#include "outside/ocr/SocialAddresses.h"

#include <QRegularExpression>

bool isSocialNetworkAddress(const QString& url)
{
    static const QRegularExpression social(
        QStringLiteral(R"(^(?:https?:/*)?(?:[a-z]{2,3}\.|m\.)?(?:linkedin\.com|lnkd\.in|x\.com|twitter\.com|instagram\.com|instagr\.am|)"
                       R"(facebook\.com|fb\.com|fb\.me|youtube\.com|youtu\.be|tiktok\.com|github\.com|gitlab\.com|xing\.com|)"
                       R"(pinterest\.[a-z.]+|behance\.net|dribbble\.com|medium\.com|threads\.net|t\.me|wa\.me|weibo\.com|vk\.com|)"
                       R"(ok\.ru|line\.me|mastodon\.social|bsky\.app)(?:[/:]|$))"),
        QRegularExpression::CaseInsensitiveOption);
    return social.match(url.trimmed()).hasMatch();
}

bool isSocialHandleLine(const QString& line)
{
    // What an icon or a network's name leaves before the handle: "in", "IG:", "X", "© ".
    static const QRegularExpression handle(
        QStringLiteral(
            R"(^(?:[^\p{L}\p{N}\s]{1,3}\s*)?(?:(?:in|li|ig|fb|tw|x|twitter|instagram|linkedin|facebook|github|xing)\s*[:|]?\s*)?)"
            R"((?:@[A-Za-z0-9_.]{2,30}|/?in/[A-Za-z0-9_%\-]{2,60}/?)$)"),
        QRegularExpression::CaseInsensitiveOption);
    return handle.match(line.trimmed()).hasMatch();
}
