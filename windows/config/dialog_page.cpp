#include "windows/config/dialog_page.h"

#include <uxtheme.h>

#include "windows/platform/wide_text.h"

namespace skyfare {

void DialogPage::create(HINSTANCE instance, HWND parent, int templateId, int pageId) {
  CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, &DialogPage::procedure,
                     reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr)
    return;
  SetWindowLongPtrW(window_, GWLP_ID, pageId);
  EnableThemeDialogTexture(window_, ETDT_ENABLETAB);
}

INT_PTR CALLBACK DialogPage::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* page = reinterpret_cast<DialogPage*>(lParam);
    page->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;
  }
  auto* page = reinterpret_cast<DialogPage*>(GetWindowLongPtrW(window, DWLP_USER));
  if (page == nullptr)
    return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    page->window_ = nullptr;
    return FALSE;
  }
  return page->handle(message, wParam, lParam) ? TRUE : FALSE;
}

void DialogPage::showText(int id, const std::wstring& text) {
  const bool before = showingText_;
  showingText_ = true;
  SetDlgItemTextW(window_, id, text.c_str());
  showingText_ = before;
}

void DialogPage::showUtf8(int id, const std::string& utf8) {
  showText(id, wideFromUtf8(utf8));
}

std::string DialogPage::utf8Text(int id) const {
  const HWND item = control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return utf8FromWide(text);
}

int DialogPage::dpi() const {
  const UINT windowDpi = GetDpiForWindow(window_);
  return windowDpi == 0 ? USER_DEFAULT_SCREEN_DPI : static_cast<int>(windowDpi);
}

}  // namespace skyfare
