#include "e2e/terminal.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// A failed set-up step in the child sends its errno back before exec would close the pipe.
[[noreturn]] void FailChild(int reportFd) {
  [[maybe_unused]] const ssize_t written = write(reportFd, &errno, sizeof errno);
  _exit(127);
}

// One cell per character: UTF-8 continuation bytes do not count.
int CellCount(std::string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

Terminal::Terminal(const ProgramOptions& options) : rows_(options.rows) {
  vterm_ = vterm_new(rows_, 80);
  vterm_set_utf8(vterm_, 1);
  // The program shows colours 8-15 as bold plus 30-37, as the Linux console does.
  vterm_state_set_bold_highbright(vterm_obtain_state(vterm_), 1);
  static VTermScreenCallbacks callbacks{};  // kept by libvterm
  callbacks.settermprop = [](VTermProp property, VTermValue* value, void* terminal) {
    if (property == VTERM_PROP_CURSORVISIBLE)
      static_cast<Terminal*>(terminal)->cursorVisible_ = value->boolean;
    return 1;
  };
  vterm_screen_set_callbacks(vterm_obtain_screen(vterm_), &callbacks, this);
  vterm_screen_reset(vterm_obtain_screen(vterm_), 1);

  // Everything the child needs is made before fork: after it, only async-signal-safe calls.
  ProgramOptions copy = options;
  copy.environment.insert(copy.environment.end(), {"TERM=xterm", "LANG=C.UTF-8"});
  for (const char* name : {"PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = getenv(name))
      copy.environment.push_back(std::string(name) + "=" + value);
  std::vector<char*> argv = {copy.program.data()}, envp;
  for (std::string& argument : copy.arguments) argv.push_back(argument.data());
  for (std::string& entry : copy.environment) envp.push_back(entry.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  winsize size{static_cast<unsigned short>(rows_), 80, 0, 0};
  int slave = -1, report[2], error = 0;
  if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    startError_ = std::string("openpty: ") + strerror(errno);
    return;
  }
  tcgetattr(slave, &initialSettings_);
  fcntl(master_, F_SETFL, O_NONBLOCK);
  if ((child_ = fork()) == 0) {
    close(master_);
    if (login_tty(slave) != 0 || (!copy.directory.empty() && chdir(copy.directory.c_str()) != 0))
      FailChild(report[1]);
    const int input = copy.standardInput.empty() ? 0 : open(copy.standardInput.c_str(), O_RDONLY);
    if (input < 0 || dup2(input, 0) < 0) FailChild(report[1]);
    if (copy.unprivileged && (setgroups(0, nullptr) || setgid(65534) || setuid(65534)))
      FailChild(report[1]);
    execvpe(argv[0], argv.data(), envp.data());
    FailChild(report[1]);
  }
  close(slave);
  close(report[1]);
  if (child_ < 0 || read(report[0], &error, sizeof error) == sizeof error)
    startError_ = copy.program + " not started: " + strerror(child_ < 0 ? errno : error);
  close(report[0]);
}

Terminal::~Terminal() {
  if (child_ > 0 && !ended_) kill(child_, SIGKILL), waitpid(child_, nullptr, 0);
  close(master_);
  vterm_free(vterm_);
}

// Reads what the program wrote within a short slice: the child's end is only seen by asking.
void Terminal::Receive() {
  pollfd watched{master_, POLLIN, 0};
  if (poll(&watched, outputClosed_ ? 0 : 1, 20) > 0) {
    char bytes[65536];
    const ssize_t received = read(master_, bytes, sizeof bytes);
    // EIO: every holder of the terminal's other side is gone.
    outputClosed_ = received == 0 || (received < 0 && errno != EAGAIN);
    if (received > 0) raw_.append(bytes, static_cast<size_t>(received));
    if (received > 0) vterm_input_write(vterm_, bytes, static_cast<size_t>(received));
  }
  if (!ended_ && child_ > 0 && waitpid(child_, &status_, WNOHANG) == child_) {
    ended_ = true;
    endSeen_ = Clock::now();
  }
}

// A program busy writing its screen takes no keys: its output is read while they wait to go in.
void Terminal::SendKeys(std::string_view bytes) {
  while (!bytes.empty() && !ended_) {
    const ssize_t written = write(master_, bytes.data(), bytes.size());
    if (written > 0) bytes.remove_prefix(static_cast<size_t>(written));
    if (written <= 0) Receive();
  }
}

bool Terminal::WaitUntil(const std::function<bool(const Terminal&)>& condition, Wait timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition(*this)) {
    if (Clock::now() >= deadline || (ended_ && outputClosed_)) return false;
    Receive();
  }
  return true;
}

bool Terminal::WaitForText(int column, int row, std::string_view text, Wait timeout) {
  return WaitUntil([&](const Terminal& t) { return t.Text(column, row, CellCount(text)) == text; },
                   timeout);
}

bool Terminal::WaitToShow(std::string_view text, Wait timeout) {
  return WaitUntil([&](const Terminal& t) { return t.ScreenDump().find(text) != text.npos; },
                   timeout);
}

// A program that has ended while a child it left behind (the wine server) still holds the
// terminal gets a moment to say its last word.
bool Terminal::WaitForExit(Wait timeout) {
  return WaitUntil(
      [](const Terminal& t) {
        return t.ended_ && (t.outputClosed_ || Clock::now() - t.endSeen_ >= Wait(300));
      },
      timeout);
}

std::string Terminal::Text(int column, int row, int length) const {
  std::string text(static_cast<size_t>(length) * 4 * VTERM_MAX_CHARS_PER_CELL, '\0');
  text.resize(vterm_screen_get_text(vterm_obtain_screen(vterm_), text.data(), text.size(),
                                    VTermRect{row - 1, row, column - 1, column - 1 + length}));
  return text + std::string(static_cast<size_t>(length - CellCount(text)), ' ');  // erased cells
}

std::string Terminal::TrimmedRow(int row) const {
  std::string text = Text(1, row, 80);
  return text.erase(text.find_last_not_of(' ') + 1);
}

std::string Terminal::ScreenDump() const {
  std::string dump;
  for (int row = 1; row <= rows_; ++row) dump += TrimmedRow(row) + "\n";
  return dump;
}

int Terminal::Colour(int column, int row) const {
  VTermScreenCell cell{};
  vterm_screen_get_cell(vterm_obtain_screen(vterm_), VTermPos{row - 1, column - 1}, &cell);
  const int index = cell.fg.indexed.idx, bright = cell.attrs.bold ? 8 : 0;
  if (VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)) return 7 + bright;
  if (!VTERM_COLOR_IS_INDEXED(&cell.fg) || index > 15) return -1;
  constexpr int PcColour[] = {0, 4, 2, 6, 1, 5, 3, 7};  // ANSI has red before blue, the PC blue
  return PcColour[index & 7] + (index >= 8 ? 8 : bright);
}

std::string Terminal::Cells(int first, int last) const {
  std::string cells;
  for (int row = first; row <= (last > 0 ? last : rows_); ++row)
    for (int column = 1; column <= 80; ++column) {
      const std::string text = Text(column, row, 1);
      // A blank's foreground shows nowhere: terminals differ in what they keep of it.
      cells += text + (text == " " ? '.' : "-0123456789ABCDEF"[Colour(column, row) + 1]);
      if (column == 80) cells += '\n';
    }
  return cells;
}

void Terminal::Resize(int rows, int columns) {
  const winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
  vterm_set_size(vterm_, rows, columns);
  rows_ = rows;
  ioctl(master_, TIOCSWINSZ, &size);
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

bool Terminal::SettingsAsBefore() const {
  const termios now = CurrentSettings(), &was = initialSettings_;
  return now.c_iflag == was.c_iflag && now.c_oflag == was.c_oflag && now.c_cflag == was.c_cflag &&
         now.c_lflag == was.c_lflag && std::equal(now.c_cc, now.c_cc + NCCS, was.c_cc);
}

// Through the shell, so that a program that never ends is ended by timeout. Each word is quoted
// with a blank in front of it.
PlainRun RunPlain(const std::vector<std::string>& command, const std::filesystem::path& directory,
                  const std::vector<std::string>& environment) {
  auto quoted = [](const std::string& word) {
    std::string text = " '";
    for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
  };
  const TempDir streams;
  std::string line = "cd" + quoted(directory) + " && env -i LANG=C.UTF-8";
  for (const char* name : {"PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
    if (const char* value = getenv(name)) line += quoted(std::string(name) + "=" + value);
  for (const std::string& setting : environment) line += quoted(setting);
  line += " setsid -w timeout 60";
  for (const std::string& word : command) line += quoted(word);
  line += " </dev/null >" + quoted(streams / "output") + " 2>" + quoted(streams / "errors");
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(streams / "output"),
          ReadBytes(streams / "errors")};
}
