// The hyperlink control's text rules and its shrink-to-text placement.
#include <gtest/gtest.h>

#include "ui/controls/HyperLinkText.h"
#include "ui/controls/LinkPlacement.h"

using namespace hyperlink;

TEST(HyperLinkAddress, WebTextGetsTheSchemeAnythingElseStaysAsItIs) {
    EXPECT_EQ(addressFromText("www.example.org/a"), "http://www.example.org/a");
    EXPECT_EQ(addressFromText("WwW.Example.org"), "http://WwW.Example.org");
    EXPECT_EQ(addressFromText("http://www.example.org"), "http://www.example.org");
    EXPECT_EQ(addressFromText("support@example.org"), "support@example.org");
    EXPECT_EQ(addressFromText("www"), "www");
    EXPECT_EQ(addressFromText(""), "");
}

TEST(HyperLinkTooltip, NamesWhatTheLinkDoes) {
    EXPECT_EQ(tooltipText("http://www.example.org/x"), "Go to www.example.org/x");
    EXPECT_EQ(tooltipText("HTTP://Example.org"), "Go to Example.org");
    EXPECT_EQ(tooltipText("mailto:support@example.org"), "E-mail support@example.org");
    EXPECT_EQ(tooltipText("MailTo:a@b"), "E-mail a@b");
    EXPECT_EQ(tooltipText("https://example.org"), "https://example.org");
    EXPECT_EQ(tooltipText("http:/"), "http:/");
    EXPECT_EQ(tooltipText("http://x", false), "http://x");
    EXPECT_EQ(tooltipText("mailto:a@b", false), "mailto:a@b");
}

TEST(HyperLinkBrowserCommand, CutsAtThePlaceholderOrAppends) {
    const char* address = "mailto:a@b";
    EXPECT_EQ(browserCommandLine("\"C:\\b\\browser.exe\" -url \"%1\" -new", address),
              "\"C:\\b\\browser.exe\" -url  mailto:a@b");
    EXPECT_EQ(browserCommandLine("browser.exe %1 -new", address), "browser.exe  mailto:a@b");
    // The quoted form wins over a bare one that comes earlier.
    EXPECT_EQ(browserCommandLine("b.exe -p %1x \"%1\"", address), "b.exe -p %1x  mailto:a@b");
    EXPECT_EQ(browserCommandLine("\"C:\\b\\browser.exe\" -nohome", address), "\"C:\\b\\browser.exe\" -nohome mailto:a@b");
    EXPECT_EQ(browserCommandLine("", address), " mailto:a@b");
}

TEST(HyperLinkOpenError, KnownCodesHaveTheirReasonOthersTheirNumber) {
    EXPECT_EQ(openErrorReason(2), "The specified file was not found.");
    EXPECT_EQ(openErrorReason(32), "The specified dynamic-link library was not found.");
    EXPECT_EQ(openErrorReason(4), "Unknown Error (4) occurred.");
    EXPECT_EQ(openErrorReason(-7), "Unknown Error (-7) occurred.");
    EXPECT_EQ(openErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
}

TEST(HyperLinkPlacement, KeepsTheEdgeOrCentreThatTheStyleAnchors) {
    const Box window{100, 50, 200, 70};  // 100 x 20
    Box left = fittedBox(window, 40, 14, Alignment::Left, false);
    EXPECT_EQ(left.left, 100); EXPECT_EQ(left.right, 140); EXPECT_EQ(left.top, 50); EXPECT_EQ(left.bottom, 64);
    Box right = fittedBox(window, 40, 14, Alignment::Right, false);
    EXPECT_EQ(right.left, 160); EXPECT_EQ(right.right, 200);
    Box centre = fittedBox(window, 41, 15, Alignment::Centre, true);
    EXPECT_EQ(centre.left, 129); EXPECT_EQ(centre.width(), 41);
    EXPECT_EQ(centre.top, 52); EXPECT_EQ(centre.height(), 15);
    // A text wider than the control grows it the same way.
    Box wide = fittedBox(window, 120, 20, Alignment::Centre, false);
    EXPECT_EQ(wide.left, 90); EXPECT_EQ(wide.right, 210);
}
