#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Item types: the clipboard format of the Data block, 0 for plain text without one, and -1
// for rich text, whose registered format has no fixed number.
enum ItemType : int {
    PlainText = 0,
    UnicodeText = 13,
    RichText = -1,
    Bitmap = 8,
};

// One history item with the columns of table Log in column order, held as plain values:
// texts without their terminator, blocks as captured (std::nullopt when not captured).
struct ClipRecord {
    int Id = 0;
    std::uint32_t DTime = 0;
    // The list caption; none when the captured text was empty. A blank text has a caption, the
    // empty one, which is stored unlike no caption at all.
    std::optional<std::string> Name;
    std::string SourceName;
    std::string SourceTitle;
    std::optional<std::string> Locale;
    std::optional<std::string> Text;
    int Type = PlainText;
    std::optional<std::string> Data;

    // Not columns of Log: the texts in UTF-8 as the capture read them (the clipboard's own
    // Unicode text, the window's title), for the side table LogText. Absent: the store derives
    // them from the blocks above when the record is added.
    struct Utf8Texts {
        std::string Text;
        std::string SourceName;
        std::string SourceTitle;
    };
    std::optional<Utf8Texts> Utf8;
};

// The insert statement for the record, every value in its stored form.
std::string insertStatement(const ClipRecord& record);
