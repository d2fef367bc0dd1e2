// Labels with numbers are built in a fixed buffer; the ends of the range must fit.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "render/font.h"

namespace {

TEST(NumberedText, LabelsTakeTheNumberInDecimalWithoutPadding) {
    EXPECT_EQ(textWithNumber("", 7).view(), "7");
    EXPECT_EQ(textWithNumber("Previous score ", INT_MIN).view(), "Previous score -2147483648");
    EXPECT_EQ(textWithNumber("Your score ", INT_MAX).view(), "Your score 2147483647");
}

TEST(NumberedText, AnOverlongLabelIsCutSoTheNumberStillFits) {
    const std::string label(100, 'x');
    const std::string text(textWithNumber(label, INT_MIN).view());
    EXPECT_EQ(text.substr(text.size() - 11), "-2147483648");
    EXPECT_EQ(text.find_first_not_of('x'), text.size() - 11);
}

}  // namespace
