// A Japanese name whose kanji the engine misread (菅→官, 志→忘), put right by the name's printed
// reading: the furigana over it or the romanised name, checked against the person-name entries of
// MeCab's IPA dictionary.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// `name` as read ("官原 誠"), `furigana` the printed reading ("すがわら まこと", may be empty) and
// `otherLines` the card's other lines, among them perhaps the romanised name ("SUGAWARA Makoto").
// A part whose kanji lack the printed reading becomes the one dictionary entry of that reading and
// length sharing the most characters with it; Latin scraps after the name ("岡部 28") go when the
// romanised name is printed apart. Unchanged when nothing is sure.
//
// `inkGain`, when given, tells how much more the printed ink of the name's character at a place
// (counted in the name without blanks) looks like another character than like the one read: a
// kanji the engine cannot read comes out as one of a like shape. With it a part whose kanji lack
// the printed reading may take any entry of that reading the ink looks like, and a part the
// dictionary does not know, printed without a reading, the entry of its kind and length that
// differs in one character the ink looks clearly more like.
using InkGain = std::function<double(qsizetype at, QChar instead)>;
QString correctedJapaneseName(const QString& name, const QString& furigana, const QStringList& otherLines, const InkGain& inkGain = {});
