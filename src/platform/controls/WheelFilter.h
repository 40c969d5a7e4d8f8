#pragma once

#include <QObject>
#include <functional>

namespace platform {

class DBGrid;

// The main grid's mouse wheel: three rows a notch of 120, a remainder carried to the next movement. It
// takes the wheel event, so the view does not scroll a second time, and moves the view without moving
// the current row.
class WheelFilter : public QObject {
public:
    // Scrolls grid (installed on its viewport).
    explicit WheelFilter(DBGrid& grid);
    // Calls scroll(rows) instead: negative rows toward the first row.
    WheelFilter(QObject* target, std::function<void(int rows)> scroll);

    // One wheel movement of delta (positive: away from the user). Returns the rows scrolled.
    int wheel(int delta);
    int remainder() const { return carried_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int)> scroll_;
    int carried_ = 0;
};

}  // namespace platform
