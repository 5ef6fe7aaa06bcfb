#include "clipboard/NeighbourBalloon.h"
#include "store/ClipRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kHeader =
    "\tYarrowkit has copied the next item to the clipboard: \t\n\t=-=-=-=-=-=-=-=-=-=-=-=-==-=-=-=-=-=-= \n";

TEST(NeighbourBalloon, HeaderThenTextOrImageNote) {
    EXPECT_EQ(neighbourBalloonText(PlainText, "hello"), kHeader + "hello");
    EXPECT_EQ(neighbourBalloonText(Bitmap, "ignored"), kHeader + "\n\t\tThis item contains Image\t\t\n\n");
}

TEST(NeighbourBalloon, LongTextIsCutAtTheLastBlankWithinThousandBytes) {
    const std::string body = std::string(600, 'a') + " " + std::string(600, 'b');
    const std::string text = neighbourBalloonText(PlainText, body);
    EXPECT_EQ(text, kHeader + std::string(600, 'a') + "\n ...[text is truncated]");
    // Without a blank in the body the cut falls inside the header.
    const std::string solid = neighbourBalloonText(PlainText, std::string(2000, 'c'));
    EXPECT_EQ(solid, kHeader.substr(0, kHeader.rfind(' ')) + "\n ...[text is truncated]");
    // Exactly 1000 bytes are kept whole.
    const std::string exact(1000 - kHeader.size(), 'd');
    EXPECT_EQ(neighbourBalloonText(PlainText, exact), kHeader + exact);
}

TEST(NeighbourBalloon, TheLimitCountsCharactersSoEveryScriptShowsAsMuch) {
    std::string exact;
    for (std::size_t i = kHeader.size(); i < 1000; ++i) exact += "ж";
    EXPECT_EQ(neighbourBalloonText(UnicodeText, exact), kHeader + exact) << "1000 characters, twice the bytes";
    const std::string longer = std::string(10, 'a') + " " + exact;
    EXPECT_EQ(neighbourBalloonText(UnicodeText, longer), kHeader + std::string(10, 'a') + "\n ...[text is truncated]");
}
}  // namespace
