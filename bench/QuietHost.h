#pragma once
// The store's platform port for the native benchmarks: no configuration file, no boxes (a
// message is printed), ANSI texts read as Latin-1, background work only noted.
#include <cstdio>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/StoreHost.h"
#include "store/Utf8Text.h"

namespace bench {

class QuietHost : public StoreHost {
public:
    int readConfigInt(const char*, int defaultValue) override { return defaultValue; }
    void writeConfigString(const char*, const std::string&) override {}
    bool pathExists(const std::string&) override { return true; }
    std::vector<std::string> listFiles(const std::string&) override { return {}; }
    bool deleteFile(const std::string&) override { return false; }
    void showMessage(const std::string& caption, const std::string& text, MessageKind) override {
        std::printf("MESSAGE %s: %s\n", caption.c_str(), text.c_str());
    }
    std::string applicationTitle() const override { return "yarrowkit"; }
    std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>&) override {
        return utf8::fromLatin1(ansi);
    }
    void showBuildProgress(int, int) override {}
    void makeTextsLater(std::optional<std::int64_t> after) override { later = after; }
    // Where the background work would go on, when open left some.
    std::optional<std::int64_t> later;
};

}  // namespace bench
