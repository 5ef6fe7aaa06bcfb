#include "store/ItemText.h"

#include "store/Utf8Text.h"

#include <cstring>

namespace {

bool isCaptionSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view untilZero(const std::string& bytes) { return std::string_view(bytes.data(), strnlen(bytes.data(), bytes.size())); }

std::string fullText(const ClipRecord& record, const AnsiToUtf8& fromAnsi) {
    if (record.Utf8) return record.Utf8->Text;
    if (record.Type == UnicodeText && record.Data) return utf8::fromUtf16Block(*record.Data, kIndexedTextBytes);
    if (record.Text) return fromAnsi(untilZero(*record.Text), record.Locale);
    return {};
}

}  // namespace

std::string unicodeCaption(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isCaptionSpace(static_cast<unsigned char>(text[start]))) ++start;
    const std::string_view rest = text.substr(start);
    const std::size_t length = utf8::bytesOfChars(rest, kCaptionChars);
    std::string caption(rest.substr(0, length));
    for (char& c : caption) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    }
    if (length < rest.size()) caption += "...";
    return caption;
}

ItemText itemTextOf(const ClipRecord& record, const AnsiToUtf8& fromAnsi) {
    ItemText item;
    if (record.Utf8) {
        item.sourceName = record.Utf8->SourceName;
        item.sourceTitle = record.Utf8->SourceTitle;
    } else {
        item.sourceName = fromAnsi(record.SourceName, std::nullopt);
        item.sourceTitle = fromAnsi(record.SourceTitle, std::nullopt);
    }
    if (record.Type == Bitmap) {
        item.caption = kImageItemCaption;
        return item;
    }
    item.text = std::string(utf8::prefixBytes(fullText(record, fromAnsi), kIndexedTextBytes));
    item.caption = unicodeCaption(item.text);
    return item;
}
