#include "cli/terminal_ui.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "cli/terminal_text.h"
#include "export/frame_choice.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/text.h"

namespace tv::cli {

bool StdinIsTerminal() { return env::StandardInputIsTerminal(); }

namespace {

// A message for the terminal: UTF-8, one "\n" per line.
std::string ForTerminal(const std::string& text) {
  std::string out;
  const std::string utf8 = Cp1252ToUtf8(text);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    out += utf8[i];
  }
  return TerminalText(out, true);
}

std::string FrameCodes(const std::vector<TimeFrame>& frames) {
  std::string list;
  for (const TimeFrame& frame : frames) {
    if (!list.empty()) list += ", ";
    list += "'" + AllTrim(frame.code) + "'";
  }
  return list;
}

// The choice the codes name, as the dialog would make it from the same selection; a
// refusal carries its message.
FrameChoiceResult ChooseByCodes(const std::vector<TimeFrame>& frames,
                                const std::vector<std::string>& codes_utf8) {
  std::vector<std::string> codes;
  for (const std::string& code : codes_utf8) codes.push_back(AllTrim(Utf8ToCp1252(code)));
  if (codes.size() > 2) {
    // Three codes are refused as the dialog refuses three selected frames.
    return ApplyFrameChoice({"", "", ""}, {true, true, true});
  }
  for (const std::string& code : codes) {
    bool known = false;
    for (const TimeFrame& frame : frames) known = known || AllTrim(frame.code) == code;
    if (!known) {
      FrameChoiceResult unknown;
      unknown.message = "El Marco Horario '" + code + "' no est\xE1 en el archivo. Marcos " +
                        "del archivo: " + FrameCodes(frames) + ".";
      return unknown;
    }
  }
  std::vector<std::string> entries;
  std::vector<bool> selected;
  for (const TimeFrame& frame : frames) {
    entries.push_back(frame.code);
    bool chosen = false;
    for (const std::string& code : codes) chosen = chosen || AllTrim(frame.code) == code;
    selected.push_back(chosen);
  }
  return ApplyFrameChoice(entries, selected);
}

}  // namespace

std::vector<std::string> SplitCodes(const std::string& text) {
  std::vector<std::string> codes;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    std::string part = AllTrim(text.substr(start, comma - start));
    if (!part.empty()) codes.push_back(std::move(part));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return codes;
}

TerminalUi::TerminalUi(std::filesystem::path file, std::optional<std::vector<std::string>> frames,
                       std::istream& in, std::ostream& out, std::ostream& err, bool interactive)
    : file_(std::move(file)),
      frames_(std::move(frames)),
      in_(in),
      out_(out),
      err_(err),
      interactive_(interactive) {}

std::optional<std::filesystem::path> TerminalUi::ChooseExchangeFile(
    const std::filesystem::path& /*previous*/) {
  return file_;
}

void TerminalUi::ShowMessage(const std::string& text) {
  pending_.push_back(text);
  shown_.push_back(text);
}

void TerminalUi::ShowError(const std::string& text) {
  err_ << ForTerminal(text) << std::endl;
  shown_.push_back(text);
}

void TerminalUi::PrintMessages(bool finished) {
  std::ostream& stream = finished ? out_ : err_;
  for (const std::string& text : pending_) stream << ForTerminal(text) << std::endl;
  pending_.clear();
}

void TerminalUi::SetBusy(bool /*busy*/) {}

FrameChoice TerminalUi::ChooseFrames(const std::vector<TimeFrame>& frames) {
  const FrameChoice cancelled{FrameChoice::Kind::kCancelled, {}};
  if (frames_) {
    const FrameChoiceResult result = ChooseByCodes(frames, *frames_);
    if (!result.accepted) {
      ShowError(result.message);
      return cancelled;
    }
    return {FrameChoice::Kind::kAccepted, result.codes};
  }
  if (!interactive_) {
    ShowError("El archivo tiene " + std::to_string(frames.size()) +
              " Marcos Horarios: elija 1 o 2 con --frames C\xD3"
              "DIGO[,C\xD3"
              "DIGO]. Marcos del "
              "archivo: " +
              FrameCodes(frames) + ".");
    return cancelled;
  }
  out_ << ForTerminal("Marcos Horarios del archivo:") << "\n";
  for (const TimeFrame& frame : frames) {
    out_ << "  " << ForTerminal(AllTrim(frame.code)) << "  " << ForTerminal(AllTrim(frame.name))
         << "  (" << ForTerminal(AllTrim(frame.start_date)) << " - "
         << ForTerminal(AllTrim(frame.end_date)) << ")\n";
    std::string slots;
    for (const std::string& text : frame.slot_texts) {
      if (!slots.empty()) slots += ", ";
      slots += AllTrim(text);
    }
    out_ << "      " << ForTerminal(slots) << "\n";
  }
  out_ << ForTerminal(
              "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en "
              "Velorim (c\xF3"
              "digos separados por comas): ")
       << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) return cancelled;
  const FrameChoiceResult result = ChooseByCodes(frames, SplitCodes(answer));
  if (!result.accepted) {
    // Said at once: the question comes again.
    err_ << ForTerminal(result.message) << std::endl;
    return {FrameChoice::Kind::kRefused, {}};
  }
  return {FrameChoice::Kind::kAccepted, result.codes};
}

}  // namespace tv::cli
