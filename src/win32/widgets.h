// What both windows of the Windows program are made of: the gradient background panels
// (which also draw the windows' labels, so that the labels are transparent over the
// gradient), the fonts, the button glyphs, and the layout in pixels of 96 dots per inch
// scaled to the screen's.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tv::win32 {

// A length of the layout (pixels at 96 dots per inch) on this screen.
int Scale(int pixels);

// A font by family, height in pixels at 96 dots per inch, and style.
struct FontStyle {
  const wchar_t* family = L"MS Sans Serif";
  int pixel_height = 11;  // 8 points
  bool bold = false;
  bool italic = false;
  bool underline = false;
};
HFONT MakeFont(const FontStyle& style);

// A gradient panel: a child window of class "TDraw3D" that fills itself top to bottom
// from `start` through `middle` to `end`, draws its labels over it, and passes the
// commands of the buttons on it to `target`.
struct PanelColours {
  COLORREF start;
  COLORREF middle;
  COLORREF end;
};
HWND MakePanel(HWND parent, HWND target, const RECT& place, PanelColours colours);

// A label drawn by its panel; `id` names it for SetPanelLabel.
struct PanelLabel {
  int id = 0;
  RECT place{};  // in the panel, at 96 dots per inch
  std::wstring text;
  HFONT font = nullptr;
  COLORREF colour = RGB(0, 0, 0);
  bool word_wrap = false;
};
void AddPanelLabel(HWND panel, PanelLabel label);
void SetPanelLabel(HWND panel, int id, const std::wstring& text);

// A push button on `parent` (at 96 dots per inch), with an optional glyph beside its text.
HWND MakeButton(HWND parent, int id, const std::wstring& text, const RECT& place, HFONT font,
                HBITMAP glyph, bool default_button = false);

// The glyphs of the OK kind (a green check mark) and of the close kind (an open door).
HBITMAP CheckMarkGlyph();
HBITMAP CloseGlyph();

// The panel class; registered once.
void RegisterPanelClass(HINSTANCE instance);

}  // namespace tv::win32
