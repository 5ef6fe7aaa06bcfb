#include "ui/selection/ItemPreview.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "store/History.h"
#include "store/SqlException.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/WideText.h"
#include "ui/selection/ItemList.h"
#include "ui/selection/PreviewText.h"
#include "ui/selection/PreviewTooltip.h"

namespace {
constexpr int kOffsetRight = 5;
constexpr int kOffsetDown = 10;

// The preview is put together in UTF-8, so that item texts show as written.
std::string toUtf8(std::u16string_view text) {
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// A decoded ANSI text of Log in UTF-8: the side table's version when there is one.
std::optional<std::string> inUtf8(const std::optional<std::string>& ansi, const std::string* unicode) {
    if (!ansi) return std::nullopt;
    return unicode ? *unicode : utf8FromSystemAnsi(preview::untilZero(*ansi));
}

std::string localTimeText(std::uint32_t dtime) {
    time_t seconds = static_cast<time_t>(dtime);
    const tm* local = localtime(&seconds);
    char text[128] = {};
    if (!local || !strftime(text, sizeof text, "%c", local)) return {};
    return text;
}

preview::RecordFields fieldsOf(history::PreviewFields stored) {
    const std::optional<ItemText>& unicode = stored.unicode;
    preview::RecordFields fields;
    fields.sourceName = inUtf8(stored.sourceName, unicode ? &unicode->sourceName : nullptr);
    fields.sourceTitle = inUtf8(stored.sourceTitle, unicode ? &unicode->sourceTitle : nullptr);
    fields.captureTime = utf8FromSystemAnsi(localTimeText(stored.dtime));
    fields.id = stored.id;
    fields.type = stored.type;
    fields.text = inUtf8(stored.text, nullptr);
    fields.data = std::move(stored.data);
    if (unicode) fields.unicodeText = unicode->text;
    return fields;
}
}  // namespace

ItemPreview::ItemPreview(const bool& showToolTip, const ItemList& list, PreviewTooltip& tooltip)
    : showToolTip_(showToolTip), list_(list), tooltip_(tooltip) {}

bool ItemPreview::mayShow() const {
    return showToolTip_ && list_.ready() && GetForegroundWindow() == window_ && IsWindowVisible(window_);
}

void ItemPreview::ShowPreview() {
    if (!mayShow()) return;
    std::optional<int> id = list_.selectedRecordId();
    if (!id) return;
    std::optional<history::PreviewFields> stored;
    try {
        stored = history::preview(*id);
    } catch (const SqlException& error) {
        reportError(error.message());
        return;
    }
    if (!stored) {
        // The record went away under the list: better no preview than another item's.
        tooltip_.hide();
        return;
    }
    const std::string text = preview::truncated(preview::previewText(fieldsOf(std::move(*stored)), toUtf8));
    RECT frame;
    GetWindowRect(window_, &frame);
    POINT clientTop = {0, 0};
    ClientToScreen(window_, &clientTop);
    tooltip_.showAt(text, frame.right + kOffsetRight, clientTop.y + kOffsetDown);
}

void ItemPreview::hide() { tooltip_.hide(); }

void ItemPreview::OnDeactivate() {
    if (showToolTip_) tooltip_.hide();
}
