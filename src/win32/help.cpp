#include "win32/help.h"

#include "desktop/help_file.h"
#include "util/env.h"
#include "win32/message_box.h"

namespace tv::win32 {

namespace {

// From the HTML Help headers, which MinGW has but whose import library is not static.
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayContents = 0x0001;  // HH_DISPLAY_TOC
constexpr UINT kHelpContext = 0x000F;      // HH_HELP_CONTEXT

HtmlHelpFunction HtmlHelp() {
  static HtmlHelpFunction function = [] {
    HMODULE library = LoadLibraryW(L"hhctrl.ocx");
    return library == nullptr ? nullptr
                              : reinterpret_cast<HtmlHelpFunction>(
                                    reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
  }();
  return function;
}

}  // namespace

void ShowHelp(HWND owner, const std::filesystem::path& program_folder, HelpTopic topic) {
  const auto file = desktop::FindHelpFile(program_folder);
  if (!file) {
    ShowBox(owner, desktop::MissingHelpFileMessage(program_folder), BoxKind::kMessage);
    return;
  }
  HtmlHelpFunction html_help = HtmlHelp();
  HWND viewer = nullptr;
  if (html_help != nullptr) {
    viewer = topic == HelpTopic::kContext ? html_help(owner, file->c_str(), kHelpContext,
                                                      static_cast<DWORD_PTR>(desktop::kHelpContext))
                                          : html_help(owner, file->c_str(), kDisplayContents, 0);
  }
  if (viewer == nullptr) {
    ShowBox(owner, "No se puede abrir el archivo de ayuda " + env::PathText(*file),
            BoxKind::kMessage);
  }
}

}  // namespace tv::win32
