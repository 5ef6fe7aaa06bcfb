#pragma once
#include <functional>
#include <string>

// How the clipboard engine tells the user of a failure it cannot handle itself. The window
// above supplies it; the engine shows nothing of its own.
using ReportError = std::function<void(const std::string& text)>;
