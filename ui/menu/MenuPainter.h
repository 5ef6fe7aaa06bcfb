#pragma once
#include <windows.h>

#include "ui/menu/IconMenuItemData.h"
#include "ui/menu/MenuStyles.h"
#include "ui/menu/OptionalPlatform.h"

// The colours every part of a menu is drawn in, derived from the system's menu colours.
struct MenuColours {
    COLORREF background, text, grayText, band, highlightFill, highlightFrame, highlightText, separator, silhouette,
        frame;
    static MenuColours fromSystem();
};

// Measures and draws the owner-drawn items of the icon menu in the selected style: the icon
// column, the highlight, separators, check marks, submenu arrows, and disabled icons as
// silhouettes. Menu-bar items are drawn as text with the hover or open marking.
class MenuPainter {
public:
    static constexpr int kIconSize = 16;
    static constexpr int kIconColumn = 24;
    static constexpr int kItemHeight = kIconSize + 6;
    static constexpr int kSeparatorHeight = 7;

    explicit MenuPainter(const OptionalPlatform& platform = OptionalPlatform::system());
    ~MenuPainter();
    MenuPainter(const MenuPainter&) = delete;
    MenuPainter& operator=(const MenuPainter&) = delete;

    // After a change of the system colours or fonts.
    void refresh();
    const MenuColours& colours() const { return colours_; }

    void measure(const CIconMenuItemData& item, MEASUREITEMSTRUCT& measure) const;
    void draw(const CIconMenuItemData& item, const DRAWITEMSTRUCT& draw) const;

private:
    SIZE textSize(const std::string& text, bool utf8 = false) const;
    // DrawTextA, or DrawTextW for a UTF-8 text.
    void drawText(HDC dc, const std::string& text, bool utf8, RECT& rect, UINT format) const;
    void drawBarItem(const CIconMenuItemData& item, HDC dc, RECT rect, UINT state) const;
    void drawBackground(HDC dc, const RECT& rect) const;
    void drawHighlight(HDC dc, RECT rect) const;
    void drawIcon(const CIconMenuItemData& item, HDC dc, const RECT& rect, UINT state) const;
    void drawCheckMark(HDC dc, const RECT& rect, COLORREF colour) const;
    void drawSubmenuArrow(HDC dc, const RECT& rect, COLORREF colour) const;
    void drawTexts(const CIconMenuItemData& item, HDC dc, const RECT& rect, UINT state, COLORREF colour) const;
    void fill(HDC dc, const RECT& rect, COLORREF colour) const;
    void fillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool horizontal) const;

    const OptionalPlatform& platform_;
    MenuColours colours_{};
    HFONT font_ = nullptr;
};

// Paints image `index` of `images` at x, y in one colour wherever the image is not transparent.
void DrawIconSilhouette(HDC dc, HIMAGELIST images, int index, int x, int y, COLORREF colour);
