#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

namespace skyfare {

class BackgroundPage;
class HelpPage;
class LogoMessagePage;
class SettingsPage;
class SettingsStore;
struct ChooserConfig;
struct WriteFailure;

// The Control Box, Setup: a modeless window with four tab pages over the settings store. It keeps
// no copy of the settings: every control is filled from the store when the window opens and
// writes its setting back the moment it changes, so there is nothing to apply or lose. "&OK"
// and the close box end it; ended() then tells the message loop to stop. The picture choosers
// are made afresh for every press of their buttons, and the path boxes then show what the store
// holds. When the store cannot save a change, a message box says so once for that failure,
// after the change that met it has been handled.
class Setup {
 public:
  Setup(HINSTANCE instance, SettingsStore& store, std::string dataFolder);
  ~Setup();
  Setup(const Setup&) = delete;
  Setup& operator=(const Setup&) = delete;

  HWND window() const { return window_; }
  bool ended() const { return ended_; }
  // Shows the next tab page, or the previous one; Ctrl+Tab and Ctrl+Shift+Tab.
  void turnPage(int step);

  // Asks the shell to open the page; when nothing opens it, a message box says where it is.
  void Navigate(const std::wstring& webPageUrl);

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createPages();
  void placePages();
  void showPage(int index);
  void open();
  void onCommand(int id);
  void showAbout();
  void choosePicture(const ChooserConfig& config);
  void showWriteFailure();

  HINSTANCE instance_;
  SettingsStore& store_;
  std::string dataFolder_;
  HWND window_ = nullptr;
  bool ended_ = false;
  std::unique_ptr<SettingsPage> settingsPage_;
  std::unique_ptr<BackgroundPage> backgroundPage_;
  std::unique_ptr<LogoMessagePage> logoMessagePage_;
  std::unique_ptr<HelpPage> helpPage_;
  std::array<HWND, 4> pages_{};
  std::wstring untoldWriteFailure_;
};

}  // namespace skyfare
