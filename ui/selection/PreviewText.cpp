#include "ui/selection/PreviewText.h"

#include "store/Utf8Text.h"

namespace preview {
namespace {
constexpr char kRule[] = "=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-==-=-=";
constexpr char kApplicationLabel[] = "\n        Application  :   ";
constexpr char kTitleLabel[] = "\n        Title             :   ";
constexpr char kTimeLabel[] = "        Date&Time  :   ";
constexpr char kIdLabel[] = "              Id  :   ";
constexpr char kImageNote[] = "\t\t\t\tThis item contains Image\n\n";
constexpr int kUnicodeText = 13;
constexpr int kBitmap = 8;

std::string body(const RecordFields& record, const AnsiConverter& toAnsi) {
    if (record.type == kBitmap) return kImageNote;
    if (record.unicodeText) return *record.unicodeText;
    if (record.type == kUnicodeText) {
        if (!record.data) return {};
        std::u16string text = utf16UntilZero(*record.data);
        return text.empty() ? std::string() : toAnsi(text);
    }
    return record.text ? std::string(untilZero(*record.text)) : std::string();
}
}  // namespace

std::string_view untilZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::u16string utf16UntilZero(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

std::string previewText(const RecordFields& record, const AnsiConverter& toAnsi) {
    std::string text = kRule;
    if (record.sourceName) text.append(kApplicationLabel).append(untilZero(*record.sourceName));
    // The line break before Date&Time belongs to the title: without a title the time follows
    // the application name on the same line.
    if (record.sourceTitle) text.append(kTitleLabel).append(untilZero(*record.sourceTitle)).append("\n");
    text.append(kTimeLabel).append(record.captureTime);
    text.append(kIdLabel).append(std::to_string(record.id));
    text.append("\n").append(kRule).append("\n");
    text.append(body(record, toAnsi));
    return text;
}

// The header always holds blanks, so the cut falls on one.
std::string truncated(std::string text) { return utf8::cutAtBlank(std::move(text), kMaxLength, kTruncatedNote); }

}  // namespace preview
