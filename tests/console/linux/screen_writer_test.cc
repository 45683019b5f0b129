// The colour sequences the terminal binding chooses: a change costs only what changed.
#include "console/linux/screen_writer.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenWriter, ColourChangesSendOnlyWhatChanged) {
  const struct {
    int from, to;
    std::string sent;
  } cases[] = {{-1, White, "\x1b[0;1;37;40m"},
               {-1, LightGrey, "\x1b[0;37;40m"},
               {White, White, ""},
               {LightGreen, LightRed, "\x1b[31m"},
               {LightGrey, White, "\x1b[1m"},
               {LightGrey, Yellow, "\x1b[1;33m"},
               // Bold off names the foreground again: libvterm keeps bold's bright colour.
               {White, LightGrey, "\x1b[22;37m"},
               {Yellow, Red, "\x1b[22;31m"}};
  for (const auto& c : cases) {
    std::string sent;
    AppendColour(c.from, c.to, sent);
    EXPECT_EQ(sent, c.sent) << c.from << " to " << c.to;
  }
}

}  // namespace
