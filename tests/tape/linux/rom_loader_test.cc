// The image with its loader on a Spectrum: Fuse runs the free OpenSE BASIC ROM with no window or
// sound, its debugger types LOAD "" and the ROM's own loading routine reads the tape (no tape
// traps), so the headers, the autostart and the BASIC line are all the ROM's to judge.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/temp_dir.h"
#include "tape/tape_image.h"

namespace {

using namespace std::string_literals;

const std::string Rom = "/usr/share/spectrum-roms/opense.rom";
// The debugger ends the run; timeout only stops an emulator that hangs, which ignores TERM.
const std::string Fuse =
    "HOME=. SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s KILL 20 fuse-sdl --machine 48 "
    "--tape juego.tap --no-auto-load --no-traps --no-sound --speed 10000 --rom-48 " +
    Rom;

std::pair<int, std::string> RunIn(const TempDir& dir, const std::string& command) {
  const int status =
      std::system(("cd '" + dir.path.string() + "' && " + command + " >out").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir / "out")};
}

// Each key as the keyboard routine hands it over (its code in LAST_K, bit 5 of FLAGS set): the
// first once the ROM has started (150 frames), each next once the ROM has taken the one before.
// At the routine's last instruction its first byte and RAMTOP are printed; 3000 frames (a
// minute) end a run that never gets there.
std::string DebuggerScript(uint16_t dumpAddress) {
  std::string script = "set $k 0\n";
  const char* keys[] = {"0xEF", "0x22", "0x22", "13"};  // LOAD "" ENTER
  for (int k = 0; k < 4; ++k)
    script += "break time 0 if $k == " + std::to_string(k) +
              " && ([23611] & 32) == 0 && spectrum:frames > 150\ncommands " +
              std::to_string(k + 1) + "\nset 23560 " + keys[k] +
              "\nset 23611 [23611] | 32\nset $k " + std::to_string(k + 1) + "\ncontinue\nend\n";
  return script + "break " + std::to_string(dumpAddress + 6) + "\ncommands 5\nprint [" +
         std::to_string(dumpAddress) + "]\nprint [23730] + 256 * [23731]\nexit 0\nend\n" +
         "break time 0 if spectrum:frames > 3000\ncommands 6\nexit 3\nend\n";
}

TEST(RomLoader, TheRomLoadsTheCodeAndRunsItFromItsStart) {
  if (!std::filesystem::exists(Rom) || std::system("command -v fuse-sdl >/dev/null") != 0)
    GTEST_SKIP() << "needs fuse-sdl and " << Rom << " (Debian fuse-emulator-sdl, opense-basic)";
  // RAMTOP as CLEAR leaves it, or as the ROM sets it when the code needs no CLEAR.
  for (const auto& [dump, ramTop] :
       {std::pair<uint16_t, std::string>{32768, "0x7fff"}, {16384, "0xff57"}, {65528, "0xfff7"}}) {
    TempDir dir;
    // RET, then from the start address: LD A,0xA5; LD (dump),A; JR $. Run from its first byte,
    // it would go back to BASIC at once.
    const std::string code = "\xC9\x3E\xA5\x32"s + static_cast<char>(dump % 256) +
                             static_cast<char>(dump / 256) + "\x18\xFE";
    WriteBytes(dir / "juego.tap",
               BuildTapeImage("PRUEBA", dump, code, static_cast<uint16_t>(dump + 1)));
    WriteBytes(dir / "keys", DebuggerScript(dump));
    const auto [status, output] = RunIn(dir, Fuse + " --debugger-command \"$(cat keys)\"");
    EXPECT_EQ(status, 0) << dump;
    EXPECT_TRUE(output.ends_with("\n0xa5\n" + ramTop + "\n")) << dump << output;
    const std::string listed = RunIn(dir, "tzxlist juego.tap").second;  // another reader
    EXPECT_NE(listed.find("Program: \"PRUEBA    \" LINE 10"), std::string::npos) << listed;
  }
}

}  // namespace
