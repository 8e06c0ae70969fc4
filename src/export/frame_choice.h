// The rules by which the time-frame dialog turns a selection into the export's choice,
// shared by every front end (the desktop dialogs, transvelor's --frames and its prompt).
#pragma once

#include <string>
#include <vector>

namespace tv {

struct FrameChoiceResult {
  bool accepted = false;
  // The codes of the selected entries, in list order, as the list shows them. Filled
  // also when the choice is refused.
  std::vector<std::string> codes;
  // The message to show when the choice is refused (code page 1252), else empty.
  std::string message;
};

// `entries` are the codes of the frame list as the file gives them (untrimmed), and
// `selected` says for each whether it is selected. More than two selected: refused
// with "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2
// Marcos Horarios"; none: refused with "Debe al menos seleccionar 1 Marco Horario.".
FrameChoiceResult ApplyFrameChoice(const std::vector<std::string>& entries,
                                   const std::vector<bool>& selected);

}  // namespace tv
