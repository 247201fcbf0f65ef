#include "outside/ocr/SpacedDashes.h"

#include <algorithm>

namespace {

bool isDashAlone(const RecognizedLine& line)
{
    const QString t = line.text.trimmed();
    return t.size() == 1 && (t == u"-" || t == u"–" || t == u"—" || t == u"−" || t == u"~");
}

// The piece of a row on one side of a dash: on its row (the dash's middle within its height) and
// beside it within two of its heights.
const RecognizedLine* pieceBeside(const std::vector<RecognizedLine>& lines, const RecognizedLine& dash, bool left)
{
    const int middle = (dash.top + dash.bottom) / 2;
    const RecognizedLine* best = nullptr;
    for (const RecognizedLine& l : lines) {
        const int h = l.bottom - l.top;
        if (&l == &dash || isDashAlone(l) || l.text.trimmed().isEmpty() || middle <= l.top || middle >= l.bottom
            || (dash.bottom - dash.top) * 3 > h)
            continue;
        const int gap = left ? dash.left - l.right : l.left - dash.right;
        if (gap < 0 || gap > 2 * h)
            continue;
        const int bestGap = best ? (left ? dash.left - best->right : best->left - dash.right) : 0;
        if (!best || gap < bestGap)
            best = &l;
    }
    return best;
}

} // namespace

std::vector<RecognizedLine> withRowsJoinedAtDashes(const std::vector<RecognizedLine>& lines)
{
    std::vector<RecognizedLine> out = lines;
    for (size_t i = 0; i < out.size();) {
        const RecognizedLine* left = isDashAlone(out[i]) ? pieceBeside(out, out[i], true) : nullptr;
        const RecognizedLine* right = left ? pieceBeside(out, out[i], false) : nullptr;
        if (!right) {
            ++i;
            continue;
        }
        RecognizedLine joined{left->text.trimmed() + QStringLiteral(" – ") + right->text.trimmed(), left->left,
                              std::min(left->top, right->top), right->right, std::max(left->bottom, right->bottom),
                              std::min(left->confidence, right->confidence)};
        const auto at = [&out](const RecognizedLine* l) { return l - out.data(); };
        const qsizetype leftAt = at(left), rightAt = at(right), dashAt = qsizetype(i);
        out[size_t(leftAt)] = joined;
        for (qsizetype gone : {std::max(rightAt, dashAt), std::min(rightAt, dashAt)})
            out.erase(out.begin() + gone);
        i = 0;
    }
    return out;
}
