#pragma once

#include <windows.h>

#include <string>

namespace skyfare {

// A child dialog made from a template: a tab page of the Control Box. The window lives as long
// as its parent; this object must outlive it, and the window stops calling it once it is gone.
// Pages get the tab control's themed background, so their labels and boxes do not sit in grey
// rectangles on a white page.
class DialogPage {
 public:
  DialogPage(const DialogPage&) = delete;
  DialogPage& operator=(const DialogPage&) = delete;
  virtual ~DialogPage() = default;

  HWND window() const { return window_; }
  HWND control(int id) const { return GetDlgItem(window_, id); }

 protected:
  DialogPage() = default;
  // Makes the page window; its id among the parent's children is `pageId`.
  void create(HINSTANCE instance, HWND parent, int templateId, int pageId);

  // Messages after WM_INITDIALOG; true when handled.
  virtual bool handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Sets a control's text from the store's text without the control's change handling, which
  // Win32 runs for text set by the program as for text typed.
  void showText(int id, const std::wstring& text);
  void showUtf8(int id, const std::string& utf8);
  bool showingText() const { return showingText_; }

  std::string utf8Text(int id) const;
  int dpi() const;

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  bool showingText_ = false;
};

}  // namespace skyfare
