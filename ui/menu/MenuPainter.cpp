#include "ui/menu/MenuPainter.h"

#include "ui/framework/WideText.h"
#include "ui/menu/MenuText.h"

namespace {
constexpr int kTextGap = 6;       // between the icon column and the label
constexpr int kShortcutGap = 24;  // between the label and its shortcut
constexpr int kArrowSpace = 16;   // right of the texts, where a submenu's arrow goes

COLORREF blend(COLORREF from, COLORREF to, int percentOfTo) {
    auto channel = [&](int shift) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>((a * (100 - percentOfTo) + b * percentOfTo) / 100) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

TRIVERTEX vertex(LONG x, LONG y, COLORREF colour) {
    return {x, y, static_cast<COLOR16>(GetRValue(colour) << 8), static_cast<COLOR16>(GetGValue(colour) << 8),
            static_cast<COLOR16>(GetBValue(colour) << 8), 0};
}

bool has(UINT state, UINT flag) { return (state & flag) != 0; }
}  // namespace

MenuColours MenuColours::fromSystem() {
    MenuColours c;
    c.background = GetSysColor(COLOR_MENU);
    c.text = GetSysColor(COLOR_MENUTEXT);
    c.grayText = GetSysColor(COLOR_GRAYTEXT);
    c.band = blend(c.background, GetSysColor(COLOR_3DSHADOW), 25);
    c.highlightFrame = GetSysColor(COLOR_HIGHLIGHT);
    c.highlightFill = blend(c.background, c.highlightFrame, 30);
    c.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    c.separator = blend(c.background, GetSysColor(COLOR_3DSHADOW), 70);
    // Between the menu's background and its text: readable, but plainly not an active icon.
    c.silhouette = blend(c.background, c.text, 40);
    c.frame = GetSysColor(COLOR_3DSHADOW);
    return c;
}

MenuPainter::MenuPainter(const OptionalPlatform& platform) : platform_(platform) { refresh(); }

MenuPainter::~MenuPainter() {
    if (font_) DeleteObject(font_);
}

void MenuPainter::refresh() {
    colours_ = MenuColours::fromSystem();
    if (font_) DeleteObject(font_);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    font_ = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                ? CreateFontIndirectA(&metrics.lfMenuFont)
                : nullptr;
}

SIZE MenuPainter::textSize(const std::string& text, bool utf8) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    RECT rect = {0, 0, 0, 0};
    drawText(dc, text, utf8, rect, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void MenuPainter::measure(const CIconMenuItemData& item, MEASUREITEMSTRUCT& measure) const {
    if (item.kind == CIconMenuItemData::Kind::Separator) {
        measure.itemWidth = kIconColumn;
        measure.itemHeight = kSeparatorHeight;
        return;
    }
    const menutext::Parts parts = menutext::split(item.text);
    const SIZE label = textSize(parts.label, item.utf8);
    if (item.inMenuBar) {
        measure.itemWidth = static_cast<UINT>(label.cx);  // the platform adds its own padding
        measure.itemHeight = static_cast<UINT>(label.cy + 4);
        return;
    }
    int width = kIconColumn + kTextGap + label.cx + kArrowSpace;
    if (!parts.shortcut.empty()) width += kShortcutGap + textSize(parts.shortcut, item.utf8).cx;
    measure.itemWidth = static_cast<UINT>(width);
    measure.itemHeight = static_cast<UINT>(label.cy + 6 > kItemHeight ? label.cy + 6 : kItemHeight);
}

void MenuPainter::draw(const CIconMenuItemData& item, const DRAWITEMSTRUCT& draw) const {
    HDC dc = draw.hDC;
    const RECT rect = draw.rcItem;
    const UINT state = draw.itemState;
    const int savedDc = SaveDC(dc);
    SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    if (item.inMenuBar) {
        drawBarItem(item, dc, rect, state);
        RestoreDC(dc, savedDc);
        return;
    }
    drawBackground(dc, rect);
    if (item.kind == CIconMenuItemData::Kind::Separator) {
        const int y = (rect.top + rect.bottom) / 2;
        fill(dc, {rect.left + kIconColumn + kTextGap, y, rect.right - 2, y + 1}, colours_.separator);
        RestoreDC(dc, savedDc);
        return;
    }
    const bool disabled = has(state, ODS_GRAYED) || has(state, ODS_DISABLED);
    const bool selected = has(state, ODS_SELECTED);
    const MenuLook& look = menustyle::current().look;
    if (selected) {
        RECT highlight = rect;
        if (menustyle::current().variant) highlight.left += kIconColumn;
        drawHighlight(dc, highlight);
    }
    COLORREF textColour = disabled ? colours_.grayText : colours_.text;
    if (selected && !disabled && !look.framedHighlight) textColour = colours_.highlightText;
    drawIcon(item, dc, rect, state);
    if (has(state, ODS_CHECKED) && !item.hasIcon()) drawCheckMark(dc, rect, textColour);
    drawTexts(item, dc, rect, state, textColour);
    if (item.kind == CIconMenuItemData::Kind::Submenu) drawSubmenuArrow(dc, rect, textColour);
    RestoreDC(dc, savedDc);
    // The platform draws its own arrow after ours; keep it off the item.
    if (item.kind == CIconMenuItemData::Kind::Submenu) ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void MenuPainter::drawBarItem(const CIconMenuItemData& item, HDC dc, RECT rect, UINT state) const {
    fill(dc, rect, colours_.background);
    const bool open = has(state, ODS_SELECTED);
    if (open || item.hot || has(state, ODS_HOTLIGHT)) {
        fill(dc, rect, open ? colours_.band : colours_.highlightFill);
        HBRUSH frame = CreateSolidBrush(open ? colours_.frame : colours_.highlightFrame);
        FrameRect(dc, &rect, frame);
        DeleteObject(frame);
    }
    const bool disabled = has(state, ODS_GRAYED) || has(state, ODS_DISABLED);
    SetTextColor(dc, disabled ? colours_.grayText : colours_.text);
    const std::string label = menutext::split(item.text).label;
    const UINT prefix = has(state, ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
}

void MenuPainter::drawBackground(HDC dc, const RECT& rect) const {
    fill(dc, rect, colours_.background);
    const MenuLook& look = menustyle::current().look;
    if (!look.iconBand) return;
    const RECT band = {rect.left, rect.top, rect.left + kIconColumn, rect.bottom};
    if (look.gradientBand) fillGradient(dc, band, colours_.background, colours_.band, true);
    else fill(dc, band, colours_.band);
}

void MenuPainter::drawHighlight(HDC dc, RECT rect) const {
    const MenuLook& look = menustyle::current().look;
    if (!look.framedHighlight) {
        fill(dc, rect, colours_.highlightFrame);
        return;
    }
    InflateRect(&rect, -1, 0);
    if (look.gradientHighlight) fillGradient(dc, rect, colours_.background, colours_.highlightFill, false);
    else fill(dc, rect, colours_.highlightFill);
    HBRUSH frame = CreateSolidBrush(colours_.highlightFrame);
    FrameRect(dc, &rect, frame);
    DeleteObject(frame);
}

void MenuPainter::drawIcon(const CIconMenuItemData& item, HDC dc, const RECT& rect, UINT state) const {
    if (!item.hasIcon()) return;
    const int x = rect.left + (kIconColumn - kIconSize) / 2;
    const int y = rect.top + (rect.bottom - rect.top - kIconSize) / 2;
    if (has(state, ODS_CHECKED)) {
        // A checked item with an icon shows it in a box instead of a check mark.
        RECT box = {x - 2, y - 2, x + kIconSize + 2, y + kIconSize + 2};
        fill(dc, box, colours_.highlightFill);
        HBRUSH frame = CreateSolidBrush(colours_.highlightFrame);
        FrameRect(dc, &box, frame);
        DeleteObject(frame);
    }
    const bool disabled = has(state, ODS_GRAYED) || has(state, ODS_DISABLED);
    if (menustyle::iconVariant() == 1) {
        const bool idle = !has(state, ODS_SELECTED);
        const UINT variant = disabled ? ILD_BLEND50 : idle ? ILD_BLEND25 : ILD_NORMAL;
        ImageList_Draw(item.images, item.image, dc, x, y, ILD_TRANSPARENT | variant);
    } else if (disabled) {
        DrawIconSilhouette(dc, item.images, item.image, x, y, colours_.silhouette);
    } else {
        ImageList_Draw(item.images, item.image, dc, x, y, ILD_TRANSPARENT);
    }
}

void MenuPainter::drawCheckMark(HDC dc, const RECT& rect, COLORREF colour) const {
    const int cx = rect.left + kIconColumn / 2, cy = (rect.top + rect.bottom) / 2;
    const POINT tick[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    Polyline(dc, tick, 3);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void MenuPainter::drawSubmenuArrow(HDC dc, const RECT& rect, COLORREF colour) const {
    const int x = rect.right - kArrowSpace / 2 - 2, cy = (rect.top + rect.bottom) / 2;
    for (int column = 0; column < 4; ++column) fill(dc, {x + column, cy - 3 + column, x + column + 1, cy + 4 - column}, colour);
}

void MenuPainter::drawTexts(const CIconMenuItemData& item, HDC dc, const RECT& rect, UINT state,
                            COLORREF colour) const {
    const menutext::Parts parts = menutext::split(item.text);
    RECT area = {rect.left + kIconColumn + kTextGap, rect.top, rect.right - kArrowSpace, rect.bottom};
    const UINT format = DT_SINGLELINE | DT_VCENTER | (has(state, ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    SetTextColor(dc, colour);
    drawText(dc, parts.label, item.utf8, area, format | DT_LEFT);
    if (!parts.shortcut.empty()) drawText(dc, parts.shortcut, item.utf8, area, format | DT_RIGHT | DT_NOPREFIX);
}

void MenuPainter::drawText(HDC dc, const std::string& text, bool utf8, RECT& rect, UINT format) const {
    if (!utf8) {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
        return;
    }
    const std::wstring wide = wideFromUtf8(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void MenuPainter::fill(HDC dc, const RECT& rect, COLORREF colour) const {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void MenuPainter::fillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool horizontal) const {
    if (!platform_.gradientFill) {
        fill(dc, rect, to);
        return;
    }
    TRIVERTEX corners[] = {vertex(rect.left, rect.top, from), vertex(rect.right, rect.bottom, to)};
    GRADIENT_RECT span = {0, 1};
    platform_.gradientFill(dc, corners, 2, &span, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void DrawIconSilhouette(HDC dc, HIMAGELIST images, int index, int x, int y, COLORREF colour) {
    int width = 0, height = 0;
    if (!ImageList_GetIconSize(images, &width, &height)) return;
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ previousMask = SelectObject(maskDc, mask);
    PatBlt(maskDc, 0, 0, width, height, WHITENESS);
    ImageList_Draw(images, index, maskDc, 0, 0, ILD_MASK);  // black where the image is opaque

    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kBrushWhereSourceIsBlack = 0x00B8074A;  // (D ^ P) & S ^ P
    BitBlt(dc, x, y, width, height, maskDc, 0, 0, kBrushWhereSourceIsBlack);
    SetBkColor(dc, previousBack);
    SetTextColor(dc, previousText);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
    SelectObject(maskDc, previousMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
}
