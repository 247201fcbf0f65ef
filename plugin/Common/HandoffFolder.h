// The folder the host made for one hand-off: it holds the card images named by the card file and
// lies directly beside the card file. It is the only folder the plug-in removes after a run, and
// only when it is exactly that; a path in the card file never chooses what is deleted.
#pragma once

#include "plugin/Common/CardInfo.h"

#include <QString>

#include <memory>
#include <vector>

class HandoffFolder {
public:
    using CardList = std::vector<std::shared_ptr<CardInfo>>;

    // The folder to remove after the run: a real folder (no link) directly inside the card file's
    // folder that holds nothing but plain files named by the cards' images. Empty when the cards
    // name no image, or when their images do not make up such a folder.
    static QString folderToDelete(const QString& cardFilePath, const CardList& cards);
};
