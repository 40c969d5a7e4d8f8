#pragma once

// One national or lookup run at a time, program-wide. The runs let window events in while they work and the
// two national wizards rebuild one work table in the main database, so a second "Next >>" or "Create" that
// arrives meanwhile starts nothing.
namespace nationalrun {

// A run is under way.
bool active();

// Holds the run for its lifetime; check held(): false when another run already held it.
class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    bool held() const { return held_; }

private:
    bool held_ = false;
};

}  // namespace nationalrun
