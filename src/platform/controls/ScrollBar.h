#pragma once

#include <QScrollBar>
#include <functional>

namespace platform {

// A scroll bar with the old semantics: Value, Min, Max, SmallChange, LargeChange, and a change
// notification both when the user moves the bar and when the program sets its value (the argument says
// which). Plain int range. Setting a value outside Min..Max fails with 380 "Invalid property value".
class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Value() const { return value(); }
    void setValue(int v);
    int Min() const { return minimum(); }
    void setMin(int v) { setMinimum(v); }
    int Max() const { return maximum(); }
    void setMax(int v) { setMaximum(v); }
    int SmallChange() const { return singleStep(); }
    void setSmallChange(int v) { setSingleStep(v); }
    int LargeChange() const { return pageStep(); }
    void setLargeChange(int v) { setPageStep(v); }
    void Refresh() { update(); }

    // Change: runs at once on every change of the value; byUser is false when the program set it.
    void onChange(std::function<void(bool byUser)> handler) { change_ = std::move(handler); }
    // Scroll: the user drags the thumb.
    void onScroll(std::function<void()> handler) { scroll_ = std::move(handler); }

signals:
    void changed(bool byUser);

private:
    std::function<void(bool)> change_;
    std::function<void()> scroll_;
    bool programSet_ = false;
};

}  // namespace platform
