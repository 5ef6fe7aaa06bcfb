#include "ui/selection/ItemList.h"

#include <climits>
#include <string>
#include <vector>

#include "res/resource.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/SqlException.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/WideText.h"
#include "ui/selection/ItemImage.h"
#include "ui/selection/PageArithmetic.h"

namespace {
constexpr char kPageErrorCaption[] = "YarrowKit Error #2";
constexpr char kPageErrorText[] = "Can't read from database to tree\n Error #2 - ";
constexpr int kIconIds[] = {IDI_UNICODE_ITEM, IDI_PLAIN_ITEM, IDI_RICH_ITEM};
// The TrueType face of the dialogs' MS Sans Serif; the platform links it to fonts of other scripts.
constexpr char kScriptFace[] = "Microsoft Sans Serif";

bool fitsAnsiCodePage(const std::wstring& text) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                        &lossy);
    return !lossy;
}

// Freezes drawing of one window for the lifetime of the object. Only one window of the
// system can be frozen; when another is, drawing simply goes on.
class FrozenDrawing {
public:
    explicit FrozenDrawing(HWND window) : locked_(LockWindowUpdate(window) != FALSE) {}
    ~FrozenDrawing() {
        if (locked_) LockWindowUpdate(nullptr);
    }
    FrozenDrawing(const FrozenDrawing&) = delete;
    FrozenDrawing& operator=(const FrozenDrawing&) = delete;

private:
    bool locked_;
};
}  // namespace

ItemList::ItemList(const int& pageSize, const bool& moveSelection)
    : pageSize_(pageSize), moveSelection_(moveSelection) {}

ItemList::~ItemList() {
    if (images_) ImageList_Destroy(images_);
    if (scriptFont_) DeleteObject(scriptFont_);
}

void ItemList::attach(HWND dialog) {
    dialog_ = dialog;
    tree_ = GetDlgItem(dialog, IDC_ITEM_TREE);
}

void ItemList::createImageList() {
    if (images_) return;
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 10);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int iconId : kIconIds) {
        auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0));
        ImageList_ReplaceIcon(images_, -1, icon);
        if (icon) DestroyIcon(icon);
    }
    TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
}

void ItemList::enlargeItemHeight() {
    int height = TreeView_GetItemHeight(tree_);
    if (height > 0) TreeView_SetItemHeight(tree_, static_cast<int>(height * 1.1));
}

bool ItemList::LoadPage() {
    int offset = paging::offsetForLoad(offset_);
    std::vector<history::ListEntry> page;
    try {
        page = filter_.empty() ? history::page(offset, paging::queryLimit(pageSize_))
                               : history::findPage(filter_, offset, paging::queryLimit(pageSize_));
    } catch (const SqlException& error) {
        std::string text = std::string(kPageErrorText) + error.message();
        reportError(kPageErrorCaption, text, BoxIcon::error, dialog_);
        return false;
    }
    offset_ = offset;
    std::optional<int> noted = selectedRecordId();
    int previousId = noted ? *noted : history::kNoRecord;
    itemToSelect_ = nullptr;
    ready_ = false;
    HTREEITEM newest = nullptr;
    {
        FrozenDrawing frozen(tree_);
        TreeView_DeleteAllItems(tree_);
        scriptIds_.clear();
        // The store gives the newest record first; the list shows the oldest at the top.
        for (auto entry = page.rbegin(); entry != page.rend(); ++entry) {
            if (entry->id == history::kNoRecord) continue;
            newest = appendItem(*entry);
            if (entry->id == previousId) itemToSelect_ = newest;
        }
        if (!itemToSelect_ || moveSelection_) itemToSelect_ = newest;
        // Selecting waits for the timer, after drawing is unfrozen.
        SetTimer(dialog_, kSelectTimer, 1, nullptr);
    }
    ready_ = true;
    UpdateRangeLabel();
    return true;
}

HTREEITEM ItemList::appendItem(const history::ListEntry& entry) {
    // The caption as written (side table) through the wide message; Log's ANSI caption, as
    // before, when the side table has no row for it.
    if (entry.unicodeCaption) {
        const std::wstring caption = wideFromUtf8(*entry.unicodeCaption);
        if (!fitsAnsiCodePage(caption)) scriptIds_.insert(entry.id);
        return insertItem<TVINSERTSTRUCTW>(entry, caption, TVM_INSERTITEMW);
    }
    return insertItem<TVINSERTSTRUCTA>(entry, entry.caption, TVM_INSERTITEMA);
}

template <typename Insert, typename Text>
HTREEITEM ItemList::insertItem(const history::ListEntry& entry, Text text, UINT message) {
    Insert insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.lParam = entry.id;
    insert.item.iImage = insert.item.iSelectedImage = imageOfType(entry.type);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, message, 0, reinterpret_cast<LPARAM>(&insert)));
}

HFONT ItemList::scriptFont() {
    if (scriptFont_) return scriptFont_;
    LOGFONTA face = {};
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(tree_, WM_GETFONT, 0, 0));
    if (!dialogFont || !GetObjectA(dialogFont, sizeof face, &face)) return nullptr;
    lstrcpynA(face.lfFaceName, kScriptFace, LF_FACESIZE);
    face.lfCharSet = DEFAULT_CHARSET;
    face.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    scriptFont_ = CreateFontIndirectA(&face);
    return scriptFont_;
}

LRESULT ItemList::OnCustomDraw(const NMTVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return scriptIds_.empty() ? CDRF_DODEFAULT : CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !scriptIds_.count(static_cast<int>(draw.nmcd.lItemlParam)))
        return CDRF_DODEFAULT;
    HFONT font = scriptFont();
    if (!font) return CDRF_DODEFAULT;
    SelectObject(draw.nmcd.hdc, font);
    return CDRF_NEWFONT;
}

void ItemList::UpdateRangeLabel() {
    try {
        total_ = filter_.empty() ? history::count() : history::findCount(filter_);
    } catch (...) {
        total_ = 0;
    }
    std::string label = paging::rangeLabel(offset_, pageSize_, total_, itemCount());
    SetWindowTextA(GetDlgItem(dialog_, IDC_RANGE_LABEL), label.c_str());
    paging::ButtonStates states = paging::buttonStates(offset_, pageSize_, total_);
    EnableWindow(GetDlgItem(dialog_, IDC_OLDEST_PAGE), states.oldest);
    EnableWindow(GetDlgItem(dialog_, IDC_OLDER_PAGE), states.older);
    EnableWindow(GetDlgItem(dialog_, IDC_NEWER_PAGE), states.newer);
    EnableWindow(GetDlgItem(dialog_, IDC_NEWEST_PAGE), states.newest);
}

bool ItemList::OnPagingCommand(int id) {
    switch (id) {
    case IDC_OLDEST_PAGE: showOldestPage(); return true;
    case IDC_OLDER_PAGE: showOlderPage(); return true;
    case IDC_NEWER_PAGE: showNewerPage(); return true;
    case IDC_NEWEST_PAGE: showNewestPage(); return true;
    default: return false;
    }
}

void ItemList::setFilter(const std::string& typed) {
    filter_ = typed;
    offset_ = paging::newestPageOffset();
}

void ItemList::showOldestPage() { setPageOffset(paging::oldestPageOffset(total_, pageSize_)); }
void ItemList::showOlderPage() { setPageOffset(paging::olderPageOffset(offset_, pageSize_, total_)); }
void ItemList::showNewerPage() { setPageOffset(paging::newerPageOffset(offset_, pageSize_)); }
void ItemList::showNewestPage() { setPageOffset(paging::newestPageOffset()); }

void ItemList::setPageOffset(int offset) {
    // A page that cannot be read leaves the list where it was, so the offset must stay with it.
    int shown = offset_;
    offset_ = offset;
    if (!LoadPage()) offset_ = shown;
}

void ItemList::OnSelectTimer() {
    KillTimer(dialog_, kSelectTimer);
    if (itemToSelect_) TreeView_SelectItem(tree_, itemToSelect_);
    itemToSelect_ = nullptr;
}

// An item waiting for the select timer is the selection already: a command posted before the
// timer's message (posted messages come first) acts on the item the page is about to show.
HTREEITEM ItemList::selectedItem() const {
    if (itemToSelect_) return itemToSelect_;
    return tree_ ? TreeView_GetSelection(tree_) : nullptr;
}

std::optional<int> ItemList::selectedRecordId() const {
    HTREEITEM item = selectedItem();
    if (!item) return std::nullopt;
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return std::nullopt;
    return static_cast<int>(data.lParam);
}

int ItemList::itemCount() const {
    UINT count = tree_ ? TreeView_GetCount(tree_) : 0;
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

bool ItemList::empty() const { return itemCount() == 0; }

void ItemList::deleteSelectedItem() {
    HTREEITEM item = selectedItem();
    if (!item) return;
    if (item == itemToSelect_) itemToSelect_ = nullptr;
    TreeView_DeleteItem(tree_, item);
}

void ItemList::lowerOffsetAfterDelete() { offset_ = paging::offsetAfterDelete(offset_); }

void ItemList::deleteAllItems() {
    itemToSelect_ = nullptr;
    TreeView_DeleteAllItems(tree_);
}
