// The terminal as a run's user interface (transvelor export and import): the exchange
// file is the one given on the command line; messages go to standard output and errors
// to standard error, in the run's own words converted to UTF-8; the time frames come
// from --frames, or from a question on the terminal.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "util/user_interface.h"

namespace tv::cli {

// Whether standard input is a terminal someone can answer on.
bool StdinIsTerminal();

class TerminalUi : public UserInterface {
 public:
  // `frames`: the codes given with --frames (UTF-8), if any. `interactive`: whether the
  // frames may be asked for on `in` when --frames is missing.
  TerminalUi(std::filesystem::path file, std::optional<std::vector<std::string>> frames,
             std::istream& in, std::ostream& out, std::ostream& err, bool interactive);

  std::optional<std::filesystem::path> ChooseExchangeFile(
      const std::filesystem::path& previous) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  // With --frames: the frames with those codes (compared trimmed), in the file's order,
  // or, for three or more codes or a code that is no frame of the file, a message and
  // kCancelled. Without: on a terminal, the frames listed and the question asked (a
  // refused answer is asked again, the end of input cancels); otherwise a message listing
  // the codes and kCancelled.
  FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) override;
  void SetBusy(bool busy) override;

 private:
  std::filesystem::path file_;
  std::optional<std::vector<std::string>> frames_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool interactive_;
};

// Splits "1,2" (or "1, 2") into codes; empty parts are dropped.
std::vector<std::string> SplitCodes(const std::string& text);

}  // namespace tv::cli
