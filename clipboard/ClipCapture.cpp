#include "clipboard/ClipCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>

#include "clipboard/AnsiText.h"
#include "clipboard/Caption.h"
#include "clipboard/ClipLayout.h"
#include "clipboard/ClipSource.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardState.h"
#include "clipboard/SecretMarkers.h"
#include "store/ClipRecord.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"
#include "ui/framework/AppMessageBox.h"

namespace {
constexpr char kImageCaption[] = "Image";

// The part of a UTF-16 text the caption can show, converted to ANSI: enough of it that the
// caption is the same as that of the whole converted text, without converting a huge clip.
std::string captionSource(const std::string& block) {
    const auto* text = reinterpret_cast<const wchar_t*>(block.data());
    const std::size_t length = wcsnlen(text, block.size() / sizeof(wchar_t));
    for (std::size_t take = 256;; take *= 2) {
        take = std::min(take, length);
        std::string ansi = ansiFromUtf16(text, take);
        std::size_t lead = 0;
        while (lead < ansi.size() && isCaptionSpace(static_cast<unsigned char>(ansi[lead]))) ++lead;
        if (take == length || ansi.size() - lead > kCaptionBytes) return ansi;
    }
}

// Encodes a copied block and lets the copy go, so a huge clip is not held twice for long.
std::optional<std::string> takeStored(std::optional<std::string>& block) {
    if (!block) return std::nullopt;
    std::string stored = storedForm(block->data(), block->size());
    block.reset();
    return stored;
}

std::string storedOr(const std::optional<std::string>& block) { return block ? *block : kAbsentBlock; }

// The cost of a capture beyond its compatibility delay, for the debug output (a debugger, or
// Wine's +debugstr channel, shows it; nothing is written anywhere else).
class CaptureTrace {
public:
    CaptureTrace() { QueryPerformanceCounter(&start_); }
    void report(std::size_t storedBytes) const {
        LARGE_INTEGER end, frequency;
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        const double ms = 1000.0 * static_cast<double>(end.QuadPart - start_.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        char line[96];
        std::snprintf(line, sizeof line, "Yarrowkit capture: %zu stored bytes in %.3f ms", storedBytes, ms);
        OutputDebugStringA(line);
    }

private:
    LARGE_INTEGER start_;
};
}  // namespace

// The blocks of one clipboard content, copied out while the clipboard is open. Converting,
// encoding, comparing and storing all happen after it is closed, so that other programs can
// copy again while a large clip is stored.
struct ClipCapture::ClipboardCopy {
    HWND owner = nullptr;
    std::optional<std::string> text;     // CF_TEXT
    bool richOffered = false;
    std::optional<std::string> rich;     // the registered rich-text format
    std::optional<std::string> unicode;  // CF_UNICODETEXT
    // The Unicode text is only the system's conversion of the ANSI text: derived after closing.
    bool unicodeFromAnsi = false;
    bool unicodeNative = false;          // placed by the owner, so it is the text as written
    std::optional<std::string> locale;   // CF_LOCALE
    std::optional<std::string> dib;      // CF_DIB
};

// The working values of one capture, all in stored form once read.
struct ClipCapture::Capture {
    int type = PlainText;
    int dataSize = 0;
    bool hasText = false;       // a non-empty text was read, so the item has a caption
    std::string captionText;    // the caption, not yet in stored form
    std::optional<std::string> textBlock;
    std::optional<std::string> dataBlock;
    std::optional<std::string> localeBlock;
    std::string caption;        // stored form
    HWND owner = nullptr;

    void setText(std::string_view text) {
        hasText = !text.empty();
        captionText = makeCaption(text);
    }
    void setData(int itemType, std::optional<std::string>& block) {
        type = itemType;
        dataSize = dataSizeFor(block->size());
        dataBlock = takeStored(block);
    }
    std::size_t storedBytes() const {
        std::size_t total = 0;
        for (const auto* block : {&textBlock, &dataBlock, &localeBlock}) total += *block ? (*block)->size() : 0;
        return total;
    }
    CaptureKey key() const {
        return {caption, type, dataSize, textBlock ? &*textBlock : nullptr, dataBlock ? &*dataBlock : nullptr};
    }
};

ClipCapture::ClipCapture(CaptureSettings settings, std::function<void()> recordStored, int& lastId)
    : settings_(settings), recordStored_(std::move(recordStored)), lastId_(lastId) {}

DWORD ClipCapture::captureClipboard() {
    Sleep(paste::Sleep);
    if (!contentWanted() || !OpenClipboardWithRetry(kClipboardAttempts)) return GetTickCount();
    const CaptureTrace trace;
    ClipboardCopy copy;
    // Taken at once: once data of another process is fetched the owner may be forgotten.
    copy.owner = GetClipboardOwner();
    // Marked content ends the capture as an excluded application's does, but before anything
    // of it is read, kept in memory or compared with the history.
    const bool secret = carriesSecretMarker();
    if (!secret) copyClipboard(copy);
    CloseClipboard();
    const DWORD readAt = GetTickCount();
    if (secret) return readAt;
    Capture capture;
    capture.owner = copy.owner;
    buildCapture(copy, capture);
    if (isDuplicate(capture)) return readAt;
    const std::size_t storedBytes = capture.storedBytes();
    insert(capture);
    trace.report(storedBytes);
    return readAt;
}

bool ClipCapture::contentWanted() const {
    if (IsClipboardFormatAvailable(CF_TEXT)) return true;
    return settings_.CaptureImage && IsClipboardFormatAvailable(CF_DIB);
}

void ClipCapture::copyClipboard(ClipboardCopy& copy) const {
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        copyText(copy);
    } else if (IsClipboardFormatAvailable(CF_DIB)) {
        copy.dib = copyClipBlock(CF_DIB);
    }
}

void ClipCapture::copyText(ClipboardCopy& copy) const {
    // A Unicode text the owner placed after its ANSI text is only a conversion of it.
    const bool hasUnicode = IsClipboardFormatAvailable(CF_UNICODETEXT);
    copy.unicodeNative = hasUnicode && EnumClipboardFormats(0) != CF_TEXT;
    copy.text = copyClipBlock(CF_TEXT);
    copy.richOffered = RichTextFormat && IsClipboardFormatAvailable(RichTextFormat);
    if (copy.richOffered) copy.rich = copyClipBlock(RichTextFormat);
    if (copy.unicodeNative) {
        copy.unicode = copyClipBlock(CF_UNICODETEXT);
    } else if (hasUnicode && !copy.richOffered) {
        copy.unicodeFromAnsi = true;
    }
    if (IsClipboardFormatAvailable(CF_LOCALE)) copy.locale = copyClipBlock(CF_LOCALE);
}

void ClipCapture::buildCapture(ClipboardCopy& copy, Capture& capture) const {
    if (copy.dib) {
        capture.setData(Bitmap, copy.dib);
        capture.caption = storedText(kImageCaption);
        return;
    }
    if (copy.unicodeFromAnsi && copy.text) copy.unicode = unicodeBlockFromAnsi(*copy.text, codePageOfLocale(copy.locale));
    if (copy.text) {
        capture.setText(std::string_view(copy.text->data(), strnlen(copy.text->data(), copy.text->size())));
        capture.textBlock = takeStored(copy.text);
    }
    if (copy.rich) capture.setData(RichText, copy.rich);
    if (copy.unicodeNative && copy.unicode) capture.setText(captionSource(*copy.unicode));
    if (!copy.richOffered && copy.unicode) capture.setData(UnicodeText, copy.unicode);
    capture.localeBlock = takeStored(copy.locale);
    if (capture.hasText) capture.caption = storedText(capture.captionText);
}

bool ClipCapture::isDuplicate(const Capture& capture) const {
    try {
        return duplicates_.isDuplicate(historyDb, capture.key());
    } catch (const SqlException& error) {
        AppMessageBox(error.message());
        return true;
    }
}

void ClipCapture::insert(Capture& capture) {
    const ClipSource source = findClipSource(capture.owner);
    if (isExcludedSource(settings_.ExceptApp, source.name)) return;
    duplicates_.remember(capture.key());
    const int id = claimNextId();
    lastId_ = id;
    try {
        const std::string statement = sql::insertRow(
            id, static_cast<std::uint32_t>(std::time(nullptr)), capture.caption, storedText(source.name),
            storedText(source.title), storedOr(capture.localeBlock), storedOr(capture.textBlock), capture.type,
            storedOr(capture.dataBlock));
        capture.textBlock.reset();
        capture.dataBlock.reset();
        historyDb.execute(statement.c_str());
    } catch (const SqlException& error) {
        AppMessageBox(error.message());
    }
    recordStored_();
}
