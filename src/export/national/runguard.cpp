#include "export/national/runguard.h"

namespace nationalrun {

namespace {
bool running = false;
}

bool active()
{
    return running;
}

Guard::Guard()
{
    if (!running)
        running = held_ = true;
}

Guard::~Guard()
{
    if (held_)
        running = false;
}

}  // namespace nationalrun
