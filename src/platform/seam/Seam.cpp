#include "platform/seam/QtSeam.h"

namespace platform {

namespace {
Seam* installed = nullptr;
}

Seam& seam()
{
    if (installed)
        return *installed;
    static QtSeam qtSeam;
    return qtSeam;
}

Seam* setSeam(Seam* s)
{
    Seam* previous = installed;
    installed = s;
    return previous;
}

}  // namespace platform
