#include "e2e/terminal.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <utmp.h>
#include <vterm.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr uid_t NobodyId = 65534;
// A program that has ended but whose terminal is still held open (by a child it left
// behind) gets this long to say its last word.
constexpr std::chrono::milliseconds QuietAfterEnd{300};
constexpr std::chrono::milliseconds PollSlice{100};

// The step of the child's set-up that failed, sent back through a pipe with errno.
enum class ChildStep : int { Terminal, Directory, Input, Groups, Group, User, Exec };

struct ChildFailure {
  ChildStep step;
  int error;
};

const char* StepText(ChildStep step) {
  switch (step) {
    case ChildStep::Terminal:
      return "taking the terminal";
    case ChildStep::Directory:
      return "changing to the working directory";
    case ChildStep::Input:
      return "opening the standard input";
    case ChildStep::Groups:
      return "setgroups";
    case ChildStep::Group:
      return "setgid(65534)";
    case ChildStep::User:
      return "setuid(65534)";
    case ChildStep::Exec:
      return "exec";
  }
  return "?";
}

[[noreturn]] void FailChild(int reportFd, ChildStep step) {
  const ChildFailure failure{step, errno};
  ssize_t ignored = write(reportFd, &failure, sizeof failure);
  (void)ignored;
  _exit(127);
}

int OnProperty(VTermProp property, VTermValue* value, void* user) {
  auto& properties = *static_cast<TerminalProperties*>(user);
  if (property == VTERM_PROP_CURSORVISIBLE) properties.cursorVisible = value->boolean;
  if (property == VTERM_PROP_TITLE) properties.title = value->string ? value->string : "";
  return 1;
}

void DropAnswer(const char*, size_t, void*) {}

const VTermScreenCallbacks ScreenCallbacks = {nullptr, nullptr, nullptr, OnProperty,
                                              nullptr, nullptr, nullptr, nullptr};

void AppendUtf8(std::string& text, uint32_t c) {
  if (c < 0x80) {
    text.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (c >> 6)));
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (c >> 12)));
    text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (c >> 18)));
    text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace

std::vector<std::string> DefaultEnvironment() {
  std::vector<std::string> environment = {"TERM=xterm", "LANG=C.UTF-8"};
  for (const char* name : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = getenv(name)) environment.push_back(std::string(name) + "=" + value);
  }
  return environment;
}

Terminal::Terminal(const ProgramOptions& options) : columns_(options.columns), rows_(options.rows) {
  vterm_ = vterm_new(rows_, columns_);
  vterm_set_utf8(vterm_, 1);
  vterm_output_set_callback(vterm_, DropAnswer, nullptr);
  // The program shows colours 8-15 as bold plus 30-37, as the Linux console does.
  vterm_state_set_bold_highbright(vterm_obtain_state(vterm_), 1);
  VTermScreen* screen = vterm_obtain_screen(vterm_);
  vterm_screen_set_callbacks(screen, &ScreenCallbacks, &properties_);
  vterm_screen_reset(screen, 1);
  Start(options);
}

void Terminal::Start(const ProgramOptions& options) {
  // Everything the child needs is built before fork: after it, only async-signal-safe calls.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(options.program.c_str()));
  for (const std::string& argument : options.arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& entry : options.environment)
    envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  const std::string directory = options.directory.string();

  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns_);
  size.ws_row = static_cast<unsigned short>(rows_);
  int slave = -1;
  if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0) {
    startError_ = std::string("openpty: ") + strerror(errno);
    return;
  }
  tcgetattr(slave, &initialSettings_);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    startError_ = std::string("pipe: ") + strerror(errno);
    close(slave);
    return;
  }

  child_ = fork();
  if (child_ == 0) {
    close(master_);
    close(report[0]);
    if (login_tty(slave) != 0) FailChild(report[1], ChildStep::Terminal);
    if (!directory.empty() && chdir(directory.c_str()) != 0)
      FailChild(report[1], ChildStep::Directory);
    if (!options.standardInput.empty()) {
      const int input = open(options.standardInput.c_str(), O_RDONLY);
      if (input < 0 || dup2(input, STDIN_FILENO) < 0) FailChild(report[1], ChildStep::Input);
      close(input);
    }
    if (options.unprivileged) {
      if (setgroups(0, nullptr) != 0) FailChild(report[1], ChildStep::Groups);
      if (setgid(NobodyId) != 0) FailChild(report[1], ChildStep::Group);
      if (setuid(NobodyId) != 0) FailChild(report[1], ChildStep::User);
    }
    execvpe(argv[0], argv.data(), envp.data());
    FailChild(report[1], ChildStep::Exec);
  }
  close(slave);
  close(report[1]);
  if (child_ < 0) {
    startError_ = std::string("fork: ") + strerror(errno);
    close(report[0]);
    return;
  }
  // The pipe closes on exec; a failure report arrives before that.
  ChildFailure failure{};
  ssize_t received;
  do received = read(report[0], &failure, sizeof failure);
  while (received < 0 && errno == EINTR);
  close(report[0]);
  if (received == static_cast<ssize_t>(sizeof failure)) {
    startError_ = std::string(StepText(failure.step)) + " refused: " + strerror(failure.error);
    Reap(true);
    return;
  }
  childFd_ = static_cast<int>(syscall(SYS_pidfd_open, child_, 0));
}

Terminal::~Terminal() {
  if (child_ > 0 && !ended_) {
    kill(child_, SIGKILL);
    Reap(true);
  }
  if (childFd_ >= 0) close(childFd_);
  if (master_ >= 0) close(master_);
  vterm_free(vterm_);
}

void Terminal::Reap(bool block) {
  if (ended_ || child_ <= 0) return;
  pid_t done;
  do done = waitpid(child_, &status_, block ? 0 : WNOHANG);
  while (done < 0 && errno == EINTR);
  if (done == child_) {
    ended_ = true;
    endSeen_ = std::chrono::steady_clock::now();
  }
}

void Terminal::Receive(std::chrono::milliseconds wait) {
  pollfd watched[2];
  nfds_t count = 0;
  if (!outputClosed_) watched[count++] = {master_, POLLIN, 0};
  if (!ended_ && childFd_ >= 0) watched[count++] = {childFd_, POLLIN, 0};
  // Without a process descriptor the end is only seen by asking, so the wait is cut short.
  if (childFd_ < 0 && !ended_) wait = std::min(wait, std::chrono::milliseconds(10));
  if (poll(watched, count, static_cast<int>(wait.count())) < 0) return;
  if (!outputClosed_ && watched[0].revents != 0) {  // the terminal comes first when watched
    char bytes[65536];
    const ssize_t received = read(master_, bytes, sizeof bytes);
    if (received > 0) {
      raw_.append(bytes, static_cast<size_t>(received));
      vterm_input_write(vterm_, bytes, static_cast<size_t>(received));
    } else if (received == 0 || errno != EINTR) {
      outputClosed_ = true;  // EIO: every holder of the terminal's other side is gone
    }
  }
  Reap(false);
}

bool Terminal::WaitUntil(const std::function<bool(const Terminal&)>& condition,
                         std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition(*this)) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || (ended_ && outputClosed_)) return condition(*this);
    Receive(std::min(left, PollSlice));
  }
}

bool Terminal::WaitForText(int column, int row, std::string_view text,
                           std::chrono::milliseconds timeout) {
  // One cell per character: UTF-8 continuation bytes do not count.
  const int length = static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
  return WaitUntil(
      [&](const Terminal& terminal) { return terminal.Text(column, row, length) == text; },
      timeout);
}

bool Terminal::WaitForExit(std::chrono::milliseconds timeout) {
  return WaitUntil(
      [](const Terminal& terminal) {
        return terminal.ended_ &&
               (terminal.outputClosed_ ||
                std::chrono::steady_clock::now() - terminal.endSeen_ >= QuietAfterEnd);
      },
      timeout);
}

int Terminal::ExitCode() const { return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
int Terminal::EndSignal() const { return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

void Terminal::SendKeys(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(master_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void Terminal::Signal(int signalNumber) {
  if (child_ > 0 && !ended_) kill(child_, signalNumber);
}

std::string Terminal::Text(int column, int row, int length) const {
  std::string text;
  const VTermScreen* screen = vterm_obtain_screen(vterm_);
  for (int col = column; col < column + length; ++col) {
    VTermScreenCell cell{};
    if (row < 1 || row > rows_ || col < 1 || col > columns_ ||
        !vterm_screen_get_cell(screen, VTermPos{row - 1, col - 1}, &cell))
      continue;
    if (cell.chars[0] == static_cast<uint32_t>(-1)) continue;  // right half of a wide character
    if (cell.chars[0] == 0) text.push_back(' ');
    for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i)
      AppendUtf8(text, cell.chars[i]);
  }
  return text;
}

std::string Terminal::Row(int row) const { return Text(1, row, columns_); }
std::string Terminal::TrimmedRow(int row) const { return TrimRight(Row(row)); }

std::string Terminal::ScreenDump() const {
  std::string dump;
  for (int row = 1; row <= rows_; ++row) dump += TrimmedRow(row) + "\n";
  return dump;
}

int Terminal::Colour(int column, int row) const {
  VTermScreenCell cell{};
  if (!vterm_screen_get_cell(vterm_obtain_screen(vterm_), VTermPos{row - 1, column - 1}, &cell))
    return -1;
  const bool bold = cell.attrs.bold;
  if (VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)) return bold ? 15 : 7;
  if (!VTERM_COLOR_IS_INDEXED(&cell.fg) || cell.fg.indexed.idx > 15) return -1;
  // ANSI orders red before blue; the PC palette blue before red.
  constexpr int PcColour[] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int index = cell.fg.indexed.idx;
  return PcColour[index & 7] + (index >= 8 || bold ? 8 : 0);
}

int Terminal::CursorColumn() const {
  VTermPos position;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position.col + 1;
}

int Terminal::CursorRow() const {
  VTermPos position;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position.row + 1;
}

termios Terminal::CurrentSettings() const {
  // Linux answers for the terminal's program side when asked on this side.
  termios settings{};
  tcgetattr(master_, &settings);
  return settings;
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag &&
         std::equal(std::begin(a.c_cc), std::end(a.c_cc), std::begin(b.c_cc));
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gravix-e2e-XXXXXX").string();
  if (mkdtemp(pattern.data())) {
    path_ = pattern;
    chmod(pattern.c_str(), 0755);
  }
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
