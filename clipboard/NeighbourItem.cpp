#include "clipboard/NeighbourItem.h"

#include <optional>
#include <string>

#include "clipboard/AnsiText.h"
#include "clipboard/ClipWriter.h"
#include "clipboard/NeighbourBalloon.h"
#include "clipboard/StepBalloon.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/SqlException.h"
#include "store/Utf8Text.h"

namespace {
constexpr int kBalloonOffset = 20;

// The item's text as written: the side table's, else its Unicode block, else its ANSI text.
std::string itemText(const history::Neighbour& found) {
    if (found.unicodeText) return *found.unicodeText;
    if (found.type == UnicodeText) return found.data ? utf8::fromUtf16Block(*found.data) : std::string();
    return utf8FromAnsi(found.text, CP_ACP);
}

// Near the caret of the program in front; where it shows none, near the mouse pointer.
POINT balloonPosition() {
    POINT point = {};
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(0, &info) && info.hwndCaret) {
        point = {info.rcCaret.left, info.rcCaret.top};
        ClientToScreen(info.hwndCaret, &point);
    } else {
        GetCursorPos(&point);
    }
    return {point.x + kBalloonOffset, point.y + kBalloonOffset};
}
}  // namespace

NeighbourItem::NeighbourItem(int& lastId, StepBalloon& tooltip, ClipboardChanges& changes, ReportError report)
    : lastId_(lastId), tooltip_(tooltip), changes_(changes), report_(std::move(report)) {}

void NeighbourItem::CopyNeighbourItem(bool older) {
    std::optional<history::Neighbour> found;
    try {
        found = history::neighbour(lastId_, older ? history::Direction::Older : history::Direction::Newer);
    } catch (const SqlException&) {
        return;  // a step that cannot read its row does nothing
    }
    if (!found) return;
    const int id = found->id;
    const std::string text = neighbourBalloonText(found->type, itemText(*found));
    PutRecordOnClipboard(id, changes_, report_);
    lastId_ = id;
    showBalloon(text.c_str());
}

void NeighbourItem::showBalloon(const char* text) {
    const POINT at = balloonPosition();
    tooltip_.showAt(text, at.x, at.y);
    SetTimer(window_, kHideTimer, kHideAfterMs, nullptr);
}

bool NeighbourItem::OnTimer(UINT_PTR id) {
    if (id != kHideTimer) return false;
    tooltip_.hide();
    KillTimer(window_, kHideTimer);
    return true;
}
