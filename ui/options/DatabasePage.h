#pragma once
#include <string>

#include "ui/framework/Dialog.h"
#include "ui/options/OptionsContext.h"

// "Database": where the history file lies, switching to or moving to another file and emptying
// it (all at once, without waiting for OK), and the two settings of the exit maintenance.
class DatabasePage : public Dialog {
public:
    explicit DatabasePage(const OptionsContext& context);
    void Save();

    // The three actions; the first two after the file chooser has named the file.
    void switchTo(const std::string& path);
    void moveTo(const std::string& path);
    void emptyDatabase();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool onCommand(int id, int code) override;

private:
    void OnSwitch();
    void OnMove();
    bool chooseFile(std::string& path);
    bool copyDatabaseTo(const std::string& path);
    void openAndShow(const std::string& path);
    // Reports a failure with the exception's message; false then.
    bool runOnHistory(void (*change)());
    void showValues();

    const OptionsContext& context_;
    std::string& dbPath;  // the process-wide path of the history file
    const std::string& configFolder;
    int limit_ = 0;
    int keepBetweenRuns_ = 0;
    std::string path_;
};
