#pragma once

// Where a link's window goes when it is shrunk to its text: the rectangle keeps the side (or
// the centre) that the control's alignment style anchors.
namespace hyperlink {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

enum class Alignment { Left, Centre, Right };

// `window` shrunk (or grown) to `width` x `height`. Vertically it keeps its top unless
// `centreVertically`; horizontally as `alignment` says.
Box fittedBox(Box window, int width, int height, Alignment alignment, bool centreVertically);

}  // namespace hyperlink
