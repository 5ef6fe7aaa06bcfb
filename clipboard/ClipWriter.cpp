#include "clipboard/ClipWriter.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "clipboard/ClipLayout.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardState.h"
#include "store/ClipRecord.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"
#include "ui/framework/MessageBoxes.h"

namespace {
// The whole message for a record whose type the clipboard has no layout for.
constexpr char kUnknownTypeMessage[] = "05";

// The decoded columns of a record, as the clipboard receives them.
struct RecordBlocks {
    int type = PlainText;
    std::optional<std::string> text;
    std::optional<std::string> data;
    std::optional<std::string> locale;

    const std::optional<std::string>& column(RecordColumn which) const {
        switch (which) {
        case RecordColumn::Text: return text;
        case RecordColumn::Data: return data;
        default: return locale;
        }
    }
};

std::optional<RecordBlocks> readRecordBlocks(int recordId) {
    try {
        SqlCursor row = historyDb.query(sql::selectClipBlocks(recordId).c_str());
        if (row.atEnd()) return std::nullopt;
        RecordBlocks blocks;
        blocks.type = row.intValue(sql::column::kType, PlainText);
        blocks.text = readStoredBlock(row.stringValue(sql::column::kText, nullptr));
        blocks.locale = readStoredBlock(row.stringValue(sql::column::kLocale, nullptr));
        if (blocks.type != PlainText) blocks.data = readStoredBlock(row.stringValue(sql::column::kData, nullptr));
        return blocks;
    } catch (const SqlException& error) {
        reportError(error.message());
        return std::nullopt;
    }
}

// False for a record type the clipboard has no layout for.
bool placeBlocks(const RecordBlocks& blocks) {
    const std::vector<ClipBlockSource> layout = clipLayoutFor(blocks.type);
    for (const ClipBlockSource& source : layout) {
        const std::optional<std::string>& block = blocks.column(source.column);
        if (!block) continue;
        const UINT format = source.format ? source.format : RichTextFormat;
        SetClipboardBlock(block->data(), block->size(), format);
    }
    if (blocks.type == Bitmap && blocks.data) {
        char line[32];
        std::snprintf(line, sizeof line, "Pasted  %i", static_cast<int>(blocks.data->size()));
        OutputDebugStringA(line);
    }
    return !layout.empty();
}
}  // namespace

void PutRecordOnClipboard(int recordId) {
    std::optional<RecordBlocks> blocks = readRecordBlocks(recordId);
    if (!blocks) return;
    captureEnabled = false;
    bool knownType = true;
    if (OpenClipboardWithRetry(kClipboardAttempts)) {
        EmptyClipboard();
        knownType = placeBlocks(*blocks);
        CloseClipboard();
    }
    captureEnabled = true;
    // Shown after closing: a message box must not keep the clipboard from other programs.
    if (!knownType) reportError(kUnknownTypeMessage);
}
