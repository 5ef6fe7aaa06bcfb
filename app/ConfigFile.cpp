#include "app/ConfigFile.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {
const char kSection[] = "Main";
}

int ConfigFile::readInt(const char* key, int defaultValue) const {
    // The platform reader gives 0 for a value that is no number and wraps one beyond 32 bits,
    // which could turn a flag off or put the window off the screen: a hand-edited value that
    // is no number counts as missing, and one out of range is held at the end of the range.
    char text[64] = "";
    GetPrivateProfileStringA(kSection, key, "", text, sizeof text, path_.c_str());
    const char* digits = text + (text[0] == '-' || text[0] == '+');
    if (!std::isdigit(static_cast<unsigned char>(*digits))) return defaultValue;
    errno = 0;
    const long long value = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN) return value < 0 ? INT_MIN : INT_MAX;
    return static_cast<int>(GetPrivateProfileIntA(kSection, key, defaultValue, path_.c_str()));
}

std::string ConfigFile::readString(const char* section, const char* key, const char* defaultValue) const {
    // Grow until the value fits: a long path is never cut into a different path.
    for (DWORD size = 1024;; size *= 4) {
        std::vector<char> buffer(size);
        DWORD length = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), size, path_.c_str());
        if (length < size - 1 || size >= (1u << 24)) return std::string(buffer.data(), length);
    }
}

void ConfigFile::writeString(const char* key, const std::string& value) const {
    WritePrivateProfileStringA(kSection, key, value.c_str(), path_.c_str());
}

bool ConfigFile::read(const configkey::FlagKey& key) const { return readInt(key.name, key.fallback ? 1 : 0) != 0; }

int ConfigFile::read(const configkey::IntKey& key) const { return key.fitted(readInt(key.name, key.fallback)); }

std::string ConfigFile::read(const configkey::TextKey& key, const std::string& folder) const {
    const std::string defaultValue = folder + key.fallback;
    std::string value = readString(key.section, key.name, defaultValue.c_str());
    if (!key.accepts(value)) value = defaultValue;
    if (key.upperCase) {
        CharLowerA(value.data());
        CharUpperA(value.data());
    }
    return value;
}

void ConfigFile::write(const configkey::FlagKey& key, bool value) const { writeString(key.name, value ? "1" : "0"); }

void ConfigFile::write(const configkey::IntKey& key, int value) const {
    if (key.form == configkey::Form::OneOrZero) {
        writeString(key.name, value == 1 ? "1" : "0");
    } else {
        writeString(key.name, std::to_string(value));
    }
}

void ConfigFile::write(const configkey::TextKey& key, const std::string& value) const { writeString(key.name, value); }
