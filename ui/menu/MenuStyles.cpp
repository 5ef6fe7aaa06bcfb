#include "ui/menu/MenuStyles.h"

namespace {
constexpr MenuLook kLooks[] = {
    // band   gradient framed  gradient flat
    {false, false, false, false, false},  // classic
    {true, false, true, true, true},      // office (the default)
    {true, true, true, false, true},      // gradient band
    {false, false, true, false, true},    // flat
    {true, false, false, false, false},   // banded classic
};

MenuStyle styleWithId(int id) { return {id, kLooks[id / 2], id % 2 == 1}; }

// The layer's two process-wide choices.
MenuStyle selectedStyle = styleWithId(menustyle::kDefaultStyle);
int iconVariantOption = 1;
}  // namespace

namespace menustyle {

void select(int id) {
    if (id >= 0 && id < kStyleCount) selectedStyle = styleWithId(id);
}

const MenuStyle& current() { return selectedStyle; }

void setIconVariant(int option) { iconVariantOption = option; }

int iconVariant() { return iconVariantOption; }

}  // namespace menustyle
