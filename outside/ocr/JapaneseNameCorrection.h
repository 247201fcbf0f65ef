// A Japanese name whose kanji the engine misread (菅→官, 志→忘), put right by the name's printed
// reading: the furigana over it or the romanised name, checked against the person-name entries of
// MeCab's IPA dictionary.
#pragma once

#include <QString>
#include <QStringList>

// `name` as read ("官原 誠"), `furigana` the printed reading ("すがわら まこと", may be empty) and
// `otherLines` the card's other lines, among them perhaps the romanised name ("SUGAWARA Makoto").
// A part whose kanji lack the printed reading becomes the one dictionary entry of that reading and
// length sharing the most characters with it; Latin scraps after the name ("岡部 28") go when the
// romanised name is printed apart. Unchanged when nothing is sure.
QString correctedJapaneseName(const QString& name, const QString& furigana, const QStringList& otherLines);
