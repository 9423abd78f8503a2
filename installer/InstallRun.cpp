#include "installer/InstallRun.h"

void InstallRun::Hold() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_ = true;
}

void InstallRun::Release(bool stop) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
    stop_ = stop_ || stop;
  }
  changed_.notify_all();
}

void InstallRun::Checkpoint() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !held_; });
  if (stop_) throw EInstallStopped{};
}

void InstallRun::Pause(std::chrono::milliseconds duration) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, duration, [this] { return stop_; });
}

bool InstallRun::Stopping() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_;
}
