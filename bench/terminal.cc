// Whole-program figures: the built gravix in a pseudo-terminal, read through libvterm as the
// end-to-end tests read it. Prints one "name value" line per figure for bench/run_bench.py:
// times in milliseconds (medians), terminal output in bytes, memory in KiB.
#include "e2e/terminal.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/listings.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Runs = 21;
constexpr int BigListing = 5000;
constexpr std::chrono::milliseconds Quiet{150};

// What a terminal sends for the keys the figures use.
namespace KeyBytes {
constexpr std::string_view Up = "\x1b[A", Down = "\x1b[B", PageUp = "\x1b[5~", PageDown = "\x1b[6~",
                           Delete = "\x1b[3~", Enter = "\r", Backspace = "\x7f", Tab = "\t";
}

bool failed = false;

void Report(const char* name, double value) { std::printf("%s %.3f\n", name, value); }

void Fail(const std::string& what, const Terminal& term) {
  std::fprintf(stderr, "terminal bench: %s; screen:\n%s\n", what.c_str(),
               term.ScreenDump().c_str());
  failed = true;
}

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The editor waits for a key: its screen is drawn and the cursor shown in row 10.
bool WaitForEditor(Terminal& term, const std::string& firstLineNumber) {
  return term.WaitUntil([&](const Terminal& t) {
    return t.Text(1, 5, 13) == "---[ Editor ]" && t.Text(1, 10, 6) == firstLineNumber &&
           t.TrimmedRow(25).ends_with("pantalla de teclas") && t.CursorVisible() &&
           t.CursorRow() == 10;
  });
}

// Reads output until none has come for a while: the reply to one key is complete.
void ReadUntilQuiet(Terminal& term) {
  for (;;) {
    const size_t before = term.RawOutput().size();
    term.WaitUntil([](const Terminal&) { return false; }, Quiet);
    if (term.RawOutput().size() == before) return;
  }
}

// Bytes the program writes in reply to keys.
size_t BytesFor(Terminal& term, std::string_view keys) {
  ReadUntilQuiet(term);
  const size_t before = term.RawOutput().size();
  term.SendKeys(keys);
  ReadUntilQuiet(term);
  return term.RawOutput().size() - before;
}

// The child the harness started: this process's only child while a Terminal lives.
pid_t ChildProcess() {
  std::ifstream children("/proc/self/task/" + std::to_string(getpid()) + "/children");
  pid_t child = -1;
  children >> child;
  return child;
}

// Peak resident memory of the process so far, in KiB.
double PeakResidentKiB(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmHWM:")) return std::atof(line.c_str() + 6);
  return -1;
}

void Quit(Terminal& term) {
  term.SendKeys("xs");
  if (!term.WaitForExit()) Fail("the program did not end", term);
}

struct StartFigures {
  std::vector<double> milliseconds;
  std::vector<double> peakKiB;
  double screenBytes = 0;  // everything written up to the editor's first key wait
};

// One run up to the editor and out again.
void StartToEditor(const fs::path& directory, const std::string& listing, StartFigures& figures) {
  // Each start writes the backup, as the first start on a typed listing does.
  fs::remove(directory / fs::path(listing).replace_extension(".bak"));
  const Clock::time_point start = Clock::now();
  Terminal term({.arguments = {listing}, .directory = directory});
  if (!term.StartError().empty() || !WaitForEditor(term, "     1"))
    return Fail("no editor for " + listing + " " + term.StartError(), term);
  figures.milliseconds.push_back(Milliseconds(Clock::now() - start));
  figures.peakKiB.push_back(PeakResidentKiB(ChildProcess()));
  if (figures.screenBytes == 0) {
    ReadUntilQuiet(term);
    figures.screenBytes = static_cast<double>(term.RawOutput().size());
  }
  Quit(term);
}

// Terminal output per key in the editor on the big listing: line 1's data retyped digit by
// digit, a digit in the checksum field, a line change.
void KeystrokeBytes(Terminal& term, const std::string& data) {
  for (int i = 0; i < 20; ++i) term.SendKeys(KeyBytes::Delete);
  ReadUntilQuiet(term);
  std::vector<double> shortLine;
  for (int i = 0; i < 19; ++i)
    shortLine.push_back(static_cast<double>(BytesFor(term, data.substr(i, 1))));
  Report("digit_typical", Median(shortLine));
  Report("digit_20th", static_cast<double>(BytesFor(term, data.substr(19, 1))));
  Report("digit_21st", static_cast<double>(BytesFor(term, "7")));
  BytesFor(term, KeyBytes::Backspace);
  term.SendKeys(KeyBytes::Tab);
  Report("digit_checksum", static_cast<double>(BytesFor(term, "0")));
  BytesFor(term, KeyBytes::Backspace);
  term.SendKeys(KeyBytes::Tab);
  std::vector<double> changes;
  for (int i = 0; i < 5; ++i)
    changes.push_back(static_cast<double>(BytesFor(term, KeyBytes::Down)));
  Report("line_change", Median(changes));
  Report("page_change", static_cast<double>(BytesFor(term, KeyBytes::PageDown)));
  for (int i = 0; i < 5; ++i) term.SendKeys(KeyBytes::Up);
  term.SendKeys(KeyBytes::PageUp);
  ReadUntilQuiet(term);
  if (term.Text(1, 10, 6) != "     1") Fail("line 1 is not back", term);
}

// The worst line for colours: every other data and checksum character faulty.
void WorstKeystrokeBytes(const fs::path& directory) {
  std::string data, checksum;
  for (int i = 0; i < 42; ++i) data += i % 2 ? "a" : "0";
  for (int i = 0; i < 10; ++i) checksum += i % 2 ? "x" : "1";
  std::ofstream(directory / "worst.txt") << "1 " << data << " " << checksum << "\n";
  Terminal term({.arguments = {"worst.txt"}, .directory = directory});
  if (!term.StartError().empty() || !WaitForEditor(term, "     1"))
    return Fail("no editor for worst.txt", term);
  Report("digit_worst", static_cast<double>(BytesFor(term, "5")));
  Quit(term);
}

// Time from the byte count's Enter to the summary, for the whole listing's bytes.
double CompileMilliseconds(Terminal& term) {
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    term.SendKeys(KeyBytes::Enter);
    if (!term.WaitForText(25, 17, "Nombre del programa: ")) return Fail("no name prompt", term), -1;
    term.SendKeys("BENCH\r");
    if (!term.WaitForText(22, 17, "Direccion del DUMP")) return Fail("no dump prompt", term), -1;
    term.SendKeys("0\r");
    if (!term.WaitForText(22, 17, "Numero de BYTES [0-50000]: "))
      return Fail("no byte prompt", term), -1;
    term.SendKeys("50000");
    if (!term.WaitForText(49, 17, "50000")) return Fail("no byte count", term), -1;
    const Clock::time_point start = Clock::now();
    term.SendKeys(KeyBytes::Enter);
    if (!term.WaitForText(32, 18, "Pulsa una tecla.")) return Fail("no summary", term), -1;
    times.push_back(Milliseconds(Clock::now() - start));
    term.SendKeys(" ");
    if (!WaitForEditor(term, "     1")) return Fail("no editor after compiling", term), -1;
  }
  return Median(times);
}

// pasmo's whole run assembling the same bytes as defb lines.
double PasmoMilliseconds(const fs::path& directory) {
  std::ofstream(directory / "same.asm") << DefbSource(BigListing);
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    const std::string source = (directory / "same.asm").string();
    const std::string image = (directory / "same.tap").string();
    std::vector<char*> argv = {const_cast<char*>("pasmo"), const_cast<char*>("--tap"),
                               const_cast<char*>(source.c_str()), const_cast<char*>(image.c_str()),
                               nullptr};
    const Clock::time_point start = Clock::now();
    pid_t child;
    int status = 0;
    if (posix_spawnp(&child, "pasmo", nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || status != 0) {
      std::fprintf(stderr, "terminal bench: pasmo failed\n");
      failed = true;
      return -1;
    }
    times.push_back(Milliseconds(Clock::now() - start));
  }
  if (fs::file_size(directory / "same.tap") != 25 + 10 * BigListing) {
    std::fprintf(stderr, "terminal bench: pasmo's image is not 50025 bytes\n");
    failed = true;
  }
  return Median(times);
}

}  // namespace

int main() {
  // Listings and images on tmpfs, for GRAVIX and pasmo alike.
  setenv("TMPDIR", FastDirectory().c_str(), 1);
  TempDir scratch;
  const fs::path& directory = scratch.path;
  WriteListing(directory / "one.txt", 1);
  WriteListing(directory / "big.txt", BigListing);

  // Taken in turns, so that the machine's other work weighs on both alike.
  StartFigures one, big;
  for (int run = 0; run < Runs; ++run) {
    StartToEditor(directory, "one.txt", one);
    StartToEditor(directory, "big.txt", big);
  }
  if (failed) return 1;
  Report("start_1", Median(one.milliseconds));
  Report("start_5000", Median(big.milliseconds));
  Report("start_1_fastest", *std::min_element(one.milliseconds.begin(), one.milliseconds.end()));
  Report("start_5000_fastest", *std::min_element(big.milliseconds.begin(), big.milliseconds.end()));
  Report("peak_1", Median(one.peakKiB));
  Report("peak_5000", Median(big.peakKiB));
  Report("screen_1", one.screenBytes);
  Report("screen_5000", big.screenBytes);

  {
    Terminal term({.arguments = {"big.txt"}, .directory = directory});
    if (term.StartError().empty() && WaitForEditor(term, "     1")) {
      KeystrokeBytes(term, DataDigitsOf(1));
      Report("compile_gravix", CompileMilliseconds(term));
      if (ReadBytes(directory / "big.tap").size() != 25 + 10 * BigListing)
        Fail("the image is not 50025 bytes", term);
      Quit(term);
    } else {
      Fail("no editor for big.txt", term);
    }
  }
  WorstKeystrokeBytes(directory);
  Report("compile_pasmo", PasmoMilliseconds(directory));
  return failed ? 1 : 0;
}
