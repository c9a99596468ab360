#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "windows/config/dialog_page.h"
#include "windows/config/gdi_font.h"

namespace skyfare {

class SettingsStore;

// The "Logo/Message" tab: the logo picture and whether it is shown, and the message line with
// its font and size. The font list is sorted, so stored positions refer to the sorted order; a
// stored name or size text wins over a stored position, so what the user typed survives
// reopening. The sample shows the chosen face at a fixed 13.5 points, never the message's size.
class LogoMessagePage final : public DialogPage {
 public:
  LogoMessagePage(HINSTANCE instance, HWND parent, SettingsStore& store,
                  const std::wstring& dataFolderText, std::function<void()> selectLogo);

  void fillFontList(const std::vector<std::wstring>& reportedFaces);
  void loadFontPosition();
  // Selects the stored font name; a name the list lacks selects the face the system
  // substitutes for it, when listed, and leaves the store alone.
  void loadFontName(const std::function<std::wstring(const std::wstring&)>& substitutedFace);
  void loadMessage();
  void loadMessageChecked();
  void loadLogoChecked();
  void loadFontSizePosition();
  void loadFontSize();
  // Shows the stored logo's path.
  void SelectLogo();

 private:
  bool handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onCommand(int id, int code);
  void pickFont(int position);
  void pickFontSize(int position);
  void showSample();

  SettingsStore& store_;
  std::function<void()> selectLogo_;
  OwnedFont sampleFont_;
};

}  // namespace skyfare
