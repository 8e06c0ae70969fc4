#include "export/frame_choice.h"

#include <cstddef>

namespace tv {

FrameChoiceResult ApplyFrameChoice(const std::vector<std::string>& entries,
                                   const std::vector<bool>& selected) {
  FrameChoiceResult result;
  for (std::size_t i = 0; i < entries.size() && i < selected.size(); ++i) {
    if (selected[i]) result.codes.push_back(entries[i]);
  }
  if (result.codes.size() > 2) {
    // "máximo" in code page 1252.
    result.message =
        "Demasiados Marcos Horarios seleccionados.\r\nComo m\xE1ximo puede seleccionar 2 "
        "Marcos Horarios";
  } else if (result.codes.empty()) {
    result.message = "Debe al menos seleccionar 1 Marco Horario.";
  } else {
    result.accepted = true;
  }
  return result;
}

}  // namespace tv
