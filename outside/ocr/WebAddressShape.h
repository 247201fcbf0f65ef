// E-mail and web addresses put back together where the engine broke them, before the lines are
// sorted into fields.
#pragma once

#include <QString>

// A line with its e-mail or web address in the shape of one: "https: //", "https:/Avww." and
// "Avww." give "https://www." and "www."; "www," or "www " before a host, "www" run into it and a
// misread "wwwr" or "wwm" give "www."; a blank the engine put after a dot, around "@" or inside the
// host goes ("x.co. jp", "a @ x.jp", "www.hika ri.jp"); a host's last dot read as a blank at the
// line's end comes back ("www.x-moreau. fr", "www.x-engineering com"); "@" read as "⑥" and a comma between labels
// are put back; a host whose ending lost its dots ("x-chozaijp", "x.cojp") gets them back, and one a
// letter off ("x.co.jo", "xJ.jp") its "jp". Other lines stay as they are.
QString withWebAddressShape(const QString& line);

// A web address whose host was cut or misread at its end ("www.hika", "x.co.jpo") or cut inside
// its first label ("hoken.jp" of "hikari-hoken.jp"), where the e-mail address's domain on the same
// card agrees with what is left, takes that domain; so does a host with a character no host has
// ("heide+eisen.eu") one letter off that domain. Any other web address stays as it is.
QString webAddressByMailDomain(const QString& url, const QString& email);
