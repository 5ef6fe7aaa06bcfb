#pragma once
#include <string>

#include "app/Settings.h"

// Section "Main" of config.cfg, read and written straight through the platform's profile
// functions: no image in memory, every write reaches the file at once.
class ConfigFile : public SettingsFile {
public:
    explicit ConfigFile(std::string path = {}) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    bool read(const configkey::FlagKey& key) const override;
    int read(const configkey::IntKey& key) const override;
    std::string read(const configkey::TextKey& key, const std::string& folder = {}) const override;
    void write(const configkey::FlagKey& key, bool value) const override;
    void write(const configkey::IntKey& key, int value) const override;
    void write(const configkey::TextKey& key, const std::string& value) const override;

private:
    // defaultValue also when the value is no number; a number beyond int is held at INT_MIN/INT_MAX.
    int readInt(const char* key, int defaultValue) const;
    std::string readString(const char* section, const char* key, const char* defaultValue) const;
    void writeString(const char* key, const std::string& value) const;

    std::string path_;
};
