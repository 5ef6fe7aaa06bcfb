#pragma once
#include <string>

// Where a next/previous step shows the item it copied: a balloon near the caret, hidden again
// by the step's timer. The selection window's tooltip serves as one.
class StepBalloon {
public:
    virtual ~StepBalloon() = default;
    // Shows `text` (UTF-8) with the balloon's top-left corner at the screen point (x, y).
    virtual void showAt(const std::string& text, int x, int y) = 0;
    virtual void hide() = 0;
};
