#include "clipboard/ClipCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>

#include "app/Settings.h"
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
#include "ui/framework/MessageBoxes.h"
#include "ui/selection/ItemList.h"

namespace {
constexpr char kImageCaption[] = "Image";

// The part of a UTF-16 text the caption can show, converted to ANSI: enough of it that the
// caption is the same as that of the whole converted text, without converting a huge clip.
std::string captionSource(const LockedClipBlock& block) {
    const auto* text = reinterpret_cast<const wchar_t*>(block.bytes());
    const std::size_t length = wcsnlen(text, block.size() / sizeof(wchar_t));
    for (std::size_t take = 256;; take *= 2) {
        take = std::min(take, length);
        std::string ansi = ansiFromUtf16(text, take);
        std::size_t lead = 0;
        while (lead < ansi.size() && isCaptionSpace(static_cast<unsigned char>(ansi[lead]))) ++lead;
        if (take == length || ansi.size() - lead > kCaptionBytes) return ansi;
    }
}

std::string storedOf(const LockedClipBlock& block) { return storedForm(block.bytes(), block.size()); }

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
    void setData(int itemType, const LockedClipBlock& block) {
        type = itemType;
        dataSize = dataSizeFor(block.size());
        dataBlock = storedOf(block);
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

ClipCapture::ClipCapture(const Settings& settings, ItemList& itemList, int& lastId)
    : settings_(settings), itemList_(itemList), lastId_(lastId) {}

DWORD ClipCapture::captureClipboard() {
    Sleep(paste::Sleep);
    if (!contentWanted() || !OpenClipboardWithRetry(kClipboardAttempts)) return GetTickCount();
    const CaptureTrace trace;
    Capture capture;
    // Taken at once: once data of another process is fetched the owner may be forgotten.
    capture.owner = GetClipboardOwner();
    // Marked content ends the capture as an excluded application's does, but before anything
    // of it is read, kept in memory or compared with the history.
    const bool secret = carriesSecretMarker();
    if (!secret) readClipboard(capture);
    CloseClipboard();
    const DWORD readAt = GetTickCount();
    if (secret) return readAt;
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

void ClipCapture::readClipboard(Capture& capture) const {
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        readText(capture);
    } else if (IsClipboardFormatAvailable(CF_DIB)) {
        readImage(capture);
    }
}

void ClipCapture::readText(Capture& capture) const {
    // A Unicode text the owner placed after its ANSI text is only a conversion of it.
    const bool unicodeNative =
        IsClipboardFormatAvailable(CF_UNICODETEXT) && EnumClipboardFormats(0) != CF_TEXT;
    if (LockedClipBlock text(CF_TEXT); text) {
        capture.textBlock = storedOf(text);
        capture.setText(std::string_view(text.bytes(), strnlen(text.bytes(), text.size())));
    }
    if (RichTextFormat && IsClipboardFormatAvailable(RichTextFormat)) {
        if (LockedClipBlock rich(RichTextFormat); rich) capture.setData(RichText, rich);
        if (unicodeNative) {
            if (LockedClipBlock unicode(CF_UNICODETEXT); unicode) capture.setText(captionSource(unicode));
        }
    } else if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        if (LockedClipBlock unicode(CF_UNICODETEXT); unicode) {
            capture.setData(UnicodeText, unicode);
            if (unicodeNative) capture.setText(captionSource(unicode));
        }
    }
    if (IsClipboardFormatAvailable(CF_LOCALE)) {
        if (LockedClipBlock locale(CF_LOCALE); locale) capture.localeBlock = storedOf(locale);
    }
    if (capture.hasText) capture.caption = storedText(capture.captionText);
}

void ClipCapture::readImage(Capture& capture) const {
    LockedClipBlock dib(CF_DIB);
    if (!dib) return;
    capture.setData(Bitmap, dib);
    capture.caption = storedText(kImageCaption);
}

bool ClipCapture::isDuplicate(const Capture& capture) const {
    try {
        return duplicates_.isDuplicate(historyDb, capture.key());
    } catch (const SqlException& error) {
        reportError(error.message());
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
        reportError(error.message());
    }
    itemList_.LoadPage();
}
