#include "store/StoredValue.h"

#include "store/BinaryCodec.h"

#include <cstring>
#include <utility>

// Sized exactly: a large clip's stored form is held beside the record SQLite builds from it.
std::string storedForm(const void* data, std::size_t size) {
    const EncodingPlan plan = planEncoding(data, size);
    std::string stored(plan.length, '\0');
    encodeBinary(data, size, plan, stored.data());  // its terminator lands on the string's own
    return stored;
}

std::string storedText(const std::string& text) { return storedForm(text.c_str(), text.size() + 1); }

std::string storedCaption(const std::optional<std::string>& caption) {
    return caption ? storedText(*caption) : std::string();
}

std::string storedBlock(const std::optional<std::string>& block) {
    return block ? storedForm(block->data(), block->size()) : std::string(kAbsentBlock);
}

std::optional<std::string> readStoredBlock(const char* columnText) {
    if (!columnText || !*columnText || std::strcmp(columnText, kAbsentBlock) == 0) return std::nullopt;
    // A decoded value is always shorter than its stored form.
    std::string decoded(std::strlen(columnText), '\0');
    const std::ptrdiff_t size = decodeBinary(columnText, decoded.data());
    if (size < 0) return std::nullopt;
    decoded.resize(static_cast<std::size_t>(size));
    return decoded;
}

std::string readStoredText(const char* columnText) {
    std::optional<std::string> decoded = readStoredBlock(columnText);
    if (!decoded) return {};
    decoded->resize(std::strlen(decoded->c_str()));
    return std::move(*decoded);
}
