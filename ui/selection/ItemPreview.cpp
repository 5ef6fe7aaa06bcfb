#include "ui/selection/ItemPreview.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/selection/ItemList.h"
#include "ui/selection/PreviewText.h"
#include "ui/selection/PreviewTooltip.h"

namespace {
constexpr int kOffsetRight = 5;
constexpr int kOffsetDown = 10;

std::string toAnsiCodePage(std::u16string_view text) {
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

// DTime is an unsigned 32-bit count of seconds, which atoi would not read beyond 2038.
std::string localTimeText(const char* storedSeconds) {
    time_t seconds = static_cast<time_t>(static_cast<std::uint32_t>(std::strtoull(storedSeconds, nullptr, 10)));
    const tm* local = localtime(&seconds);
    char text[128] = {};
    if (!local || !strftime(text, sizeof text, "%c", local)) return {};
    return text;
}

std::optional<std::string> storedColumn(const SqlCursor& row, const char* column) {
    return readStoredBlock(row.stringValue(column, nullptr));
}

preview::RecordFields fieldsOf(const SqlCursor& row) {
    preview::RecordFields fields;
    fields.sourceName = storedColumn(row, sql::column::kSourceName);
    fields.sourceTitle = storedColumn(row, sql::column::kSourceTitle);
    fields.captureTime = localTimeText(row.stringValue(sql::column::kDTime, "0"));
    fields.id = row.intValue(sql::column::kId, 0);
    fields.type = row.intValue(sql::column::kType, 0);
    fields.text = storedColumn(row, sql::column::kText);
    fields.data = storedColumn(row, sql::column::kData);
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
    std::string text;
    try {
        SqlCursor row = historyDb.query(sql::selectPreview(*id).c_str());
        if (row.atEnd()) {
            // The record went away under the list: better no preview than another item's.
            tooltip_.hide();
            return;
        }
        text = preview::truncated(preview::previewText(fieldsOf(row), toAnsiCodePage));
        row.release();
    } catch (const SqlException& error) {
        reportError(error.message());
        return;
    }
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
