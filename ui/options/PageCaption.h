#pragma once
#include <windows.h>

#include <string>

// The band above the options pages that repeats the page's name: a grey field with the
// name centred in large bold type.
class PageCaption {
public:
    PageCaption() = default;
    ~PageCaption();
    PageCaption(const PageCaption&) = delete;
    PageCaption& operator=(const PageCaption&) = delete;

    // A visible child of `parent` covering `area` (client pixels of the parent).
    bool Create(HWND parent, const RECT& area, int controlId);
    HWND hwnd() const { return hwnd_; }
    // Sets the text and redraws the band at once.
    void setText(const std::string& text);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnPaint();
    void releaseDrawingObjects();

    HWND hwnd_ = nullptr;
    COLORREF background_ = 0;
    HBRUSH brush_ = nullptr;
    HFONT font_ = nullptr;
    std::string text_;
};
