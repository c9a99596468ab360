#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "windows/config/dialog_page.h"

namespace skyfare {

class SettingsStore;

// The "BackGround" tab: the background choice and the picture behind "Custom". The page holds
// the choice as the text last read from or written to BackGround; "Select Background" is usable
// exactly while that text is the number 3. The three options keep one marked whichever page is
// shown: Win32 leaves hidden siblings of a clicked option alone, so the page marks them itself.
class BackgroundPage final : public DialogPage {
 public:
  BackgroundPage(HINSTANCE instance, HWND parent, SettingsStore& store,
                 const std::wstring& dataFolderText, std::function<void()> selectBackground);

  void loadChoice();
  void showSelectBackgroundState();
  // Shows the stored background picture's path.
  void SelectBG();

 private:
  bool handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void chooseOption(int position);
  void BackGround();
  void drawSwatch(const DRAWITEMSTRUCT& item) const;

  SettingsStore& store_;
  std::function<void()> selectBackground_;
  std::string choice_;
};

}  // namespace skyfare
