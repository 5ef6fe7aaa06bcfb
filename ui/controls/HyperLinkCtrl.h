#pragma once
#include <windows.h>

#include <string>

// Turns a static text control of a dialog into a link: link colours, an underline while the
// mouse is over it, a hand cursor, a tooltip naming the target, and a click that opens the
// target with the user's associated program. It subclasses the control and, for the messages
// the control sends its parent about itself (colours, clicks), the parent too.
class HyperLinkCtrl {
public:
    static constexpr UINT_PTR kHoverTimer = 100;
    static constexpr int kAlwaysUnderlined = 1;
    static constexpr int kNeverUnderlined = 0;
    static constexpr int kUnderlinedOnHover = -1;

    HyperLinkCtrl() = default;
    ~HyperLinkCtrl();
    HyperLinkCtrl(const HyperLinkCtrl&) = delete;
    HyperLinkCtrl& operator=(const HyperLinkCtrl&) = delete;

    // Binds the object to the dialog's static text control; false when it cannot.
    bool attach(HWND control);

    void setAddress(const std::string& address);
    const std::string& address() const { return address_; }
    void setVisited(bool visited);
    // Takes ownership of `cursor`; none means the standard link cursor.
    void setLinkCursor(HCURSOR cursor);
    void setUnderlineMode(int mode);

    // Opens `address` with its associated program, or failing that with the registered web
    // browser. A result above 32 means success.
    int openAddress(const std::string& address, int showCommand);
    void reportOpenError(int code);

private:
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleParentMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

    void OnClicked();
    void OnMouseMove();
    void OnHoverTimer();
    void OnEraseBackground(HDC dc);
    void OnDestroy();
    COLORREF textColour() const;

    void makeFonts();
    void fitToText();
    void loadDefaultCursor();
    void createTooltip();
    void updateTooltip();
    void setControlFont(HFONT font);
    void repaint();
    void detach();
    std::string controlText() const;

    COLORREF unvisitedColour_ = RGB(0, 0, 238);
    COLORREF visitedColour_ = RGB(85, 26, 139);
    COLORREF hoverColour_ = RGB(255, 0, 0);
    bool hovering_ = false;
    bool visited_ = false;
    int underlineMode_ = kUnderlinedOnHover;
    bool fitToText_ = true;
    std::string address_;
    std::string tooltipText_;
    bool tooltipPrefix_ = true;
    HFONT underlinedFont_ = nullptr;
    HFONT normalFont_ = nullptr;
    HCURSOR linkCursor_ = nullptr;
    HWND tooltip_ = nullptr;

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
};
