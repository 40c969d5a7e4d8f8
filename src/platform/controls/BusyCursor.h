#pragma once

namespace platform {

// The nested busy cursor: 11 raises the nesting count, 0 lowers it (never below 0); the pointer is the
// hourglass while the count is above 0. Any other mode sets the pointer directly and leaves the count.
void SetBusyCursor(int mode);
int busyCount();

// SetBusyCursor 11 now, 0 on every way out.
class BusyCursor {
public:
    BusyCursor() { SetBusyCursor(11); }
    ~BusyCursor() { SetBusyCursor(0); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace platform
