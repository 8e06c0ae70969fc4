// Runs a program of the build as a separate process, as a user or another program would,
// so that a test survives the program ending abruptly.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tv::testing_support {

struct ChildRun {
  int status = -1;     // the exit status (128 + the signal's number when a signal ended it)
  std::string output;  // what it wrote to standard output and standard error, in order
};

// Runs `program` with `arguments` and, added to this process's environment, `environment`;
// standard input is empty. Waits for it to end.
ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::vector<std::pair<std::string, std::string>>& environment = {});

// A program of the build, by its name without ".exe": it sits beside the test program.
std::filesystem::path BuildProgram(const std::string& name);

}  // namespace tv::testing_support
