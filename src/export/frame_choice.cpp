#include "export/frame_choice.h"

#include <cstddef>

namespace tv {

FrameChoiceResult ApplyFrameChoice(const std::vector<std::string>& entries,
                                   const std::vector<bool>& selected) {
  FrameChoiceResult result;
  std::size_t count = 0;
  for (std::size_t i = 0; i < entries.size() && i < selected.size(); ++i) {
    if (!selected[i]) continue;
    ++count;
    result.chosen_frames += (entries[i] + std::string(10, ' ')).substr(0, 10);
  }
  if (count > 2) {
    // "máximo" in code page 1252.
    result.message =
        "Demasiados Marcos Horarios seleccionados.\r\nComo m\xE1ximo puede seleccionar 2 "
        "Marcos Horarios";
  } else if (count == 0) {
    result.message = "Debe al menos seleccionar 1 Marco Horario.";
  } else {
    result.accepted = true;
  }
  return result;
}

}  // namespace tv
