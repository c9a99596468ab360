#pragma once

#include <windows.h>

#include <string>

#include "windows/config/dialog_page.h"
#include "windows/config/gdi_font.h"

namespace skyfare {

// The "Help" tab: three questions in bold, each with its answer wrapped below it.
class HelpPage final : public DialogPage {
 public:
  HelpPage(HINSTANCE instance, HWND parent, const std::wstring& dataFolderText);

 private:
  bool handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void showQuestionsBold();

  OwnedFont boldFont_;
};

}  // namespace skyfare
