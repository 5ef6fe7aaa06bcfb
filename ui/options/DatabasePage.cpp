#include "ui/options/DatabasePage.h"

#include <commdlg.h>

#include "res/resource.h"
#include "store/History.h"
#include "store/SqlException.h"
#include "ui/framework/DataExchange.h"
#include "ui/framework/FileOpenDialog.h"
#include "ui/framework/MessageBoxes.h"

namespace {
const char kCaption[] = "Yarrowkit";
const char kFileFilter[] = "Yarrowkit Database Files|*.sql|All Files|*.*|";

// Two names of one file: the same file index on the same volume. Names are compared too, for
// a file that cannot be opened to ask.
bool sameFile(const std::string& first, const std::string& second) {
    if (lstrcmpiA(first.c_str(), second.c_str()) == 0) return true;
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool known = GetFileInformationByHandle(file, &info) != FALSE;
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION a = {}, b = {};
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}
}  // namespace

DatabasePage::DatabasePage(const OptionsContext& context)
    : Dialog(IDD_DATABASE_PAGE), context_(context), dbPath(context.dbPath), configFolder(context.configFolder) {}

BOOL DatabasePage::OnInitDialog() {
    limit_ = context_.settings.LimitRecordsInDB;
    keepBetweenRuns_ = context_.settings.SaveItemsInDataBase ? 1 : 0;
    path_ = dbPath;
    showValues();
    return FALSE;
}

void DatabasePage::DoDataExchange(DataExchange& exchange) {
    exchange.checkBox(IDC_SAVE_ITEMS, keepBetweenRuns_);
    exchange.integer(IDC_LIMIT_RECORDS, limit_);
}

void DatabasePage::showValues() {
    UpdateData(false);
    SetDlgItemTextA(hwnd(), IDC_DB_PATH, path_.c_str());
}

void DatabasePage::Save() {
    // A refused limit has shown its message and is not taken.
    UpdateData(true);
    Settings& settings = context_.settings;
    if (limit_ != settings.LimitRecordsInDB) {
        settings.LimitRecordsInDB = limit_;
        context_.config.write(configkey::LimitRecordsInDB, limit_);
    }
    bool keep = keepBetweenRuns_ != 0;
    if (keep != settings.SaveItemsInDataBase) {
        settings.SaveItemsInDataBase = keep;
        context_.config.write(configkey::SaveItemsInDataBase, keep);
    }
}

// ---------------------------------------------------------------------------------------------
// Switch and Move

bool DatabasePage::chooseFile(std::string& path) {
    UpdateData(true);
    FileOpenDialog chooser("sql", path_, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, kFileFilter, hwnd());
    if (!chooser.DoModal()) return false;
    path = chooser.path();
    return true;
}

void DatabasePage::OnSwitch() {
    std::string path;
    if (chooseFile(path)) switchTo(path);
}

void DatabasePage::OnMove() {
    std::string path;
    if (chooseFile(path)) moveTo(path);
}

void DatabasePage::switchTo(const std::string& path) {
    history::close();
    openAndShow(path);
}

void DatabasePage::moveTo(const std::string& path) {
    // The old file is the only copy of the history until the copy exists: any doubt, and
    // the program keeps working on the old file with nothing offered for deletion.
    if (!copyDatabaseTo(path)) return;
    history::close();
    std::string oldPath = dbPath;
    const std::string question = "Do you want to delete the old database file: " + oldPath + " ?";
    if (askYesNo(kCaption, question, BoxIcon::question, hwnd())) DeleteFileA(oldPath.c_str());
    openAndShow(path);
}

bool DatabasePage::copyDatabaseTo(const std::string& path) {
    if (sameFile(dbPath, path)) {
        reportError(kCaption, "The database is already at this place:\n" + path + "\n\nNothing was moved.",
                    BoxIcon::exclamation, hwnd());
        return false;
    }
    if (!CopyFileA(dbPath.c_str(), path.c_str(), FALSE)) {
        reportError(kCaption,
                    "The database could not be copied to:\n" + path +
                        "\n\nNothing was moved; Yarrowkit goes on using:\n" + dbPath,
                    BoxIcon::exclamation, hwnd());
        return false;
    }
    return true;
}

void DatabasePage::openAndShow(const std::string& path) {
    path_ = path;
    dbPath = path_;
    context_.lastId = history::open(dbPath, configFolder, context_.storeHost);
    context_.itemList.resetToNewestPage();
    context_.itemList.LoadPage();
    context_.itemList.UpdateRangeLabel();
    context_.config.write(configkey::DBPath, dbPath);
    showValues();
}

// ---------------------------------------------------------------------------------------------
// Empty

void DatabasePage::emptyDatabase() {
    if (!askYesNo(kCaption, "Do you want to delete all records from the database?", BoxIcon::question, hwnd())) return;
    // The list is cleared only once the rows are gone: a refused DELETE (a file locked by
    // another program) leaves list and file as they were.
    if (!runOnHistory(history::removeAll)) return;
    context_.itemList.deleteAllItems();
    runOnHistory(history::compact);
    context_.itemList.UpdateRangeLabel();
}

bool DatabasePage::runOnHistory(void (*change)()) {
    try {
        change();
        return true;
    } catch (const SqlException& failure) {
        reportError(failure.message(), BoxIcon::error, hwnd());
        return false;
    }
}

// ---------------------------------------------------------------------------------------------

bool DatabasePage::onCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_SWITCH_DATABASE: OnSwitch(); return true;
        case IDC_MOVE_DATABASE: OnMove(); return true;
        case IDC_EMPTY_DATABASE: emptyDatabase(); return true;
        default: break;
        }
    }
    return Dialog::onCommand(id, code);
}
