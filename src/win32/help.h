// Help through the Windows HTML Help viewer: "ORTELIA.chm" beside the program, at help
// context 3 (F1) or at its contents (the help button). The viewer's library is loaded
// when help is first asked for, so the program itself links statically; a missing help
// file or viewer is said in a message box.
#pragma once

#include <windows.h>

#include <filesystem>

namespace tv::win32 {

enum class HelpTopic { kContext, kContents };

void ShowHelp(HWND owner, const std::filesystem::path& program_folder, HelpTopic topic);

}  // namespace tv::win32
