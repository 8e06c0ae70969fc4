#include "child_process.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "util/env.h"

namespace tv::testing_support {

namespace fs = std::filesystem;

namespace {

fs::path OutputFile() {
  static int serial = 0;
  return fs::temp_directory_path() / ("tv-child-output-" +
                                      std::to_string(static_cast<long long>(
#ifdef _WIN32
                                          GetCurrentProcessId()
#else
                                          getpid()
#endif
                                              )) +
                                      "-" + std::to_string(++serial) + ".txt");
}

std::string ReadAndRemove(const fs::path& file) {
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::error_code ec;
  fs::remove(file, ec);
  return text;
}

#ifdef _WIN32
std::wstring Quoted(const std::wstring& argument) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}
#endif

}  // namespace

fs::path BuildProgram(const std::string& name) {
#ifdef _WIN32
  return env::ProgramFolder() / (name + ".exe");
#else
  return env::ProgramFolder() / name;
#endif
}

ChildRun RunChild(const fs::path& program, const std::vector<std::string>& arguments,
                  const std::vector<std::pair<std::string, std::string>>& environment) {
  const fs::path output_file = OutputFile();
  ChildRun run;
#ifdef _WIN32
  std::wstring command = Quoted(program.wstring());
  for (const std::string& argument : arguments) {
    command +=
        L" " + Quoted(fs::path(reinterpret_cast<const char8_t*>(argument.c_str())).wstring());
  }
  for (const auto& [name, value] : environment) {
    SetEnvironmentVariableW(fs::path(name).wstring().c_str(), fs::path(value).wstring().c_str());
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE output = CreateFileW(output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  for (const auto& [name, value] : environment) {
    SetEnvironmentVariableW(fs::path(name).wstring().c_str(), nullptr);
  }
  CloseHandle(output);
  CloseHandle(input);
  if (!started) throw std::runtime_error("cannot start " + program.string());
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  run.status = static_cast<int>(code);
#else
  std::vector<std::string> words = {program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) variables.emplace_back(*e);
  for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const int error =
      posix_spawn(&pid, words[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + program.string());
  int wait_status = 0;
  while (waitpid(pid, &wait_status, 0) < 0) {
  }
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
#endif
  run.output = ReadAndRemove(output_file);
  return run;
}

}  // namespace tv::testing_support
