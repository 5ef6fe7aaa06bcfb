#pragma once
#include <windows.h>

// Platform functions the menus use only where they exist, looked up at run time: the theme
// calls of uxtheme.dll and GradientFill of Msimg32.dll. A missing one is a null pointer.
struct OptionalPlatform {
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    IsThemeActiveFn isThemeActive = nullptr;
    SetWindowThemeFn setWindowTheme = nullptr;
    GradientFillFn gradientFill = nullptr;

    // Looked up once; the libraries stay loaded for the rest of the run.
    static const OptionalPlatform& system();
    // A platform without any of them.
    static const OptionalPlatform& none();

    bool themed() const { return isThemeActive && setWindowTheme && isThemeActive(); }
};
