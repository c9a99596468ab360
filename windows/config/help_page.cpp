#include "windows/config/help_page.h"

#include <utility>

#include "windows/config/control_ids.h"

namespace skyfare {

HelpPage::HelpPage(HINSTANCE instance, HWND parent, const std::wstring& dataFolderText) {
  create(instance, parent, IDD_HelpPage, IDC_pageHelp);
  if (window() == nullptr)
    return;
  showText(IDC_lblAnswer1,
           L"The first thing you need is a background.  The size needs to be 800x600 pixels to "
           L"fill the entire screen.  The file needs to be placed in " +
               dataFolderText + std::wstring(16, L' ') +
               L"After you have placed the file in the above folder simply click the BACKGROUND "
               L"tab and the CUSTOM option button and click the SELECT BACKGROUND button.");
  showText(IDC_lblAnswer2,
           L"The first thing you need is a background.  The size doesn't matter (smaller looks "
           L"better).  The file needs to be placed in " +
               dataFolderText + std::wstring(26, L' ') +
               L"After you have placed the file in the above folder simply click the "
               L"Logo/Message tab and the CUSTOM option button and click the SELECT LOGO button.");
  showText(IDC_lblAnswer3,
           L"You need to check in Windows Explorer for the folder: " + dataFolderText +
               L".  If that folder is not there or there are no files in the folder, reinstall "
               L"the screen saver.  Another cause is not having DirectX installed.");
  showQuestionsBold();
}

bool HelpPage::handle(UINT message, WPARAM, LPARAM) {
  if (message != WM_DPICHANGED_AFTERPARENT)
    return false;
  showQuestionsBold();
  return true;
}

void HelpPage::showQuestionsBold() {
  LOGFONTW bold = fontOf(window());
  bold.lfWeight = FW_BOLD;
  OwnedFont font(CreateFontIndirectW(&bold));
  if (!font)
    return;
  for (const int id : {IDC_lblQuestion1, IDC_lblQuestion2, IDC_lblQuestion3})
    SendMessageW(control(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  boldFont_ = std::move(font);
}

}  // namespace skyfare
