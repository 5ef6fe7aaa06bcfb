#include "clipboard/NeighbourBalloon.h"

#include "store/ClipRecord.h"
#include "store/Utf8Text.h"

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
    const std::size_t limit = utf8::bytesOfChars(text, kLongestText);
    if (limit < text.size()) {
        // The header holds blanks, so a cut is always found.
        text.erase(text.rfind(' ', limit));
        text += kTruncatedNote;
    }
    return text;
}
