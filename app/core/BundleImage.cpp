#include "app/core/BundleImage.h"

#include "platform/foundation/Bundle.h"

QIcon bundleImage(const QString& name)
{
    const QString path = Bundle::main().pathForImageResource(name);
    return path.isEmpty() ? QIcon() : QIcon(path);
}
