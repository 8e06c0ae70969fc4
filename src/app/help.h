// Help: the help file "ORTELIA.chm" beside the program, shown by the desktop's viewer
// for it. A missing file, or a desktop without a viewer, is said in a message box.
#pragma once

#include <filesystem>

#include "app/message_box.h"

namespace tv::app {

void ShowHelp(const std::filesystem::path& program_folder, const ModalOwner& owner);

}  // namespace tv::app
