#include "platform/controls/BusyCursor.h"

#include "platform/seam/Seam.h"

namespace platform {

namespace {
int count = 0;
}

int busyCount()
{
    return count;
}

void SetBusyCursor(int mode)
{
    if (mode == vbHourglass) {
        ++count;
        seam().SetMousePointer(vbHourglass);
    } else if (mode == vbDefault) {
        if (count > 0)
            --count;
        if (count == 0)
            seam().SetMousePointer(vbDefault);
    } else {
        seam().SetMousePointer(mode);
    }
}

}  // namespace platform
