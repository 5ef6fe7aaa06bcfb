#pragma once
#include <string>
#include <string_view>

// The text rules of the hyperlink control: what a link's text becomes as an address, what its
// tooltip says, how the browser's command line is made, and how a failed open is explained.
namespace hyperlink {

// A control's text as an address: text that begins with "www." (any case) gets "http://".
std::string addressFromText(std::string_view text);

// "Go to ..." for "http://" addresses, "E-mail ..." for "mailto:" ones (prefixes in any case);
// any other address, or any address without the prefix option, is its own tooltip.
std::string tooltipText(std::string_view address, bool withPrefix = true);

// The command line that opens `address` with a browser whose registered command is
// `commandTemplate`: the template is cut where its "%1" placeholder (quoted or bare) begins,
// then a blank and the address follow.
std::string browserCommandLine(std::string_view commandTemplate, std::string_view address);

// The reason for a failed open, by the shell's result code.
std::string openErrorReason(int code);
// The whole message shown for a failed open.
std::string openErrorMessage(int code);

}  // namespace hyperlink
