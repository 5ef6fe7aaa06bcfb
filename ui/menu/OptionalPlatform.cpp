#include "ui/menu/OptionalPlatform.h"

namespace {
template <typename Fn>
Fn lookUp(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

OptionalPlatform load() {
    OptionalPlatform platform;
    platform.isThemeActive = lookUp<OptionalPlatform::IsThemeActiveFn>("uxtheme.dll", "IsThemeActive");
    platform.setWindowTheme = lookUp<OptionalPlatform::SetWindowThemeFn>("uxtheme.dll", "SetWindowTheme");
    platform.gradientFill = lookUp<OptionalPlatform::GradientFillFn>("Msimg32.dll", "GradientFill");
    return platform;
}
}  // namespace

const OptionalPlatform& OptionalPlatform::system() {
    static const OptionalPlatform platform = load();
    return platform;
}

const OptionalPlatform& OptionalPlatform::none() {
    static const OptionalPlatform platform;
    return platform;
}
