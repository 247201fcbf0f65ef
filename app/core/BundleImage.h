// Images of the application's resources by the names the code gives them.
#pragma once

#include <QIcon>
#include <QString>

// The named image of the main bundle: the file of that name, else the drawing delivered under
// the same name with the form this platform draws from (see Bundle::pathForImageResource); an
// empty icon when neither is there.
QIcon bundleImage(const QString& name);
