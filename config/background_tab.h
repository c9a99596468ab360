#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace skyfare {

class SettingsStore;

// The "BackGround" tab: the choice of a solid or custom background, and the custom picture's
// path with the button that opens the background chooser. "Select Background" is enabled
// exactly while the background choice is 3.
class BackgroundTab final : public QWidget {
  Q_OBJECT

 public:
  // selectBackground runs the background chooser and returns once it has closed.
  BackgroundTab(SettingsStore& store, const QString& dataFolderText,
                std::function<void()> selectBackground, QWidget* parent = nullptr);

  // Reads the stored choice and marks its option.
  void loadChoice();
  // Reads the choice afresh and sets "Select Background" from it.
  void BackGround();
  // Sets "Select Background" from the choice last read or written.
  void showSelectBackgroundState();
  // Shows the stored background path.
  void SelectBG();

 private:
  QGroupBox* createChoiceGroup();
  QGroupBox* createCustomGroup(const QString& dataFolderText);
  void chooseOption(int position);

  SettingsStore& store_;
  std::function<void()> selectBackground_;
  std::string choice_;

  QButtonGroup* optBakGrnd_ = nullptr;
  QPushButton* cmdSelectBG_ = nullptr;
  QLineEdit* txtBGFile_ = nullptr;
};

}  // namespace skyfare
