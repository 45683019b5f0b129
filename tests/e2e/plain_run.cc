#include "e2e/plain_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e/terminal.h"

PlainRun RunPlain(const std::vector<std::string>& arguments, const std::filesystem::path& directory,
                  const std::string& program, const std::vector<std::string>& environment) {
  ScratchDirectory streams;
  const std::string output = streams.Path() / "output", errors = streams.Path() / "errors";
  std::vector<std::string> words = {program}, settings = environment;
  words.insert(words.end(), arguments.begin(), arguments.end());
  settings.push_back("LANG=C.UTF-8");  // the caller's own settings come first and win
  for (const char* name : {"PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
    if (const char* value = getenv(name)) settings.push_back(std::string(name) + "=" + value);
  std::vector<char*> argv, envp;
  for (std::string& word : words) argv.push_back(word.data());
  for (std::string& setting : settings) envp.push_back(setting.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    setsid();  // no controlling terminal either
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(directory.c_str()) != 0)
      _exit(126);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  PlainRun run;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.status = WEXITSTATUS(status);
  run.output = ReadFileBytes(output);
  run.errors = ReadFileBytes(errors);
  return run;
}
