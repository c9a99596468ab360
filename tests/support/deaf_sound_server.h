#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace skyfare::testing {

// A sound server that accepts connections and never answers, as a hung one does, named to
// SDL's PulseAudio driver for the life of the object. Its end hangs up on every client.
class DeafSoundServer {
 public:
  DeafSoundServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skyfare-deaf-XXXXXX");
    folder_ = mkdtemp(pattern.data());
    const std::string socketPath = (folder_ / "socket").string();
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listen(listener_, 16);
    accepting_ = std::thread([this] {
      for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0;) {
        clients_.push_back(client);
        ++accepted_;
      }
    });
    setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    setenv("PULSE_SERVER", ("unix:" + socketPath).c_str(), 1);
    // The client library would otherwise make a cookie in the home folder.
    setenv("PULSE_COOKIE", (folder_ / "cookie").c_str(), 1);
  }
  ~DeafSoundServer() {
    hangUp();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("PULSE_SERVER");
    unsetenv("PULSE_COOKIE");
    std::filesystem::remove_all(folder_);
  }
  DeafSoundServer(const DeafSoundServer&) = delete;
  DeafSoundServer& operator=(const DeafSoundServer&) = delete;

  int accepted() const { return accepted_; }

  // Closes every connection and takes no more: whoever waits for an answer learns there is none.
  void hangUp() {
    if (!accepting_.joinable())
      return;
    shutdown(listener_, SHUT_RDWR);
    accepting_.join();
    close(listener_);
    for (const int client : clients_) close(client);
    clients_.clear();
    std::filesystem::remove(folder_ / "socket");
  }

 private:
  std::filesystem::path folder_;
  int listener_ = -1;
  std::vector<int> clients_;  // touched by the accepting thread until it is joined
  std::atomic<int> accepted_{0};
  std::thread accepting_;
};

}  // namespace skyfare::testing
