// Controls of the preferences window and its sheets: titled by their localisation key, named by
// their outlet, with the title as accessible name; images of the application's resources; help
// buttons that open their page of the help book; the strips the App List page's buttons sit on.
#pragma once

#include "app/core/ApplicationLookup.h"
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "platform/foundation/Bundle.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
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

// An image of the application's resources; an empty icon when it is not delivered.
inline QIcon resourceImage(const char* name)
{
    const QString path = Bundle::main().pathForImageResource(QString::fromLatin1(name));
    return !path.isEmpty() && QFile::exists(path) ? QIcon(path) : QIcon();
}

// A strip of buttons, `Strip` a PLAppListBtnView, with its end caps set and an empty row layout
// for the buttons it carries.
template <typename Strip>
Strip* makeButtonStrip(QWidget* parent, const char* outlet)
{
    auto* strip = new Strip(parent);
    strip->setObjectName(QString::fromLatin1(outlet));
    const auto image = [](const char* name) { return QPixmap(Bundle::main().pathForImageResource(QString::fromLatin1(name))); };
    strip->setImgCenter(image("FlatMiddlecap.tiff"), image("FlatRightcap.tiff"));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    return strip;
}

// A Help button that opens `anchor` in the help book; message 3 when the book cannot show it.
inline QPushButton* makeHelpButton(QWidget* parent, const char* outlet, const char* anchor)
{
    QPushButton* help = makeTitledControl<QPushButton>(parent, outlet, "IDS_HELP");
    const QString page = QString::fromLatin1(anchor);
    QObject::connect(help, &QPushButton::clicked, help, [page] {
        if (LocateHelpPageByAnchor(page) != 0)
            PLMessage::ShowPLErrorMessage(3);
    });
    return help;
}
