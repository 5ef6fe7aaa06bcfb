#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the history store needs from the platform: the configuration file, the file system and
// message boxes. The Windows build passes the real calls (app/WinStoreHost.h); tests
// pass a fake.
class StoreHost {
public:
    enum class MessageKind {
        Error,  // error icon, owned by the main window (the numbered "YarrowKit Error #n" boxes)
        Plain,  // the program's standard box with only an OK button
    };

    virtual ~StoreHost() = default;

    // Integer value of key in section "Main" of config.cfg, or defaultValue when missing.
    virtual int readConfigInt(const char* key, int defaultValue) = 0;
    // Writes key = value in section "Main" of config.cfg; a failed write is not reported.
    virtual void writeConfigString(const char* key, const std::string& value) = 0;
    // True when the path names an existing file or folder.
    virtual bool pathExists(const std::string& path) = 0;
    // Names (without folder) of the plain files matching folder + pattern; no folders, no "." or "..".
    virtual std::vector<std::string> listFiles(const std::string& folderAndPattern) = 0;
    // False when the file could not be deleted (e.g. held open by another process).
    virtual bool deleteFile(const std::string& path) = 0;
    virtual void showMessage(const std::string& caption, const std::string& text, MessageKind kind) = 0;
    // The caption of the program's unnumbered message boxes.
    virtual std::string applicationTitle() const = 0;
    // ANSI bytes (no terminator) in UTF-8, in the code page of the CF_LOCALE block when one is
    // given, else in the system's ANSI code page.
    virtual std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>& localeBlock) = 0;
    // The side table is being built at open: done of total rows, called every few hundred rows;
    // done == total ends it. The host shows it once it takes more than a moment.
    virtual void showBuildProgress(int done, int total) = 0;
    // Side rows of ids above `after` are still to be made after open: the host calls
    // history::makeMissingTexts from its message loop until it returns false. None: nothing is
    // left (any earlier request ends).
    virtual void makeTextsLater(std::optional<std::int64_t> after) = 0;
};
