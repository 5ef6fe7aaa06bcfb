#pragma once

#include "store/StoreHost.h"

#include <windows.h>

#include <string>

// The store's platform calls on Windows: the profile functions on config.cfg, the file
// system and the program's message boxes (ui/framework/MessageBoxes.h).
class WinStoreHost : public StoreHost {
public:
    // applicationTitle: the executable's file name without extension.
    WinStoreHost(std::string configFilePath, std::string applicationTitle, HWND owner = nullptr);

    int readConfigInt(const char* key, int defaultValue) override;
    void writeConfigString(const char* key, const std::string& value) override;
    bool pathExists(const std::string& path) override;
    std::vector<std::string> listFiles(const std::string& folderAndPattern) override;
    bool deleteFile(const std::string& path) override;
    void showMessage(const std::string& caption, const std::string& text, MessageKind kind) override;
    std::string applicationTitle() const override { return applicationTitle_; }
    std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>& localeBlock) override;
    // A small window in the middle of the screen, once the build has taken half a second.
    void showBuildProgress(int done, int total) override;
    // A timer of the owner window makes the side rows left, one short step per tick.
    void makeTextsLater(std::optional<std::int64_t> after) override;
    static constexpr UINT_PTR kTextsTimer = 23;
    // The timer's tick; false for any other timer.
    bool OnTimer(UINT_PTR id);
    bool makingTexts() const { return textsAfter_.has_value(); }

private:
    void closeProgress();

    DWORD progressStart_ = 0;
    HWND progress_ = nullptr;
    std::optional<std::int64_t> textsAfter_;
    std::string configFilePath_;
    std::string applicationTitle_;
    HWND owner_;
};
