#include "app/ui/logic/PhotoApplications.h"

namespace PhotoApplications {

Choice detect(bool autoRegister, int state, bool photosInstalled, bool iphotoInstalled)
{
    Choice choice{0, state, autoRegister};
    if (choice.state == 0 && choice.autoRegister)
        choice.state = 2;
    if (!photosInstalled && !iphotoInstalled)
        return Choice{};
    if (photosInstalled) {
        choice.installed += 2;
    } else if (choice.state == 0 || choice.state == 1) {
        choice.state = 2;
        choice.autoRegister = false;
    }
    if (iphotoInstalled) {
        choice.installed += 1;
    } else if (choice.state == 0 || choice.state == 2) {
        choice.state = 1;
        choice.autoRegister = false;
    }
    if (photosInstalled && iphotoInstalled && choice.state == 0)
        choice.state = 1;
    return choice;
}

} // namespace PhotoApplications
