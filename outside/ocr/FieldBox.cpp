// One field read from a box the user drew round it on the card image.
#include "outside/ocr/CardFields.h"
#include "outside/ocr/NumberLabels.h"
#include "platform/events/OcrProtocol.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

int height(const RecognizedLine& l)
{
    return l.bottom - l.top;
}

// The line a person would say the box was drawn round: the largest type, and of lines of about
// that size the one the engine read most surely. A sliver of the line above or below the box takes
// in is cut and small.
const RecognizedLine* mainLine(const std::vector<const RecognizedLine*>& lines)
{
    const RecognizedLine* best = nullptr;
    for (const RecognizedLine* l : lines) {
        if (!best || height(*l) * 10 > height(*best) * 11 || (height(*l) * 11 >= height(*best) * 10 && l->confidence > best->confidence))
            best = l;
    }
    return best;
}

// A number of the kind the box is for: its label says so, else it has none, else any number.
QString numberOfKind(const std::vector<const RecognizedLine*>& lines, NumberKind kind, const RecognizedLine** from)
{
    const auto fits = [kind](NumberKind k, int pass) {
        if (pass == 0)
            return k == kind || (k == NumberKind::TelephoneAndFax && (kind == NumberKind::Telephone || kind == NumberKind::Fax));
        return pass == 2 || k == NumberKind::Unknown;
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (const RecognizedLine* l : lines) {
            for (const NumberOnLine& n : numbersOfLine(l->text)) {
                if (fits(n.kind, pass)) {
                    *from = l;
                    return n.number;
                }
            }
        }
    }
    return {};
}

// The lines of an address box without a label before them and without slivers of the lines
// around it: type much smaller than the address's, or read as marks.
QString addressLines(const std::vector<const RecognizedLine*>& lines, RecognizedLine* box)
{
    static const QRegularExpression label(
        QStringLiteral(
            R"(^\s*(?:address|adresse|anschrift|dirección|direccion|indirizzo|endereço|endereco|адрес|住所|所在地|地址|주소)\s*[:：.]?\s*)"),
        QRegularExpression::CaseInsensitiveOption);
    const RecognizedLine* main = mainLine(lines);
    QStringList kept;
    for (const RecognizedLine* l : lines) {
        const QString text = QString(l->text).remove(label).trimmed();
        const bool letters = std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }) >= 2;
        if (text.isEmpty() || !letters || height(*l) * 10 < height(*main) * 6)
            continue;
        if (kept.isEmpty()) {
            *box = *l;
        } else {
            box->left = std::min(box->left, l->left);
            box->top = std::min(box->top, l->top);
            box->right = std::max(box->right, l->right);
            box->bottom = std::max(box->bottom, l->bottom);
        }
        kept << text;
    }
    return kept.join(u'\n');
}

} // namespace

ResultSlots fieldTagSlots(const std::vector<RecognizedLine>& lines, int tag)
{
    ResultSlots fields{};
    const int slot = ocr::slotOfTag(tag);
    std::vector<const RecognizedLine*> read;
    for (const RecognizedLine& line : lines) {
        if (!line.text.trimmed().isEmpty())
            read.push_back(&line);
    }
    if (slot < 0 || read.empty())
        return fields;
    const RecognizedLine* from = nullptr;
    QString value;
    // The first line holding a value of the field's shape.
    const auto shaped = [&](const auto& valueIn) {
        for (const RecognizedLine* l : read) {
            if (const QString v = valueIn(l->text); !v.isEmpty()) {
                from = l;
                return v;
            }
        }
        return QString();
    };
    RecognizedLine address;
    switch (tag) {
    case 23: value = numberOfKind(read, NumberKind::Telephone, &from); break;
    case 24: value = numberOfKind(read, NumberKind::Fax, &from); break;
    case 33: value = numberOfKind(read, NumberKind::Mobile, &from); break;
    case 25: value = shaped(postalCodeIn); break;
    case 27: value = shaped(mailAddressIn); break;
    case 29: {
        // A web box round a social network's address and the web page takes the web page.
        bool social = true;
        for (const RecognizedLine* l : read) {
            bool network = false;
            if (const QString url = webAddressIn(l->text, &network); !url.isEmpty() && (value.isEmpty() || (social && !network))) {
                value = url;
                social = network;
                from = l;
            }
        }
        break;
    }
    case 26:
        value = addressLines(read, &address);
        if (!value.isEmpty())
            from = &address;
        break;
    case 32: {
        QStringList all;
        for (const RecognizedLine* l : read)
            all << l->text;
        value = all.join(u' ');
        address = *read.front();
        for (const RecognizedLine* l : read) {
            address.left = std::min(address.left, l->left);
            address.top = std::min(address.top, l->top);
            address.right = std::max(address.right, l->right);
            address.bottom = std::max(address.bottom, l->bottom);
        }
        from = &address;
        break;
    }
    default: break;
    }
    // Nothing of the field's shape, or a name, company, title or department box: its main line.
    if (!from) {
        from = mainLine(read);
        static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]+|[^\p{L}\p{N}.)）]+$)"));
        value = QString(from->text).remove(marks).trimmed();
    }
    fields[size_t(slot)] = {value, from->left, from->top, from->right, from->bottom, true};
    return fields;
}
