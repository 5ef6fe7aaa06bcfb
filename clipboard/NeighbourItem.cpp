#include "clipboard/NeighbourItem.h"

#include <optional>
#include <string>

#include "clipboard/AnsiText.h"
#include "clipboard/ClipWriter.h"
#include "clipboard/NeighbourBalloon.h"
#include "clipboard/StepBalloon.h"
#include "store/ClipRecord.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"

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

NeighbourItem::NeighbourItem(int& lastId, StepBalloon& tooltip) : lastId_(lastId), tooltip_(tooltip) {}

void NeighbourItem::CopyNeighbourItem(bool older) {
    int id = 0;
    std::string text;
    try {
        SqlCursor row = historyDb.query((older ? sql::selectOlder(lastId_) : sql::selectNewer(lastId_)).c_str());
        if (row.atEnd()) return;
        const int type = row.intValue(sql::column::kType, PlainText);
        const std::string body = type == UnicodeText
                                     ? unicodeToAnsi(readStoredBlock(row.stringValue(sql::column::kData, nullptr)))
                                     : readStoredText(row.stringValue(sql::column::kText, nullptr));
        text = neighbourBalloonText(type, body);
        id = row.intValue(sql::column::kId, 0);
    } catch (const SqlException&) {
        return;  // a step that cannot read its row does nothing
    }
    PutRecordOnClipboard(id);
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
