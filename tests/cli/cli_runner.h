// Running tarvik-scan as a real process for the command-line tests: its two streams and its exit
// status, optionally as the user nobody; and the bundled example as the text of a passing file.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/test_files.h"

namespace tarvik::test {

inline const char* const kExampleName = "TARVIK-EXAMPLE_DC8_20190521_R0.ict";

struct RunResult {
  std::string out, err;
  int exitCode = -1;  // -1 when the process did not exit normally
};

struct RunOptions {
  std::string cwd;        // empty: the test's own folder
  bool asNobody = false;  // the child drops root for the user nobody before it runs the program
};

inline RunOptions inFolder(std::string cwd) {
  RunOptions o;
  o.cwd = std::move(cwd);
  return o;
}
inline RunOptions asNobody() {
  RunOptions o;
  o.asNobody = true;
  return o;
}

// True when a child can become nobody (the tests run as root).
inline bool canRunAsNobody() { return ::geteuid() == 0 && ::getpwnam("nobody") != nullptr; }

// Runs argv (argv[0] looked up in PATH when it has no slash) and collects both streams.
inline RunResult runProgram(const std::vector<std::string>& argv, const RunOptions& opt = {}) {
  int outPipe[2], errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  uid_t nobodyUid = 0;
  gid_t nobodyGid = 0;
  if (opt.asNobody) {
    const passwd* pw = ::getpwnam("nobody");
    if (!pw) throw std::runtime_error("no user nobody");
    nobodyUid = pw->pw_uid;
    nobodyGid = pw->pw_gid;
  }
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
    if (!opt.cwd.empty() && ::chdir(opt.cwd.c_str()) != 0) ::_exit(126);
    if (opt.asNobody &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobodyGid) != 0 || ::setuid(nobodyUid) != 0))
      ::_exit(125);
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[0]);
    ::close(errPipe[1]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  RunResult res;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&res.out, &res.err};
  int open = 2;
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      char buf[4096];
      ssize_t n = ::read(fds[k].fd, buf, sizeof buf);
      if (n > 0) {
        sinks[k]->append(buf, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[k].fd);
        fds[k].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) res.exitCode = WEXITSTATUS(status);
  return res;
}

inline RunResult runScanner(std::vector<std::string> args, const RunOptions& opt = {}) {
  args.insert(args.begin(), TARVIK_SCAN_BINARY);
  return runProgram(args, opt);
}

inline std::string exampleText() {
  return readFile(std::string(TARVIK_SOURCE_DIR) + "/examples/" + kExampleName);
}

// The text with its line n (1-based) replaced.
inline std::string withLine(const std::string& text, int n, const std::string& replacement) {
  size_t start = 0;
  for (int i = 1; i < n; ++i) start = text.find('\n', start) + 1;
  size_t end = text.find('\n', start);
  return text.substr(0, start) + replacement + text.substr(end);
}

inline std::string passLine(const std::string& path) {
  return "PASS  " + path + "  report: " + path + "__diagnostic.htm\n";
}
inline std::string failLine(const std::string& path, int code) {
  return "FAIL  " + path + "  code " + std::to_string(code) + "  report: " + path + "__diagnostic.htm\n";
}

// The example's bad date on line 7: the file fails with code 10.
inline std::string failingText() { return withLine(exampleText(), 7, "2019, 13, 41, 2019, 06, 01"); }

}  // namespace tarvik::test
