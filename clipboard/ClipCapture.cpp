#include "clipboard/ClipCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>

#include "clipboard/AnsiText.h"
#include "clipboard/Caption.h"
#include "clipboard/ClipSource.h"
#include "clipboard/ClipboardChanges.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardState.h"
#include "clipboard/PngToDib.h"
#include "clipboard/SecretMarkers.h"
#include "store/ClipRecord.h"
#include "store/ItemText.h"
#include "store/Utf8Text.h"

namespace {
constexpr char kImageCaption[] = "Image";

// An empty text has no caption at all; one of only white space has the empty caption.
std::optional<std::string> captionOf(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return makeCaption(text);
}

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

// The item's text as written, for display and search: the clipboard's Unicode text (also for
// rich text, whose Data block is RTF), else the ANSI text in the code page of its locale. Only
// as much as the side table indexes is converted.
template <typename Copy>
std::string unicodeTextOf(const Copy& copy) {
    if (copy.unicode) return utf8::fromUtf16Block(*copy.unicode, kIndexedTextBytes);
    if (!copy.text) return {};
    const std::string_view ansi(copy.text->data(), strnlen(copy.text->data(), copy.text->size()));
    return std::string(utf8::prefixBytes(utf8FromAnsi(ansi.substr(0, kIndexedTextBytes), codePageOfLocale(copy.locale)),
                                         kIndexedTextBytes));
}

std::size_t blockBytes(const ClipRecord& record) {
    std::size_t total = 0;
    for (const auto* block : {&record.Text, &record.Data, &record.Locale}) total += *block ? (*block)->size() : 0;
    return total;
}

std::int64_t performanceCounter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The cost of a capture beyond its compatibility delay, from the open to the stored item, for
// the debug output (a debugger, or Wine's +debugstr channel, shows it; nothing is written
// anywhere else).
void reportCaptureCost(std::int64_t openedAt, std::size_t bytes) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double ms = 1000.0 * static_cast<double>(performanceCounter() - openedAt) /
                      static_cast<double>(frequency.QuadPart);
    char line[96];
    std::snprintf(line, sizeof line, "Yarrowkit capture: %zu bytes in %.3f ms", bytes, ms);
    OutputDebugStringA(line);
}
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
    std::optional<std::string> png;      // the registered "PNG", offered without a bitmap
};

ClipCapture::ClipCapture(CaptureSettings settings, std::function<void()> recordStored, ReportError report,
                         int& lastId)
    : settings_(settings),
      captureImage_(settings.CaptureImage),
      pngFormat_(RegisterClipboardFormatA("PNG")),
      queue_(lastId, std::move(recordStored), std::move(report)) {}

std::optional<CapturedClip> ClipCapture::readClipboard(ClipboardChanges& changes) const {
    Sleep(paste::Sleep);
    // Read meanwhile, or the program's own write: the clipboard is left to other programs.
    if (changes.isDealtWith(GetClipboardSequenceNumber())) return std::nullopt;
    if (!contentWanted() || !OpenClipboardWithRetry(kClipboardAttempts)) {
        changes.dealtWith(GetClipboardSequenceNumber());
        return std::nullopt;
    }
    // Nothing changes the content while it is open: this number names what is read.
    const DWORD sequence = GetClipboardSequenceNumber();
    const std::int64_t openedAt = performanceCounter();
    ClipboardCopy copy;
    // Taken at once: once data of another process is fetched the owner may be forgotten.
    copy.owner = GetClipboardOwner();
    // Marked content ends the capture as an excluded application's does, but before anything
    // of it is read, kept in memory or compared with the history. The program's own writes are
    // marked dealt with by the window's thread before it raises captureEnabled again.
    const bool skip = !captureEnabled || changes.isDealtWith(sequence) || carriesSecretMarker();
    if (!skip) copyClipboard(copy);
    CloseClipboard();
    changes.dealtWith(sequence);
    if (skip) return std::nullopt;
    // Nothing readable: the content changed between the format check and the open.
    std::optional<ClipRecord> record = recordOf(copy);
    if (!record) return std::nullopt;
    const ClipSource source = findClipSource(copy.owner);
    record->DTime = static_cast<std::uint32_t>(std::time(nullptr));
    record->SourceName = source.name;
    record->SourceTitle = source.title;
    record->Utf8->SourceName = utf8FromAnsi(source.name, CP_ACP);
    record->Utf8->SourceTitle = source.unicodeTitle;
    return CapturedClip{std::move(*record), openedAt};
}

void ClipCapture::store(CapturedClip clip) {
    if (isExcludedSource(settings_.ExceptApp, clip.record.SourceName)) return;
    const std::size_t bytes = blockBytes(clip.record);
    queue_.add(std::move(clip.record));
    reportCaptureCost(clip.openedAt, bytes);
}

bool ClipCapture::contentWanted() const {
    if (IsClipboardFormatAvailable(CF_TEXT)) return true;
    return captureImage_ && (IsClipboardFormatAvailable(CF_DIB) || pngOffered());
}

bool ClipCapture::pngOffered() const { return pngFormat_ && IsClipboardFormatAvailable(pngFormat_); }

void ClipCapture::copyClipboard(ClipboardCopy& copy) const {
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        copyText(copy);
    } else if (IsClipboardFormatAvailable(CF_DIB)) {
        copy.dib = copyClipBlock(CF_DIB);
    } else if (captureImage_ && pngOffered()) {
        copy.png = copyClipBlock(pngFormat_);  // decoded after closing: that takes a while
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

std::optional<ClipRecord> ClipCapture::recordOf(ClipboardCopy& copy) const {
    ClipRecord record;
    record.Utf8.emplace();
    if (copy.png) {
        copy.dib = dibFromPng(*copy.png);
        if (!copy.dib) return std::nullopt;  // a picture that does not decode is not recorded
    }
    if (copy.dib) {
        record.Type = Bitmap;
        record.Name = kImageCaption;
        record.Data = std::move(copy.dib);
        return record;
    }
    if (copy.unicodeFromAnsi && copy.text) copy.unicode = unicodeBlockFromAnsi(*copy.text, codePageOfLocale(copy.locale));
    record.Utf8->Text = unicodeTextOf(copy);
    if (copy.text) record.Name = captionOf(std::string_view(copy.text->data(), strnlen(copy.text->data(), copy.text->size())));
    if (copy.unicodeNative && copy.unicode) record.Name = captionOf(captionSource(*copy.unicode));
    record.Text = std::move(copy.text);
    if (copy.rich) {
        record.Type = RichText;
        record.Data = std::move(copy.rich);
    } else if (!copy.richOffered && copy.unicode) {
        record.Type = UnicodeText;
        record.Data = std::move(copy.unicode);
    }
    record.Locale = std::move(copy.locale);
    if (!record.Text && !record.Data) return std::nullopt;
    return record;
}
