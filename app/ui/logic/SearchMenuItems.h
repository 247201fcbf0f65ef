// The items of the search field's menu for a display mask of the card list's columns: "all"
// first (tag 16, checked), then one item per shown column in a fixed order.
#pragma once

#include <QList>

namespace SearchMenuItems {

struct Entry {
    const char* titleKey;
    int tag;
    bool checked;
};
inline constexpr int kAllTag = 16;

QList<Entry> creatSearchMenu(int displayMask);

} // namespace SearchMenuItems
