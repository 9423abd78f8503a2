// Worker threads with a synchronous hand-off to the UI thread.
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"

#include <atomic>
#include <exception>
#include <functional>
#include <utility>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  // The thread is always created suspended; with createSuspended false it starts once the
  // object is fully built, which TThread::Create<T>() arranges (a constructor cannot: the
  // derived part does not exist yet). Start() starts a suspended thread.
  explicit TThread(bool createSuspended = true);
  ~TThread() override;
  FRAMEWORK_CLASS(TThread)

  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
  }
  // Starts the thread unless it was created suspended.
  void AfterConstruction();

  void Start();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  // Waits until Execute has returned (handling hand-offs meanwhile when called on the UI
  // thread) and returns ReturnValue.
  int WaitFor();

  // The thread object deletes itself when Execute returns.
  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool v) { freeOnTerminate_ = v; }
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority v);
  HANDLE Handle() const { return handle_.get(); }
  DWORD ThreadID() const { return threadId_; }
  int ReturnValue() const { return returnValue_; }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const { return fatal_; }

  // Runs `method` on the UI thread while the calling thread waits (directly when called on
  // the UI thread). An exception thrown by `method` is thrown again in the caller.
  static void Synchronize(TThread* thread, const std::function<void()>& method);
  void Synchronize(const std::function<void()>& method) { Synchronize(this, method); }

  // Runs on the UI thread after Execute, before a self-freeing thread deletes itself.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  void SetReturnValue(int v) { returnValue_ = v; }

 private:
  static unsigned __stdcall ThreadProc(void* param);
  void Run();

  UniqueKernelHandle handle_;
  DWORD threadId_ = 0;
  bool createSuspended_ = true;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> cancelled_{false};
  bool freeOnTerminate_ = false;
  int returnValue_ = 0;
  std::exception_ptr fatal_;
};
