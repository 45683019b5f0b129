#include "e2e/terminal.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int CellCount(std::string_view text) {  // a UTF-8 continuation byte starts no cell
  return static_cast<int>(std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; }));
}

std::vector<std::string> Environment(const std::vector<std::string>& asked) {
  std::vector<std::string> settings = {"LANG=C.UTF-8"};
  for (const char* name : {"PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = getenv(name)) settings.push_back(std::string(name) + "=" + value);
  settings.insert(settings.end(), asked.begin(), asked.end());
  return settings;
}

}  // namespace

Terminal::Terminal(const ProgramOptions& options)
    : rows_(options.rows), columns_(options.columns), vterm_(vterm_new(rows_, columns_)) {
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
  std::vector<std::string> words = options.arguments, settings = Environment(options.environment);
  words.insert(words.begin(), options.program);
  settings.push_back("TERM=xterm");
  std::vector<char*> argv, envp;
  for (std::string& word : words) argv.push_back(word.data());
  for (std::string& setting : settings) envp.push_back(setting.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  const char *directory = options.directory.c_str(), *input = options.standardInput.c_str();
  const winsize size{static_cast<unsigned short>(rows_), static_cast<unsigned short>(columns_), 0,
                     0};
  int slave = -1, report[2], error = 0;
  if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    startError_ = std::string("openpty: ") + strerror(errno);
    return;
  }
  tcgetattr(slave, &initialSettings_);
  fcntl(master_, F_SETFL, O_NONBLOCK);
  if ((child_ = fork()) == 0) {
    close(master_);
    if (login_tty(slave) == 0 && (!*directory || chdir(directory) == 0) &&
        (!*input || dup2(open(input, O_RDONLY), 0) == 0) &&
        (!options.unprivileged || geteuid() != 0 ||
         (!setgroups(0, nullptr) && !setgid(65534) && !setuid(65534))))
      execvpe(argv[0], argv.data(), envp.data());
    // The failed step's errno goes back; an exec would have closed the pipe.
    [[maybe_unused]] const ssize_t written = write(report[1], &errno, sizeof errno);
    _exit(127);
  }
  close(slave);
  close(report[1]);
  if (child_ < 0 || read(report[0], &error, sizeof error) == sizeof error)
    startError_ = options.program + " not started: " + strerror(child_ < 0 ? errno : error);
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
    raw_.append(bytes, std::max<ssize_t>(received, 0));
    vterm_input_write(vterm_, bytes, std::max<ssize_t>(received, 0));
  }
  if (!ended_ && child_ > 0 && waitpid(child_, &status_, WNOHANG) == child_)
    ended_ = true, endSeen_ = Clock::now();
}

// A program busy writing its screen takes no keys: its output is read while they wait to go in.
void Terminal::SendKeys(std::string_view bytes) {
  while (!bytes.empty() && !ended_) {
    const ssize_t written = write(master_, bytes.data(), bytes.size());
    if (written > 0) bytes.remove_prefix(written);
    if (written <= 0) Receive();
  }
}

bool Terminal::WaitUntil(const std::function<bool(const Terminal&)>& condition, Wait timeout) {
  for (const auto deadline = Clock::now() + timeout; !condition(*this); Receive())
    if (Clock::now() >= deadline || (ended_ && outputClosed_)) return false;
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

// A program whose child (the wine server) still holds the terminal gets a moment for its last
// word.
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
  std::string text = Text(1, row, columns_);
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
  for (int row = first; row <= (last > 0 ? last : rows_); ++row, cells += '\n')
    for (int column = 1; column <= 80; ++column) {
      const std::string text = Text(column, row, 1);
      // A blank's foreground shows nowhere: terminals differ in what they keep of it.
      cells += text + (text == " " ? '.' : "-0123456789ABCDEF"[Colour(column, row) + 1]);
    }
  return cells;
}

void Terminal::Resize(int rows, int columns) {
  const winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
  vterm_set_size(vterm_, rows_ = rows, columns_ = columns);
  ioctl(master_, TIOCSWINSZ, &size);
}

VTermPos Terminal::Cursor() const {
  VTermPos position;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
  return position;
}

termios Terminal::Settings() const {
  termios settings{};  // Linux answers for the program's side when asked on this side
  tcgetattr(master_, &settings);
  return settings;
}

bool Terminal::SettingsAsBefore() const {
  const termios now = Settings(), &was = initialSettings_;
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
  std::string line = "cd" + quoted(directory) + " && env -i";
  for (const std::string& setting : Environment(environment)) line += quoted(setting);
  line += " setsid -w timeout 60";
  for (const std::string& word : command) line += quoted(word);
  line += " </dev/null >" + quoted(streams / "output") + " 2>" + quoted(streams / "errors");
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(streams / "output"),
          ReadBytes(streams / "errors")};
}

std::set<std::string> Files(const std::filesystem::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    names.insert(entry.path().filename());
  return names;
}

std::string ZeroLines(int first, int last) {
  std::string lines;
  for (int line = first; line <= last; ++line)
    lines += std::to_string(line) + " 00000000000000000000 0\n";
  return lines;
}
