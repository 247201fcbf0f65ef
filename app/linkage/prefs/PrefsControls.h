// Controls of the preferences window and its sheets: titled by their localisation key, named by
// their outlet, with the title as accessible name.
#pragma once

#include "app/core/LocalString.h"

#include <QCheckBox>
#include <QPushButton>

template <typename Control>
Control* makeTitledControl(QWidget* parent, const char* outlet, const char* titleKey)
{
    auto* control = new Control(getLocalString(QString::fromLatin1(titleKey)), parent);
    control->setObjectName(QString::fromLatin1(outlet));
    control->setAccessibleName(control->text());
    return control;
}

// A box the user cannot switch off: it turns itself back on.
inline void keepChecked(QCheckBox* box)
{
    QObject::connect(box, &QCheckBox::toggled, box, [box](bool on) {
        if (!on)
            box->setChecked(true);
    });
}
