// E-mail and web addresses put back together where the engine broke them, before the lines are
// sorted into fields.
#pragma once

#include <QString>

// A line with its e-mail or web address in the shape of one: "https: //", "https:/Avww." and
// "Avww." give "https://www." and "www."; "www," or "www " before a host gives "www."; a blank the
// engine put after a dot or around "@" inside the address goes ("x.co. jp", "a @ x.jp"); a host
// whose last dot was lost ("x-chozaijp", "xcojp") gets it back. Other lines stay as they are.
QString withWebAddressShape(const QString& line);

// A web address whose host was cut or misread at its end ("www.hika", "x.co.jpo") or cut before a
// hyphen ("hoken.jp"), where the e-mail address's domain on the same card agrees with what is left,
// takes that domain; any other web address stays as it is.
QString webAddressByMailDomain(const QString& url, const QString& email);
