// The harness itself, on a shell script whose output is known: every other end-to-end test
// trusts what it reads.
#include "e2e/terminal.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalHarness, ReadsColoursTextTitleCursorAndKeys) {
  // The sixteen PC colours as the Linux binding sends them (bold for 8-15), a CP437 character
  // in UTF-8, a title, the cursor hidden; then a typed key's bytes in hex.
  const std::string script =
      "for b in '' '1;'; do for i in 0 4 2 6 1 5 3 7; do printf \"\\033[0;${b}3${i};40mX\"; done;"
      "done; printf '\\302\\252\\033]2;titulo\\007\\033[?25l\\n'; stty raw -echo; printf listo;"
      "head -c 4 | od -An -tx1; exit 3";
  Terminal term({.arguments = {"-c", script}, .program = "/bin/sh"});
  ASSERT_TRUE(term.WaitForText(1, 2, "listo")) << term.StartError() << term.ScreenDump();
  for (int colour = 0; colour < 16; ++colour) EXPECT_EQ(term.Colour(colour + 1, 1), colour);
  EXPECT_EQ(term.Text(15, 1, 3), "XXª");
  EXPECT_EQ(term.Title(), "titulo");
  EXPECT_FALSE(term.CursorVisible());
  EXPECT_EQ(std::pair(term.CursorRow(), term.CursorColumn()), std::pair(2, 6));
  term.SendKeys(KeyBytes::Delete);
  ASSERT_TRUE(term.WaitForExit());
  EXPECT_EQ(term.TrimmedRow(2), "listo 1b 5b 33 7e");
  EXPECT_EQ(term.ExitCode(), 3);
}

}  // namespace
