#include "ui/controls/HyperLinkText.h"

#include <algorithm>
#include <cctype>

namespace hyperlink {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

struct Reason {
    int code;
    const char* text;
};

// The shell's result codes of ShellExecute and WinExec.
constexpr Reason kReasons[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

}  // namespace

std::string addressFromText(std::string_view text) {
    std::string address(text);
    if (startsWithNoCase(text, "www.")) address.insert(0, "http://");
    return address;
}

std::string tooltipText(std::string_view address, bool withPrefix) {
    constexpr std::string_view kWeb = "http://", kMail = "mailto:";
    if (withPrefix && startsWithNoCase(address, kWeb)) return "Go to " + std::string(address.substr(kWeb.size()));
    if (withPrefix && startsWithNoCase(address, kMail)) return "E-mail " + std::string(address.substr(kMail.size()));
    return std::string(address);
}

std::string browserCommandLine(std::string_view commandTemplate, std::string_view address) {
    std::string_view::size_type placeholder = commandTemplate.find("\"%1\"");
    if (placeholder == std::string_view::npos) placeholder = commandTemplate.find("%1");
    std::string command(commandTemplate.substr(0, placeholder));
    command += ' ';
    command += address;
    return command;
}

std::string openErrorReason(int code) {
    for (const Reason& reason : kReasons)
        if (reason.code == code) return reason.text;
    return "Unknown Error (" + std::to_string(code) + ") occurred.";
}

std::string openErrorMessage(int code) { return "Unable to open hyperlink:\n\n" + openErrorReason(code); }

}  // namespace hyperlink
