// What the wizard and a running installation share: the user's wish to stop it, and a hold
// while the wizard asks whether to. The installation looks at both only between its steps,
// so a question never races a step half done. Both sides keep it alive (shared ownership):
// whichever ends last frees it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// Thrown by the installation's checkpoints once the user has chosen to stop.
struct EInstallStopped {};

class InstallRun {
 public:
  // The wizard asks the user; the installation waits at its next checkpoint.
  void Hold();
  // The answer: go on, or stop (the installation undoes itself at its next checkpoint).
  void Release(bool stop);

  // Between steps: waits while held, then throws EInstallStopped if stopping.
  void Checkpoint();
  // A pause between steps that ends early when the user chooses to stop.
  void Pause(std::chrono::milliseconds duration);
  bool Stopping() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  bool stop_ = false;
};
