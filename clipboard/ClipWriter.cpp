#include "clipboard/ClipWriter.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "clipboard/ClipLayout.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardState.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/SqlException.h"

namespace {
// The whole message for a record whose type the clipboard has no layout for.
constexpr char kUnknownTypeMessage[] = "05";

const std::optional<std::string>& blockOf(const history::ClipBlocks& blocks, RecordColumn which) {
    switch (which) {
    case RecordColumn::Text: return blocks.text;
    case RecordColumn::Data: return blocks.data;
    default: return blocks.locale;
    }
}

std::optional<history::ClipBlocks> readRecordBlocks(int recordId, const ReportError& report) {
    try {
        return history::clipBlocks(recordId);
    } catch (const SqlException& error) {
        report(error.message());
        return std::nullopt;
    }
}

// False for a record type the clipboard has no layout for.
bool placeBlocks(const history::ClipBlocks& blocks) {
    const std::vector<ClipBlockSource> layout = clipLayoutFor(blocks.type);
    for (const ClipBlockSource& source : layout) {
        const std::optional<std::string>& block = blockOf(blocks, source.column);
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

void PutRecordOnClipboard(int recordId, ClipboardChanges& changes, const ReportError& report) {
    std::optional<history::ClipBlocks> blocks = readRecordBlocks(recordId, report);
    if (!blocks) return;
    bool knownType = true;
    if (OpenClipboardWithRetry(kClipboardAttempts)) {
        const OwnClipboardWrite write(changes);
        EmptyClipboard();
        knownType = placeBlocks(*blocks);
    }
    // Shown after closing: a message box must not keep the clipboard from other programs.
    if (!knownType) report(kUnknownTypeMessage);
}
