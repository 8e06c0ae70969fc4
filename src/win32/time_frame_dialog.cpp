#include "win32/time_frame_dialog.h"

#include "desktop/time_frame_dialog_rules.h"
#include "desktop/window_texts.h"
#include "win32/message_box.h"
#include "win32/widgets.h"
#include "win32/win32_text.h"

namespace tv::win32 {

namespace {

namespace texts = desktop::texts;

constexpr wchar_t kDialogClass[] = L"TPlantillas";
constexpr int kClientWidth = 370;
constexpr int kClientHeight = 288;
constexpr COLORREF kMaroon = RGB(0x80, 0x00, 0x00);

enum LabelId { kLabelSelec = 1, kLabelNombre, kLabelPlanFec1, kLabelPlanFec2 };

class TPlantillas {
 public:
  explicit TPlantillas(const std::vector<TimeFrame>& frames) : rules_(frames) {}

  FrameChoice Run(HWND owner);

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Create(HWND window);
  void FormActivate();
  void ListBox2Click();
  void ShowDetails(int current);
  void FormClose();

  desktop::TimeFrameDialogRules rules_;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  HWND list_box2_ = nullptr;
  HWND list_box1_ = nullptr;
  HWND continue_ = nullptr;
  std::vector<HFONT> fonts_;
  bool closed_ = false;
  FrameChoice choice_;
};

HFONT Keep(std::vector<HFONT>& fonts, const FontStyle& style) {
  fonts.push_back(MakeFont(style));
  return fonts.back();
}

void TPlantillas::Create(HWND window) {
  window_ = window;
  panel_ = MakePanel(window, window, {0, 0, kClientWidth, kClientHeight},
                     {RGB(0xC2, 0xCD, 0xFE), RGB(0xCF, 0xF2, 0xFE), RGB(0xCC, 0xD8, 0xE6)});
  HFONT form = Keep(fonts_, {});
  HFONT maroon = Keep(fonts_, {L"Arial", 16, true});
  AddPanelLabel(panel_, {0,
                         {16, 2, 337, 35},
                         WideFromUtf8(texts::kFramesHeading),
                         Keep(fonts_, {L"Arial", 13, true}),
                         RGB(0, 0, 0),
                         true});
  AddPanelLabel(panel_, {kLabelSelec,
                         {16, 36, 337, 86},
                         WideFromUtf8(texts::kFramesHint),
                         Keep(fonts_, {L"MS Sans Serif", 11, true, true}),
                         RGB(0xFF, 0, 0),
                         true});
  AddPanelLabel(panel_,
                {0, {40, 86, 114, 102}, WideFromUtf8(texts::kFramesList), maroon, kMaroon, false});
  AddPanelLabel(panel_, {kLabelNombre,
                         {9, 151, 129, 192},
                         L"-",
                         Keep(fonts_, {L"Arial", 16, true, false, true}),
                         kMaroon,
                         true});
  AddPanelLabel(panel_, {kLabelPlanFec1, {9, 196, 129, 219}, L"-", maroon, kMaroon, false});
  AddPanelLabel(panel_, {kLabelPlanFec2, {9, 226, 129, 249}, L"-", maroon, kMaroon, false});
  AddPanelLabel(panel_,
                {0, {215, 86, 282, 104}, WideFromUtf8(texts::kSlotsList), maroon, kMaroon, false});

  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  list_box2_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL |
                                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               Scale(16), Scale(103), Scale(127), Scale(45), panel_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFrameListId)),
                               instance, nullptr);
  list_box1_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, Scale(152),
      Scale(103), Scale(193), Scale(146), panel_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSlotListId)), instance, nullptr);
  SendMessageW(list_box2_, WM_SETFONT, reinterpret_cast<WPARAM>(form), FALSE);
  SendMessageW(list_box1_, WM_SETFONT, reinterpret_cast<WPARAM>(form), FALSE);
  continue_ =
      MakeButton(panel_, kContinueButtonId, WideFromUtf8(texts::kContinue), {255, 253, 344, 278},
                 Keep(fonts_, {L"MS Sans Serif", 11, true}), CheckMarkGlyph(), true);
}

void TPlantillas::FormActivate() {
  SendMessageW(list_box2_, LB_RESETCONTENT, 0, 0);
  for (const std::string& code : rules_.Entries()) {
    SendMessageW(list_box2_, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(WideFromCp1252(code).c_str()));
  }
  // The first frame's details, nothing selected.
  ShowDetails(0);
  if (rules_.NoFrames()) {
    SetPanelLabel(panel_, kLabelSelec, WideFromUtf8(texts::kNoFramesHint));
    SetWindowTextW(continue_, WideFromUtf8(texts::kCancel).c_str());
  }
}

void TPlantillas::ListBox2Click() {
  // The entry last clicked or reached with the keyboard, selected or not.
  ShowDetails(static_cast<int>(SendMessageW(list_box2_, LB_GETCARETINDEX, 0, 0)));
}

void TPlantillas::ShowDetails(int current) {
  const auto details = rules_.DetailsOf(current);
  SetPanelLabel(panel_, kLabelNombre, WideFromCp1252(details.name));
  SetPanelLabel(panel_, kLabelPlanFec1, WideFromCp1252(details.start_date));
  SetPanelLabel(panel_, kLabelPlanFec2, WideFromCp1252(details.end_date));
  SendMessageW(list_box1_, LB_RESETCONTENT, 0, 0);
  for (const std::string& text : details.slot_texts) {
    SendMessageW(list_box1_, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(WideFromCp1252(text).c_str()));
  }
}

void TPlantillas::FormClose() {
  if (closed_) return;
  closed_ = true;
  std::vector<bool> selected;
  const int count = static_cast<int>(SendMessageW(list_box2_, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    selected.push_back(SendMessageW(list_box2_, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0);
  }
  const auto closing = rules_.Close(selected);
  if (!closing.message.empty()) ShowBox(window_, closing.message, BoxKind::kMessage);
  choice_ = closing.choice;
  DestroyWindow(window_);
}

LRESULT CALLBACK TPlantillas::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* dialog = reinterpret_cast<TPlantillas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_CREATE:
      dialog->Create(window);
      return 0;
    case WM_COMMAND:
      if (dialog == nullptr) break;
      if (LOWORD(wparam) == kFrameListId && HIWORD(wparam) == LBN_SELCHANGE) {
        dialog->ListBox2Click();
        return 0;
      }
      if (LOWORD(wparam) == kContinueButtonId || LOWORD(wparam) == IDCANCEL) {
        dialog->FormClose();
        return 0;
      }
      break;
    case WM_CLOSE:
      if (dialog != nullptr) dialog->FormClose();
      return 0;
    case WM_DESTROY:
      if (dialog != nullptr) dialog->closed_ = true;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

FrameChoice TPlantillas::Run(HWND owner) {
  HWND root = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred over the window it belongs to.
  RECT over{};
  if (root != nullptr) {
    GetWindowRect(root, &over);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  }
  const int left = over.left + (over.right - over.left - width) / 2;
  const int top = over.top + (over.bottom - over.top - height) / 2;
  HWND window =
      CreateWindowExW(ex_style, kDialogClass, WideFromUtf8(texts::kFramesCaption).c_str(), style,
                      left, top, width, height, root, nullptr, GetModuleHandleW(nullptr), this);
  if (window == nullptr) return {FrameChoice::Kind::kCancelled, {}};
  if (root != nullptr) EnableWindow(root, FALSE);
  FormActivate();
  ShowWindow(window, SW_SHOW);
  SetFocus(list_box2_);
  MSG message;
  while (!closed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (!closed_) PostQuitMessage(static_cast<int>(message.wParam));  // WM_QUIT: pass it on
  if (root != nullptr) {
    EnableWindow(root, TRUE);
    SetActiveWindow(root);
  }
  if (IsWindow(window)) DestroyWindow(window);
  for (HFONT font : fonts_) DeleteObject(font);
  return choice_;
}

}  // namespace

void RegisterTimeFrameDialogClass(HINSTANCE instance) {
  WNDCLASSEXW dialog_class{};
  dialog_class.cbSize = sizeof(dialog_class);
  dialog_class.lpfnWndProc = TPlantillas::Proc;
  dialog_class.hInstance = instance;
  dialog_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  dialog_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  dialog_class.lpszClassName = kDialogClass;
  RegisterClassExW(&dialog_class);
}

FrameChoice ShowTimeFrameDialog(HWND owner, const std::vector<TimeFrame>& frames) {
  TPlantillas dialog(frames);
  return dialog.Run(owner);
}

}  // namespace tv::win32
