#include "window/one_copy.h"

namespace ww {

bool StartAsOnlyCopy(Instances& instances, Ui& ui) {
    if (instances.ClaimOnlyCopy()) return true;
    ui.MessageBox(kAlreadyRunning, kMbOk | kMbIconAsterisk);
    // After the box: brought forward before it, the running copy would lie under it.
    instances.ShowRunningCopy();
    return false;
}

} // namespace ww
