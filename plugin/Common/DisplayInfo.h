// What the service tells about the logged-in user's objects: their labels, used in messages.
#pragma once

#include <QString>

class DisplayInfo {
public:
    QString AccountLabelName;
    QString ContactLabelName;
    QString LeadLabelName;
    QString CampaignLabelName;
};
