#include "e2e/terminal.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <utmp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;
constexpr uid_t Nobody = 65534;
// A program that has ended while a child it left behind still holds the terminal gets this
// long to say its last word.
constexpr std::chrono::milliseconds QuietAfterEnd{300};

// The child's failed set-up step, sent back with errno before exec closes the pipe. The step
// is a literal, at the same address in both processes.
struct ChildFailure {
  const char* step;
  int error;
};

[[noreturn]] void FailChild(int reportFd, const char* step) {
  const ChildFailure failure{step, errno};
  [[maybe_unused]] const ssize_t written = write(reportFd, &failure, sizeof failure);
  _exit(127);
}

// One cell per character: UTF-8 continuation bytes do not count.
int CellCount(std::string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::vector<std::string> DefaultEnvironment() {
  std::vector<std::string> environment = {"TERM=xterm", "LANG=C.UTF-8"};
  for (const char* name : {"PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = getenv(name)) environment.push_back(std::string(name) + "=" + value);
  return environment;
}

int Terminal::OnProperty(VTermProp property, VTermValue* value, void* terminal) {
  auto& shown = *static_cast<Terminal*>(terminal);
  if (property == VTERM_PROP_CURSORVISIBLE) shown.cursorVisible_ = value->boolean;
  if (property == VTERM_PROP_TITLE) shown.title_ = value->string ? value->string : "";
  return 1;
}

Terminal::Terminal(const ProgramOptions& options) : columns_(options.columns), rows_(options.rows) {
  vterm_ = vterm_new(rows_, columns_);
  vterm_set_utf8(vterm_, 1);
  vterm_output_set_callback(
      vterm_, [](const char*, size_t, void*) {}, nullptr);  // no answers
  // The program shows colours 8-15 as bold plus 30-37, as the Linux console does.
  vterm_state_set_bold_highbright(vterm_obtain_state(vterm_), 1);
  static VTermScreenCallbacks callbacks{};  // kept by libvterm
  callbacks.settermprop = OnProperty;
  VTermScreen* screen = vterm_obtain_screen(vterm_);
  vterm_screen_set_callbacks(screen, &callbacks, this);
  vterm_screen_reset(screen, 1);
  Start(options);
}

void Terminal::Start(ProgramOptions options) {
  // Everything the child needs is built before fork: after it, only async-signal-safe calls.
  std::vector<char*> argv = {options.program.data()}, envp;
  for (std::string& argument : options.arguments) argv.push_back(argument.data());
  for (std::string& entry : options.environment) envp.push_back(entry.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  const std::string directory = options.directory.string();

  winsize size{static_cast<unsigned short>(rows_), static_cast<unsigned short>(columns_), 0, 0};
  int slave = -1, report[2];
  if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    startError_ = std::string("openpty or pipe: ") + strerror(errno);
    return;
  }
  tcgetattr(slave, &initialSettings_);
  child_ = fork();
  if (child_ == 0) {
    close(master_);
    close(report[0]);
    if (login_tty(slave) != 0) FailChild(report[1], "taking the terminal");
    if (!directory.empty() && chdir(directory.c_str()) != 0) FailChild(report[1], "chdir");
    if (!options.standardInput.empty()) {
      const int input = open(options.standardInput.c_str(), O_RDONLY);
      if (input < 0 || dup2(input, STDIN_FILENO) < 0) FailChild(report[1], "opening the input");
      close(input);
    }
    if (options.unprivileged &&
        (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
      FailChild(report[1], "becoming user 65534");
    execvpe(argv[0], argv.data(), envp.data());
    FailChild(report[1], "exec");
  }
  close(slave);
  close(report[1]);
  ChildFailure failure{};
  const ssize_t received = child_ > 0 ? read(report[0], &failure, sizeof failure) : -1;
  close(report[0]);
  if (child_ < 0) {
    startError_ = std::string("fork: ") + strerror(errno);
  } else if (received == static_cast<ssize_t>(sizeof failure)) {
    startError_ = std::string(failure.step) + " refused: " + strerror(failure.error);
    Reap(true);
  }
}

Terminal::~Terminal() {
  if (child_ > 0 && !ended_) kill(child_, SIGKILL);
  Reap(true);
  close(master_);
  vterm_free(vterm_);
}

void Terminal::Reap(bool block) {
  if (!ended_ && child_ > 0 && waitpid(child_, &status_, block ? 0 : WNOHANG) == child_) {
    ended_ = true;
    endSeen_ = Clock::now();
  }
}

// Reads what the program wrote within a short slice: the child's end is only seen by asking.
void Terminal::Receive() {
  pollfd watched{master_, POLLIN, 0};
  if (poll(&watched, outputClosed_ ? 0 : 1, 20) > 0) {
    char bytes[65536];
    const ssize_t received = read(master_, bytes, sizeof bytes);
    outputClosed_ = received <= 0;  // EIO: every holder of the terminal's other side is gone
    if (received > 0) raw_.append(bytes, static_cast<size_t>(received));
    if (received > 0) vterm_input_write(vterm_, bytes, static_cast<size_t>(received));
  }
  Reap(false);
}

bool Terminal::WaitUntil(const std::function<bool(const Terminal&)>& condition,
                         std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition(*this)) {
    if (Clock::now() >= deadline || (ended_ && outputClosed_)) return false;
    Receive();
  }
  return true;
}

bool Terminal::WaitForText(int column, int row, std::string_view text,
                           std::chrono::milliseconds timeout) {
  return WaitUntil([&](const Terminal& t) { return t.Text(column, row, CellCount(text)) == text; },
                   timeout);
}

bool Terminal::WaitForExit(std::chrono::milliseconds timeout) {
  return WaitUntil(
      [](const Terminal& t) {
        return t.ended_ && (t.outputClosed_ || Clock::now() - t.endSeen_ >= QuietAfterEnd);
      },
      timeout);
}

void Terminal::SendKeys(std::string_view bytes) {
  // A blocking terminal takes a few keys whole.
  [[maybe_unused]] const ssize_t written = write(master_, bytes.data(), bytes.size());
}

void Terminal::Signal(int signalNumber) {
  if (!ended_) kill(child_, signalNumber);
}

std::string Terminal::Text(int column, int row, int length) const {
  std::string text(static_cast<size_t>(length) * 4 * VTERM_MAX_CHARS_PER_CELL, '\0');
  text.resize(vterm_screen_get_text(vterm_obtain_screen(vterm_), text.data(), text.size(),
                                    VTermRect{row - 1, row, column - 1, column - 1 + length}));
  // Erased cells after the last character are left out.
  return text + std::string(static_cast<size_t>(length - CellCount(text)), ' ');
}

std::string Terminal::TrimmedRow(int row) const {
  std::string text = Row(row);
  return text.erase(text.find_last_not_of(' ') + 1);
}

std::string Terminal::ScreenDump() const {
  std::string dump;
  for (int row = 1; row <= rows_; ++row) dump += TrimmedRow(row) + "\n";
  return dump;
}

int Terminal::Colour(int column, int row) const {
  VTermScreenCell cell{};
  if (!vterm_screen_get_cell(vterm_obtain_screen(vterm_), VTermPos{row - 1, column - 1}, &cell))
    return -1;
  const int bright = cell.attrs.bold ? 8 : 0;
  if (VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)) return 7 + bright;
  if (!VTERM_COLOR_IS_INDEXED(&cell.fg) || cell.fg.indexed.idx > 15) return -1;
  // ANSI orders red before blue; the PC palette blue before red.
  constexpr int PcColour[] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int index = cell.fg.indexed.idx;
  return PcColour[index & 7] + (index >= 8 ? 8 : bright);
}

VTermPos Terminal::Cursor() const {
  VTermPos position;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position;
}

termios Terminal::CurrentSettings() const {
  termios settings{};  // Linux answers for the program's side when asked on this side
  tcgetattr(master_, &settings);
  return settings;
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(std::begin(a.c_cc), std::end(a.c_cc), b.c_cc);
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gravix-e2e-XXXXXX").string();
  if (mkdtemp(pattern.data())) chmod((path_ = pattern).c_str(), 0755);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
