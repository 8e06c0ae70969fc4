// Drives TransVelorOrtelia.exe as a person would, under Wine or on Windows: starts it
// normally or launched inside a host window that the driver makes, finds its windows by
// class and caption, clicks buttons, types into the file dialog's name box, selects
// frames in the list box and answers message boxes. Every wait is for a window or a
// state, with a time limit, never a fixed pause.
//
//   gui_driver SCENARIO PROGRAM.exe EXCHANGE.xml
// Scenarios:
//   export-normal    normal mode: export with frames 501 and 502 clicked (Ctrl-click
//                    for the second), "Proceso finalizado", both directions disabled,
//                    "&Salir"; the program ends with 0.
//   export-launched  launched inside the host: the window is the host's borderless child
//                    at its client origin; export with frame 501; the window closes
//                    itself.
//   missing-file     launched import of a file that does not exist: "No existe archivo",
//                    the window closes itself.
//   refused          launched export without the level table beside the program: the
//                    message, the window stays inside the host until "&Salir".
//   not-a-window     launched with a handle that names no window: an ordinary window
//                    with its caption; help (the button, then F1 on a button) says the
//                    help file is missing; "&Salir".
//   screenshots      not a test: saves pictures of the main window and of the frame
//                    dialog as BMP files in the folder given instead of an exchange
//                    file (the exchange file is then "centro.xml" beside the program).
// The flag the program leaves in Velorim.ini is checked by the script that runs this.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr wchar_t kCaption[] = L"TransVelorOrtelia";
constexpr wchar_t kMainCaption[] = L"Exportar e importar datos entre Velorim y Ortelia";
// The program's control identifiers.
constexpr int kExportButton = 201;
constexpr int kImportButton = 202;
constexpr int kCloseButton = 203;
constexpr int kHelpButton = 204;
constexpr int kFrameList = 102;
constexpr int kSlotList = 101;
constexpr int kContinueButton = 1;

PROCESS_INFORMATION program{};
int failures = 0;

void Fail(const std::wstring& what) {
  ++failures;
  std::fwprintf(stderr, L"FAIL: %ls\n", what.c_str());
}

void Check(bool ok, const std::wstring& what) {
  if (!ok) Fail(what);
}

// Handles the messages of the driver's own windows (the host) while it waits.
void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Waits until `ready` holds, handling messages meanwhile; false after the time limit.
bool WaitFor(const std::function<bool()>& ready) {
  const DWORD start = GetTickCount();
  while (!ready()) {
    if (GetTickCount() - start > kTimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return true;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  // WM_GETTEXT reaches another process's controls too.
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

bool OfProgram(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == program.dwProcessId;
}

// A visible top-level window of the program with this class and caption.
HWND FindTopLevel(const std::wstring& class_name, const std::wstring& caption) {
  struct Search {
    const std::wstring* class_name;
    const std::wstring* caption;
    HWND found;
  } search{&class_name, &caption, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (!OfProgram(window) || !IsWindowVisible(window)) return TRUE;
        if (ClassOf(window) != *s->class_name || TextOf(window) != *s->caption) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopLevel(const std::wstring& class_name, const std::wstring& caption) {
  HWND found = nullptr;
  if (!WaitFor([&] { return (found = FindTopLevel(class_name, caption)) != nullptr; })) {
    Fail(L"no window '" + caption + L"' of class " + class_name);
  }
  return found;
}

// A control anywhere inside `parent` with this identifier.
HWND FindControl(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(window) != s->id) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// The text of a message box of the program, then its button.
std::wstring AnswerBox() {
  HWND box = WaitForTopLevel(L"#32770", kCaption);
  if (box == nullptr) return L"<no box>";
  HWND text = GetDlgItem(box, 0xFFFF);
  const std::wstring said = text != nullptr ? TextOf(text) : L"<no text>";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  WaitFor([&] { return !IsWindow(box); });
  return said;
}

void ExpectBox(const std::wstring& expected) {
  const std::wstring said = AnswerBox();
  Check(said == expected, L"box said '" + said + L"', expected '" + expected + L"'");
}

// Types the name into the file dialog "Archivo XML" and opens it.
void ChooseFile(const std::wstring& name) {
  HWND dialog = WaitForTopLevel(L"#32770", L"Archivo XML");
  if (dialog == nullptr) return;
  // The name box: the combo box of explorer-style dialogs (its edit), or the plain edit.
  HWND box = FindControl(dialog, 0x47C);
  if (box != nullptr) {
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    if (edit != nullptr) box = edit;
  } else {
    box = FindControl(dialog, 0x480);
  }
  if (box == nullptr) {
    Fail(L"the file dialog has no name box");
    return;
  }
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  if (!WaitFor([&] { return !IsWindow(dialog); })) Fail(L"the file dialog stayed open");
}

// A click on an entry of a list box, with Ctrl held or not.
void ClickEntry(HWND list, int index, bool control) {
  // The list shows its entries from the first one, each as high as LB_GETITEMHEIGHT says.
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const LPARAM at = MAKELPARAM(10, index * height + height / 2);
  const WPARAM keys = control ? MK_CONTROL : 0;
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
  PostMessageW(list, WM_LBUTTONUP, keys, at);
}

// Selects the frames with these list indexes in the time-frame dialog and goes on.
void ChooseFrames(const std::vector<int>& indexes, int shown_slots) {
  HWND dialog = WaitForTopLevel(L"TPlantillas", L"Planillas, Marcos o Jornadas Horarias");
  if (dialog == nullptr) return;
  HWND frames = FindControl(dialog, kFrameList);
  HWND slots = FindControl(dialog, kSlotList);
  Check(frames != nullptr && slots != nullptr, L"the frame dialog's lists");
  if (frames == nullptr || slots == nullptr) return;
  Check(SendMessageW(frames, LB_GETCOUNT, 0, 0) == 2, L"two frames listed");
  Check(SendMessageW(frames, LB_GETSELCOUNT, 0, 0) == 0, L"nothing selected at first");
  bool first = true;
  for (int index : indexes) {
    ClickEntry(frames, index, !first);
    first = false;
  }
  const LRESULT wanted = static_cast<LRESULT>(indexes.size());
  if (!WaitFor([&] { return SendMessageW(frames, LB_GETSELCOUNT, 0, 0) == wanted; })) {
    Fail(L"the clicks did not select the frames");
  }
  // The slots of the frame clicked last are shown.
  if (!WaitFor([&] { return SendMessageW(slots, LB_GETCOUNT, 0, 0) == shown_slots; })) {
    Fail(L"the slot list shows " + std::to_wstring(SendMessageW(slots, LB_GETCOUNT, 0, 0)) +
         L" slots, expected " + std::to_wstring(shown_slots));
  }
  Click(FindControl(dialog, kContinueButton));
  if (!WaitFor([&] { return !IsWindow(dialog); })) Fail(L"the frame dialog stayed open");
}

bool Start(const std::wstring& exe, const std::wstring& parameters) {
  std::wstring command = L"\"" + exe + L"\"" + (parameters.empty() ? L"" : L" " + parameters);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &program)) {
    Fail(L"cannot start " + exe);
    return false;
  }
  return true;
}

// Waits for the program to end by itself; its exit code.
DWORD WaitForExit() {
  if (!WaitFor([] { return WaitForSingleObject(program.hProcess, 0) == WAIT_OBJECT_0; })) {
    Fail(L"the program did not end");
    TerminateProcess(program.hProcess, 99);
  }
  DWORD code = 0;
  GetExitCodeProcess(program.hProcess, &code);
  return code;
}

// The host window, as Velorim would make it.
HWND MakeHost() {
  WNDCLASSW host_class{};
  host_class.lpfnWndProc = DefWindowProcW;
  host_class.hInstance = GetModuleHandleW(nullptr);
  host_class.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
  host_class.lpszClassName = L"VelorimHost";
  RegisterClassW(&host_class);
  HWND host =
      CreateWindowExW(0, L"VelorimHost", L"Velorim", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                      760, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);
  Pump();
  return host;
}

std::wstring Hex(HWND window) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

// The program's window inside the host: the host's child, without border, at the
// origin of the host's client area.
HWND WaitForChildOf(HWND host) {
  HWND form = nullptr;
  if (!WaitFor([&] {
        form = FindWindowExW(host, nullptr, L"TMForm", nullptr);
        return form != nullptr && IsWindowVisible(form);
      })) {
    Fail(L"the window did not settle inside the host");
    return nullptr;
  }
  Check(GetParent(form) == host, L"the window's parent is the host");
  const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
  Check((style & WS_CHILD) != 0, L"the window has the child style");
  Check((style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME)) == 0,
        L"the window has no border");
  RECT place{};
  GetWindowRect(form, &place);
  POINT origin{0, 0};
  ClientToScreen(host, &origin);
  Check(place.left == origin.x && place.top == origin.y,
        L"the window sits at the host's client origin");
  RECT client{};
  GetClientRect(form, &client);
  Check(client.right == 632 && client.bottom == 266,
        L"client area " + std::to_wstring(client.right) + L" x " + std::to_wstring(client.bottom));
  return form;
}

// Saves what the screen shows of a window as a 24-bit BMP file, once it has painted.
void SaveWindow(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Pictures only, not a test: give the program a moment to paint what it was told to.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 700) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  RECT place{};
  GetWindowRect(window, &place);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
  GdiFlush();
  const DWORD row = static_cast<DWORD>((width * 3 + 3) & ~3);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + row * static_cast<DWORD>(height);
  if (FILE* out = _wfopen(file.c_str(), L"wb")) {
    std::fwrite(&header, sizeof(header), 1, out);
    std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
    std::fwrite(bits, row, static_cast<std::size_t>(height), out);
    std::fclose(out);
  } else {
    Fail(L"cannot write " + file);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

int Run(const std::wstring& scenario, const std::wstring& exe, const std::wstring& exchange) {
  if (scenario == L"export-normal") {
    if (!Start(exe, L"")) return 1;
    HWND form = WaitForTopLevel(L"TMForm", kMainCaption);
    if (form == nullptr) return 1;
    RECT client{};
    GetClientRect(form, &client);
    Check(client.right == 632 && client.bottom == 266, L"client area 632 x 266");
    Click(FindControl(form, kExportButton));
    ChooseFile(exchange);
    ChooseFrames({0, 1}, 6);  // 502, the afternoon, clicked last: its 6 slots
    ExpectBox(L"Proceso finalizado");
    Check(WaitFor([&] { return !IsWindowEnabled(FindControl(form, kExportButton)); }),
          L"export disabled after the finished run");
    Check(!IsWindowEnabled(FindControl(form, kImportButton)), L"import disabled too");
    Check(IsWindow(form), L"in normal use the window stays open");
    Click(FindControl(form, kCloseButton));
    Check(WaitForExit() == 0, L"exit code 0");
  } else if (scenario == L"export-launched") {
    HWND host = MakeHost();
    if (!Start(exe, L"exportar " + Hex(host))) return 1;
    HWND form = WaitForChildOf(host);
    ChooseFile(exchange);
    ChooseFrames({0}, 7);  // 501, the morning: its 7 slots
    ExpectBox(L"Proceso finalizado");
    Check(WaitForExit() == 0, L"the window closed itself and the program ended");
    Check(form == nullptr || !IsWindow(form), L"the window is gone from the host");
  } else if (scenario == L"missing-file") {
    HWND host = MakeHost();
    if (!Start(exe, L"IMPORTAR " + Hex(host))) return 1;
    WaitForChildOf(host);
    ChooseFile(exchange);
    ExpectBox(L"No existe archivo");
    Check(WaitForExit() == 0, L"the window closed itself and the program ended");
  } else if (scenario == L"refused") {
    HWND host = MakeHost();
    if (!Start(exe, L"exportar " + Hex(host))) return 1;
    HWND form = WaitForChildOf(host);
    ChooseFile(exchange);
    ExpectBox(L"ATENCI\u00D3N - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA");
    Check(WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT && IsWindow(form),
          L"after a refused run the window stays inside the host");
    Click(FindControl(form, kCloseButton));
    Check(WaitForExit() == 0, L"exit code 0");
  } else if (scenario == L"not-a-window") {
    if (!Start(exe, L"ver 7FFFFFF0")) return 1;
    HWND form = WaitForTopLevel(L"TMForm", kMainCaption);
    if (form == nullptr) return 1;
    Check((GetWindowLongPtrW(form, GWL_STYLE) & WS_CAPTION) != 0, L"a window with its caption");
    // No help file beside the program: the help button and F1 say so.
    const std::wstring missing = L"No se encuentra el archivo de ayuda " +
                                 exe.substr(0, exe.find_last_of(L'\\') + 1) + L"ORTELIA.chm";
    Click(FindControl(form, kHelpButton));
    ExpectBox(missing);
    PostMessageW(FindControl(form, kExportButton), WM_KEYDOWN, VK_F1, 0);
    ExpectBox(missing);
    Click(FindControl(form, kCloseButton));
    Check(WaitForExit() == 0, L"exit code 0");
  } else if (scenario == L"screenshots") {
    const std::wstring folder = exchange;
    const std::wstring sample = exe.substr(0, exe.find_last_of(L"\\") + 1) + L"centro.xml";
    if (!Start(exe, L"")) return 1;
    HWND form = WaitForTopLevel(L"TMForm", kMainCaption);
    if (form == nullptr) return 1;
    SaveWindow(form, folder + L"\\windows-main-window.bmp");
    Click(FindControl(form, kExportButton));
    ChooseFile(sample);
    HWND dialog = WaitForTopLevel(L"TPlantillas", L"Planillas, Marcos o Jornadas Horarias");
    if (dialog == nullptr) return 1;
    HWND frames = FindControl(dialog, kFrameList);
    ClickEntry(frames, 0, false);
    ClickEntry(frames, 1, true);
    WaitFor([&] { return SendMessageW(frames, LB_GETSELCOUNT, 0, 0) == 2; });
    SaveWindow(dialog, folder + L"\\windows-time-frames.bmp");
    Click(FindControl(dialog, kContinueButton));
    ExpectBox(L"Proceso finalizado");
    Click(FindControl(form, kCloseButton));
    WaitForExit();
  } else {
    Fail(L"unknown scenario " + scenario);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: gui_driver SCENARIO PROGRAM.exe EXCHANGE.xml\n");
    return 2;
  }
  const int status = Run(argv[1], argv[2], argv[3]);
  if (program.hProcess != nullptr && WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(program.hProcess, 99);
  }
  std::fwprintf(stderr, L"%ls: %ls\n", argv[1], status == 0 ? L"passed" : L"FAILED");
  return status;
}
