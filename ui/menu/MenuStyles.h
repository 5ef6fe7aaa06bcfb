#pragma once

// The drawing styles of the icon menu: five looks, each with and without its variant flag,
// ids 0 to 9 (even ids without the flag). All are drawn by the one painter; a look only says
// which of its parts it uses.
struct MenuLook {
    bool iconBand;          // a shaded column behind the icons
    bool gradientBand;      // that column as a gradient, where the platform has one
    bool framedHighlight;   // a light, framed highlight; else the solid system highlight
    bool gradientHighlight; // the light highlight as a gradient, where the platform has one
    bool flatFrame;         // a flat one-pixel frame round the menu window
};

struct MenuStyle {
    int id;
    MenuLook look;
    bool variant;  // the highlight leaves the icon column alone
};

namespace menustyle {
constexpr int kStyleCount = 10;
constexpr int kDefaultStyle = 2;

// The layer-wide choices the program makes once at start-up. An unknown id keeps the style.
void select(int id);
const MenuStyle& current();
// 1: item icons come from prepared variant images (faded when idle, blended when disabled);
// 0: icons unchanged, disabled ones as one-colour silhouettes.
void setIconVariant(int option);
int iconVariant();
}  // namespace menustyle
