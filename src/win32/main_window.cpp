#include "win32/main_window.h"

#include "desktop/window_texts.h"
#include "win32/help.h"
#include "win32/widgets.h"
#include "win32/win32_text.h"

namespace tv::win32 {

namespace {

namespace texts = desktop::texts;

constexpr wchar_t kMainClass[] = L"TMForm";
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 266;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Posted to itself once the window is on the screen: the launched direction starts.
constexpr UINT kFormShow = WM_APP + 1;

}  // namespace

TMForm::TMForm(desktop::MainWindowSetup setup)
    : setup_(std::move(setup)), program_folder_(setup_.folders.program_folder) {}

TMForm::~TMForm() {
  for (HFONT font : fonts_) DeleteObject(font);
}

void TMForm::RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW main_class{};
  main_class.cbSize = sizeof(main_class);
  main_class.lpfnWndProc = Proc;
  main_class.hInstance = instance;
  main_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  main_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  main_class.lpszClassName = kMainClass;
  RegisterClassExW(&main_class);
  RegisterPanelClass(instance);
}

void TMForm::Create(HWND window) {
  window_ = window;
  ui_ = std::make_unique<WindowUserInterface>(window);
  HFONT form = MakeFont({});
  HFONT heading = MakeFont({L"Arial", 16, true});
  HFONT bold = MakeFont({L"MS Sans Serif", 11, true});
  fonts_ = {form, heading, bold};

  const PanelColours warm{RGB(0xF9, 0xD3, 0x7D), RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xEE, 0xDD)};
  HWND draw3d2 = MakePanel(window, window, {0, 0, 315, 169}, warm);
  HWND draw3d3 = MakePanel(window, window, {315, 0, 632, 169}, warm);
  HWND draw3d1 = MakePanel(window, window, {0, 168, 633, 265},
                           {RGB(0xC2, 0xCD, 0xFE), RGB(0xCF, 0xF2, 0xFE), RGB(0xCC, 0xD8, 0xE6)});
  AddPanelLabel(
      draw3d2,
      {0, {24, 24, 289, 81}, WideFromUtf8(texts::kExportHeading), heading, RGB(0, 0, 0), true});
  AddPanelLabel(
      draw3d3,
      {0, {8, 24, 313, 81}, WideFromUtf8(texts::kImportHeading), heading, RGB(0, 0, 0), true});
  AddPanelLabel(
      draw3d1,
      {0, {8, 72, 400, 90}, WideFromUtf8(texts::kVersionLabel), bold, RGB(0xFF, 0, 0), false});
  b_exportar_ = MakeButton(draw3d2, kExportButtonId, WideFromUtf8(texts::kAccept),
                           {96, 120, 185, 145}, form, CheckMarkGlyph());
  b_importar_ = MakeButton(draw3d3, kImportButtonId, WideFromUtf8(texts::kAccept),
                           {96, 120, 185, 145}, form, CheckMarkGlyph());
  MakeButton(draw3d1, kCloseButtonId, WideFromUtf8(texts::kClose), {256, 32, 345, 57}, form,
             CloseGlyph());
  MakeButton(draw3d1, kHelpButtonId, WideFromUtf8(texts::kHelpButton), {264, 64, 339, 89}, form,
             nullptr);
}

void TMForm::EmbedInHost(std::uint32_t handle) {
  HWND host = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
  // A handle that names no window: the window stays as it is, a window of its own.
  if (host == nullptr || !IsWindow(host)) return;
  SetWindowLongPtrW(window_, GWL_STYLE, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
  SetParent(window_, host);
  SetWindowPos(window_, nullptr, 0, 0, Scale(kClientWidth), Scale(kClientHeight),
               SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void TMForm::EnableDirections(bool enabled) {
  EnableWindow(b_exportar_, enabled);
  EnableWindow(b_importar_, enabled);
}

void TMForm::CloseWindow() { SendMessageW(window_, WM_CLOSE, 0, 0); }

LRESULT CALLBACK TMForm::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<TMForm*>(create->lpCreateParams)->window_ = window;
  }
  auto* form = reinterpret_cast<TMForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return form->Handle(message, wparam, lparam);
}

LRESULT TMForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      Create(window_);
      return 0;
    case kFormShow:
      rules_->FormShow();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kExportButtonId:
          rules_->BExportarClick();
          return 0;
        case kImportButtonId:
          rules_->BImportarClick();
          return 0;
        case kCloseButtonId:
          CloseWindow();
          return 0;
        case kHelpButtonId:
          ShowHelp(window_, program_folder_, HelpTopic::kContents);
          return 0;
        default:
          break;
      }
      break;
    case WM_SETCURSOR:
      if (ui_ != nullptr && ui_->Busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // The flag is written first; when it cannot be, the window stays open.
      if (rules_ == nullptr || rules_->FormClose()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

int TMForm::Run() {
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT screen{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  HWND window = CreateWindowExW(kExStyle, kMainClass, WideFromUtf8(texts::kMainCaption).c_str(),
                                kStyle, screen.left + (screen.right - screen.left - width) / 2,
                                screen.top + (screen.bottom - screen.top - height) / 2, width,
                                height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (window == nullptr) return 1;
  rules_ = std::make_unique<desktop::MainWindowRules>(
      std::move(setup_), static_cast<desktop::MainWindowView&>(*this), *ui_);
  rules_->FormCreate();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  PostMessageW(window, kFormShow, 0, 0);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // F1 anywhere in the window: help at the window's help context.
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && window_ != nullptr &&
        (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
      ShowHelp(window_, program_folder_, HelpTopic::kContext);
      continue;
    }
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace tv::win32
