// Addresses of a person or company on social networks, which cards print beside the web page
// and which are no web page of their own.
#pragma once

#include <QString>

// A web address on a social network: "linkedin.com/in/anna-lopez", "www.x.com/acme",
// "twitter.com/…", "instagram.com/…", "facebook.com/…", "github.com/…", "xing.com/…".
bool isSocialNetworkAddress(const QString& url);

// A line that holds a social-network handle or profile and nothing else a field wants, after an
// icon the engine read as marks: "@anna_lopez", "IG: @acme.studio", "in/anna-lopez", "/in/alopez".
bool isSocialHandleLine(const QString& line);
