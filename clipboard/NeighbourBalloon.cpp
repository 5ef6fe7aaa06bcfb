#include "clipboard/NeighbourBalloon.h"

#include "store/ClipRecord.h"
#include "store/Utf8Text.h"

#include <utility>

namespace {
constexpr char kHeader[] =
    "\tYarrowkit has copied the next item to the clipboard: \t\n\t=-=-=-=-=-=-=-=-=-=-=-=-==-=-=-=-=-=-= \n";
constexpr char kImageNote[] = "\n\t\tThis item contains Image\t\t\n\n";
constexpr char kTruncatedNote[] = "\n ...[text is truncated]";
constexpr std::size_t kLongestText = 1000;
}  // namespace

std::string neighbourBalloonText(int type, const std::string& body) {
    std::string text = kHeader;
    text += type == Bitmap ? std::string(kImageNote) : body;
    // Counted in characters, so that a text in any script shows as much as a Latin one.
    return utf8::cutAtBlank(std::move(text), kLongestText, kTruncatedNote);
}
