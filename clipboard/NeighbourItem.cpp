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

namespace {
constexpr int kBalloonOffset = 20;

std::string unicodeToAnsi(const std::optional<std::string>& block) {
    if (!block || block->size() < sizeof(wchar_t)) return {};
    const auto* text = reinterpret_cast<const wchar_t*>(block->data());
    return ansiFromUtf16(text, wcsnlen(text, block->size() / sizeof(wchar_t)));
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

NeighbourItem::NeighbourItem(int& lastId, StepBalloon& tooltip, ReportError report)
    : lastId_(lastId), tooltip_(tooltip), report_(std::move(report)) {}

void NeighbourItem::CopyNeighbourItem(bool older) {
    std::optional<history::Neighbour> found;
    try {
        found = history::neighbour(lastId_, older ? history::Direction::Older : history::Direction::Newer);
    } catch (const SqlException&) {
        return;  // a step that cannot read its row does nothing
    }
    if (!found) return;
    const int id = found->id;
    const std::string body = found->type == UnicodeText ? unicodeToAnsi(found->data) : found->text;
    const std::string text = neighbourBalloonText(found->type, body);
    PutRecordOnClipboard(id, report_);
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
