#pragma once
#include <string>

// Section "Main" of config.cfg, read and written straight through the platform's profile
// functions: no image in memory, every write reaches the file at once.
class ConfigFile {
public:
    explicit ConfigFile(std::string path = {}) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // defaultValue also when the value is no number; a number beyond int is held at INT_MIN/INT_MAX.
    int readInt(const char* key, int defaultValue) const;
    std::string readString(const char* section, const char* key, const char* defaultValue) const;
    void writeString(const char* key, const std::string& value) const;
    void writeInt(const char* key, int value) const;
    void writeFlag(const char* key, bool value) const;

private:
    std::string path_;
};
