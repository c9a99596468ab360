#include "windows/config/background_page.h"

#include <optional>
#include <utility>

#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"
#include "core/settings/setting_values.h"
#include "windows/config/control_ids.h"

namespace skyfare {

namespace {

constexpr COLORREF kSkyBlue = RGB(128, 255, 255);
constexpr int kOptionCount = 3;

struct OwnedBrush {
  explicit OwnedBrush(COLORREF colour) : brush(CreateSolidBrush(colour)) {}
  ~OwnedBrush() {
    if (brush != nullptr)
      DeleteObject(brush);
  }
  OwnedBrush(const OwnedBrush&) = delete;
  OwnedBrush& operator=(const OwnedBrush&) = delete;
  HBRUSH brush;
};

}  // namespace

BackgroundPage::BackgroundPage(HINSTANCE instance, HWND parent, SettingsStore& store,
                               const std::wstring& dataFolderText,
                               std::function<void()> selectBackground)
    : store_(store), selectBackground_(std::move(selectBackground)) {
  create(instance, parent, IDD_BackgroundPage, IDC_pageBackGround);
  if (window() == nullptr)
    return;
  showText(IDC_lblBGFolder, L" " + dataFolderText);
}

bool BackgroundPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    drawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return true;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
    return false;
  const int id = LOWORD(wParam);
  if (id >= IDC_optBakGrnd0 && id < IDC_optBakGrnd0 + kOptionCount) {
    chooseOption(id - IDC_optBakGrnd0);
  } else if (id == IDC_cmdSelectBG) {
    selectBackground_();
    SelectBG();
  }
  return true;
}

void BackgroundPage::drawSwatch(const DRAWITEMSTRUCT& item) const {
  const OwnedBrush fill(item.CtlID == IDC_shpBlack ? GetSysColor(COLOR_BTNTEXT) : kSkyBlue);
  FillRect(item.hDC, &item.rcItem, fill.brush);
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void BackgroundPage::chooseOption(int position) {
  CheckRadioButton(window(), IDC_optBakGrnd0, IDC_optBakGrnd0 + kOptionCount - 1,
                   IDC_optBakGrnd0 + position);
  choice_ = std::to_string(kBackgroundBlack + position);
  writeSetting(store_, Key::BackGround, choice_);
  BackGround();
}

// A choice other than the three offered marks no option: none of them is what the store holds.
void BackgroundPage::loadChoice() {
  choice_ = readSetting(store_, Key::BackGround);
  const std::optional<int16_t> number = toInt16(choice_);
  if (!number || *number < kBackgroundBlack || *number > kBackgroundPicture)
    return;
  const int id = IDC_optBakGrnd0 + (*number - kBackgroundBlack);
  if (IsDlgButtonChecked(window(), id) != BST_CHECKED)
    chooseOption(*number - kBackgroundBlack);
}

void BackgroundPage::BackGround() {
  choice_ = readSetting(store_, Key::BackGround);
  showSelectBackgroundState();
}

void BackgroundPage::showSelectBackgroundState() {
  EnableWindow(control(IDC_cmdSelectBG), toInt16(choice_) == kBackgroundPicture);
}

void BackgroundPage::SelectBG() {
  showUtf8(IDC_txtBGFile, readSetting(store_, Key::BMPFileName));
}

}  // namespace skyfare
