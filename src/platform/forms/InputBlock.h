#pragma once

#include <QObject>

namespace platform {

// While one lives, the program's windows take no input: no click, key, shortcut or wheel, and no close box.
// Events the program posts itself (repaints, deferred deletes) still run. Hold it only around work that
// waits for nobody: a message box shown meanwhile could not be answered.
class InputBlock : public QObject {
public:
    InputBlock();
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace platform
