#include "win32/widgets.h"

#include <memory>

namespace tv::win32 {

namespace {

constexpr wchar_t kPanelClass[] = L"TDraw3D";

struct Panel {
  HWND target = nullptr;
  PanelColours colours{};
  std::vector<PanelLabel> labels;
};

Panel* PanelOf(HWND window) {
  return reinterpret_cast<Panel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps) {
  auto channel = [&](int a, int b) { return a + (b - a) * step / (steps > 0 ? steps : 1); };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

void PaintPanel(HWND window, const Panel& panel) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  const int height = client.bottom;
  const int half = height / 2;
  for (int y = 0; y < height; ++y) {
    const COLORREF colour =
        y < half ? Mix(panel.colours.start, panel.colours.middle, y, half)
                 : Mix(panel.colours.middle, panel.colours.end, y - half, height - half - 1);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT line{0, y, client.right, y + 1};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
  SetBkMode(dc, TRANSPARENT);
  for (const PanelLabel& label : panel.labels) {
    HGDIOBJ old = SelectObject(dc, label.font);
    SetTextColor(dc, label.colour);
    RECT place{Scale(label.place.left), Scale(label.place.top), Scale(label.place.right),
               Scale(label.place.bottom)};
    const UINT format = label.word_wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_NOCLIP;
    DrawTextW(dc, label.text.c_str(), static_cast<int>(label.text.size()), &place,
              format | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Panel* panel = PanelOf(window);
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_NCDESTROY:
      delete panel;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (panel != nullptr) {
        PaintPanel(window, *panel);
        return 0;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      if (panel != nullptr && panel->target != nullptr) {
        return SendMessageW(panel->target, message, wparam, lparam);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int Scale(int pixels) {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return MulDiv(pixels, dpi, 96);
}

HFONT MakeFont(const FontStyle& style) {
  return CreateFontW(-Scale(style.pixel_height), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL,
                     style.italic, style.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, style.family);
}

void RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXW panel_class{};
  panel_class.cbSize = sizeof(panel_class);
  panel_class.lpfnWndProc = PanelProc;
  panel_class.hInstance = instance;
  panel_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panel_class.lpszClassName = kPanelClass;
  RegisterClassExW(&panel_class);
}

HWND MakePanel(HWND parent, HWND target, const RECT& place, PanelColours colours) {
  auto* panel = new Panel{target, colours, {}};
  return CreateWindowExW(
      WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
      Scale(place.left), Scale(place.top), Scale(place.right - place.left),
      Scale(place.bottom - place.top), parent, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), panel);
}

void AddPanelLabel(HWND panel, PanelLabel label) {
  if (Panel* state = PanelOf(panel)) state->labels.push_back(std::move(label));
  InvalidateRect(panel, nullptr, FALSE);
}

void SetPanelLabel(HWND panel, int id, const std::wstring& text) {
  Panel* state = PanelOf(panel);
  if (state == nullptr) return;
  for (PanelLabel& label : state->labels) {
    if (label.id != id) continue;
    label.text = text;
    RECT place{Scale(label.place.left), Scale(label.place.top), Scale(label.place.right),
               Scale(label.place.bottom)};
    InvalidateRect(panel, &place, FALSE);
  }
}

HWND MakeButton(HWND parent, int id, const std::wstring& text, const RECT& place, HFONT font,
                HBITMAP glyph, bool default_button) {
  HWND button = CreateWindowExW(
      0, L"BUTTON", text.c_str(),
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | (default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
      Scale(place.left), Scale(place.top), Scale(place.right - place.left),
      Scale(place.bottom - place.top), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (glyph != nullptr) {
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
  }
  return button;
}

namespace {

// A glyph drawn on the button face colour, so that it needs no transparency.
HBITMAP Glyph(void (*draw)(HDC dc)) {
  const int size = Scale(16);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  draw(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

void Polyline(HDC dc, COLORREF colour, int width, std::initializer_list<POINT> points) {
  HPEN pen = CreatePen(PS_SOLID, Scale(width), colour);
  HGDIOBJ old = SelectObject(dc, pen);
  std::vector<POINT> scaled;
  for (POINT p : points) scaled.push_back({Scale(p.x), Scale(p.y)});
  ::Polyline(dc, scaled.data(), static_cast<int>(scaled.size()));
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

HBITMAP CheckMarkGlyph() {
  static HBITMAP glyph = Glyph([](HDC dc) {
    Polyline(dc, RGB(0x00, 0x60, 0x00), 3, {{3, 8}, {6, 12}, {13, 4}});
    Polyline(dc, RGB(0x10, 0xA0, 0x10), 1, {{3, 8}, {6, 12}, {13, 4}});
  });
  return glyph;
}

HBITMAP CloseGlyph() {
  static HBITMAP glyph = Glyph([](HDC dc) {
    // The door frame, the door swung open, and the arrow that leads out.
    HBRUSH dark = CreateSolidBrush(RGB(0x20, 0x20, 0x20));
    RECT frame{Scale(6), Scale(2), Scale(14), Scale(14)};
    FillRect(dc, &frame, dark);
    DeleteObject(dark);
    HBRUSH wood = CreateSolidBrush(RGB(0xC8, 0x8A, 0x2E));
    HGDIOBJ old_brush = SelectObject(dc, wood);
    POINT door[] = {
        {Scale(6), Scale(2)}, {Scale(10), Scale(4)}, {Scale(10), Scale(15)}, {Scale(6), Scale(14)}};
    Polygon(dc, door, 4);
    SelectObject(dc, old_brush);
    DeleteObject(wood);
    Polyline(dc, RGB(0x10, 0x80, 0x10), 2, {{1, 8}, {5, 8}});
    Polyline(dc, RGB(0x10, 0x80, 0x10), 2, {{3, 6}, {1, 8}, {3, 10}});
  });
  return glyph;
}

}  // namespace tv::win32
