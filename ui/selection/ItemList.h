#pragma once
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <set>
#include <string>

namespace history {
struct ListEntry;
}

// The selection window's list: one page of history records in the tree (oldest at the top),
// the range label and the four paging buttons. It works on the controls of the dialog it is
// attached to; that dialog also receives timer 10 and owns the error boxes.
class ItemList {
public:
    static constexpr UINT_PTR kSelectTimer = 10;

    // The settings are read at each use, so a change on the options pages takes effect.
    ItemList(const int& pageSize, const bool& moveSelection);
    ~ItemList();
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    void attach(HWND dialog);
    void createImageList();
    void enlargeItemHeight();

    // Rebuilds the tree with the page at the current offset, then UpdateRangeLabel. Never
    // changes the window's visibility or focus: it also runs after captures while hidden.
    // False when the page could not be read (reported; the list is left as it was).
    bool LoadPage();
    // Recounts the table, sets the label and enables the paging buttons.
    void UpdateRangeLabel();

    // What the Find box holds (UTF-8): the list, its label and its paging work on the items
    // that match it; blank shows the whole history. A new filter starts at the newest page;
    // the caller reloads.
    void setFilter(const std::string& typed);
    const std::string& filter() const { return filter_; }

    // Paging buttons 1002 to 1005; false for any other id.
    bool OnPagingCommand(int id);
    void showOldestPage();
    void showOlderPage();
    void showNewerPage();
    void showNewestPage();
    void OnSelectTimer();
    // Selects at once what the timer would, for a command that follows the reload directly.
    void selectNow() { OnSelectTimer(); }

    // False while LoadPage rebuilds the tree; the preview shows nothing then.
    bool ready() const { return ready_; }
    // Record id of the selected item, if any.
    std::optional<int> selectedRecordId() const;
    bool empty() const;

    // What Delete needs: the record is gone, so its item goes without a reload and the page
    // offset follows; when the page is empty Delete runs showOlderPage.
    void deleteSelectedItem();
    void lowerOffsetAfterDelete();
    // The database page: a new or moved file starts at the newest page; emptying clears the tree.
    void resetToNewestPage() { offset_ = 0; }
    void deleteAllItems();

    // NM_CUSTOMDRAW of the tree: an item whose text the ANSI code page cannot hold is drawn in
    // a TrueType face, which the platform's font linking completes for any script; every other
    // item is drawn exactly as before, in the dialog's font.
    LRESULT OnCustomDraw(const NMTVCUSTOMDRAW& draw);

private:
    HFONT scriptFont();
    HTREEITEM appendItem(const history::ListEntry& entry);
    template <typename Insert, typename Text>
    HTREEITEM insertItem(const history::ListEntry& entry, Text text, UINT message);
    HTREEITEM selectedItem() const;
    int itemCount() const;
    void setPageOffset(int offset);

    const int& pageSize_;
    const bool& moveSelection_;
    HWND dialog_ = nullptr;
    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HFONT scriptFont_ = nullptr;
    std::set<int> scriptIds_;  // records of the page whose captions need scriptFont_
    std::string filter_;
    int offset_ = 0;
    int total_ = 0;
    HTREEITEM itemToSelect_ = nullptr;
    bool ready_ = false;
};
