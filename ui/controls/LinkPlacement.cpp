#include "ui/controls/LinkPlacement.h"

namespace hyperlink {

Box fittedBox(Box window, int width, int height, Alignment alignment, bool centreVertically) {
    Box box = window;
    if (centreVertically) box.top += (window.height() - height) / 2;
    box.bottom = box.top + height;
    switch (alignment) {
    case Alignment::Centre: box.left += (window.width() - width) / 2; box.right = box.left + width; break;
    case Alignment::Right: box.left = box.right - width; break;
    case Alignment::Left: box.right = box.left + width; break;
    }
    return box;
}

}  // namespace hyperlink
