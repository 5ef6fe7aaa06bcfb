#pragma once
#include <string>

// The text shown near the caret after a next/previous step: a fixed header, then the copied
// item (its text, or a note for an image), cut at a blank so that at most 1000 characters remain.
// `body` is the item's text in UTF-8; it is not used for an image.
std::string neighbourBalloonText(int type, const std::string& body);
