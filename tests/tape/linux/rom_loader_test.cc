// The image with its loader on a Spectrum: Fuse runs the free OpenSE BASIC ROM with no window or
// sound, its debugger types LOAD "" and the ROM's own loading routine reads the tape (no tape
// traps), so the Program header, its autostart and the BASIC line are all the ROM's to judge.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/temp_dir.h"
#include "tape/tape_image.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string Rom = "/usr/share/spectrum-roms/opense.rom";
// The debugger ends the run; timeout only stops an emulator that hangs, which ignores TERM.
const std::string Fuse =
    "HOME=. SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s KILL 20 fuse-sdl --machine 48 "
    "--tape juego.tap --no-auto-load --no-traps --no-sound --speed 10000 --rom-48 " +
    Rom;

struct ShellRun {
  int status;
  std::string output;
};

ShellRun RunIn(const TempDir& dir, const std::string& command) {
  const std::string line = "cd '" + dir.path.string() + "' && " + command + " >output 2>&1";
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir / "output")};
}

// One key at a time, as the keyboard routine hands it over (its code in LAST_K, bit 5 of FLAGS
// set): the first once the ROM has started (after 150 frames, three seconds), each next once the
// ROM has taken the one before. Once the routine reaches its last instruction, its first byte
// and RAMTOP are printed; 3000 frames (a minute) end a run that never gets there.
std::string DebuggerScript(uint16_t dumpAddress) {
  std::string script = "set $k 0\n";
  const char* keys[] = {"0xEF", "0x22", "0x22", "13"};  // LOAD "" ENTER
  for (int k = 0; k < 4; ++k) {
    const std::string next = std::to_string(k + 1);
    script += "break time 0 if $k == " + std::to_string(k) +
              " && ([23611] & 32) == 0 && spectrum:frames > 150\ncommands " + next +
              "\nset 23560 " + keys[k] + "\nset 23611 [23611] | 32\nset $k " + next +
              "\ncontinue\nend\n";
  }
  const std::string dump = std::to_string(dumpAddress);
  return script + "break " + std::to_string(dumpAddress + 6) + "\ncommands 5\nprint [" + dump +
         "]\nprint [23730] + 256 * [23731]\nexit 0\nend\n" +
         "break time 0 if spectrum:frames > 3000\ncommands 6\nexit 3\nend\n";
}

TEST(RomLoader, TheRomLoadsTheCodeAndRunsItFromItsStart) {
  if (!fs::exists(Rom) || std::system("command -v fuse-sdl >/dev/null") != 0)
    GTEST_SKIP() << "needs fuse-sdl and " << Rom << " (Debian fuse-emulator-sdl, opense-basic)";
  // RAMTOP as CLEAR leaves it, or as the ROM sets it when the code needs no CLEAR.
  const struct {
    uint16_t dump;
    std::string ramTop;
  } cases[] = {{32768, "0x7fff"}, {16384, "0xff57"}, {65528, "0xfff7"}};
  for (const auto& [dump, ramTop] : cases) {
    TempDir dir;
    // RET, then from the start address: LD A,0xA5; LD (dump),A; JR $. Run from its first byte,
    // it would go back to BASIC at once.
    const std::string code = "\xC9\x3E\xA5\x32"s + static_cast<char>(dump % 256) +
                             static_cast<char>(dump / 256) + "\x18\xFE";
    WriteBytes(dir / "juego.tap",
               BuildTapeImage("PRUEBA", dump, code, static_cast<uint16_t>(dump + 1)));
    WriteBytes(dir / "keys", DebuggerScript(dump));
    const ShellRun run = RunIn(dir, Fuse + " --debugger-command \"$(cat keys)\"");
    EXPECT_EQ(run.status, 0) << dump << run.output;
    EXPECT_TRUE(run.output.ends_with("\n0xa5\n" + ramTop + "\n")) << dump << run.output;
  }
}

TEST(RomLoader, TzxlistListsTheProgramBeforeTheCode) {
  TempDir dir;
  WriteBytes(dir / "juego.tap", BuildTapeImage("PRUEBA", 32768, "\1\2\3", 32768));
  const ShellRun run = RunIn(dir, "tzxlist juego.tap");
  const size_t program = run.output.find("Program: \"PRUEBA    \" LINE 10");
  EXPECT_NE(program, std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Bytes: \"PRUEBA    \" CODE  32768, 3", program), std::string::npos);
  EXPECT_EQ(run.output.find("(FAIL)"), std::string::npos) << run.output;
  EXPECT_EQ(run.status, 0);
}

}  // namespace
