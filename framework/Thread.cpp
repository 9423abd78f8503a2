#include "framework/Thread.h"

#include "framework/Forms.h"

#include <process.h>

TThread::TThread(bool createSuspended) : createSuspended_(createSuspended) {
  unsigned id = 0;
  const uintptr_t h = _beginthreadex(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
  if (!h) RaiseLastOSError();
  handle_.reset(reinterpret_cast<HANDLE>(h));
  threadId_ = id;
}

TThread::~TThread() {
  if (GetCurrentThreadId() == threadId_) return;  // a self-freeing thread at its end
  if (!started_.exchange(true)) {
    // Never started: let it run to its end without calling Execute.
    cancelled_ = true;
    ResumeThread(handle_.get());
  }
  terminated_ = true;
  WaitFor();
}

void TThread::AfterConstruction() {
  if (!createSuspended_) Start();
}

void TThread::Start() {
  if (started_.exchange(true)) throw EInvalidOperation("Cannot call Start on a running or finished thread");
  ResumeThread(handle_.get());
}

unsigned __stdcall TThread::ThreadProc(void* param) {
  static_cast<TThread*>(param)->Run();
  return 0;
}

void TThread::Run() {
  if (cancelled_) {
    finished_ = true;
    return;
  }
  try {
    Execute();
  } catch (...) {
    fatal_ = std::current_exception();
  }
  const bool freeIt = freeOnTerminate_;
  if (OnTerminate) {
    try {
      Synchronize(this, [this] { OnTerminate(this); });
    } catch (...) {
    }
  }
  finished_ = true;
  if (freeIt) delete this;
}

int TThread::WaitFor() {
  if (GetCurrentThreadId() == threadId_) throw EInvalidOperation("A thread cannot wait for itself");
  if (!started_) throw EInvalidOperation("Cannot wait for a thread that was never started");
  HANDLE h = handle_.get();
  if (Application && GetCurrentThreadId() == Application->MainThreadId()) {
    // Keep taking hand-offs (sent messages) so that a synchronizing thread can finish.
    for (;;) {
      const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_SENDMESSAGE);
      if (r != WAIT_OBJECT_0 + 1) break;
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
  } else {
    WaitForSingleObject(h, INFINITE);
  }
  return returnValue_;
}

namespace {

constexpr int kPriorities[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL,
                               THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL,
                               THREAD_PRIORITY_HIGHEST,      THREAD_PRIORITY_TIME_CRITICAL};

}  // namespace

TThreadPriority TThread::Priority() const {
  const int p = GetThreadPriority(handle_.get());
  for (int i = 0; i < 7; ++i)
    if (kPriorities[i] == p) return static_cast<TThreadPriority>(i);
  return TThreadPriority::tpNormal;
}

void TThread::SetPriority(TThreadPriority v) {
  if (!SetThreadPriority(handle_.get(), kPriorities[static_cast<int>(v)])) RaiseLastOSError();
}

void TThread::Synchronize(TThread*, const std::function<void()>& method) {
  if (!Application || GetCurrentThreadId() == Application->MainThreadId()) {
    method();
    return;
  }
  std::exception_ptr error;
  std::function<void()> call = [&] {
    try {
      method();
    } catch (...) {
      error = std::current_exception();
    }
  };
  SendMessageA(Application->Handle(), CM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
  if (error) std::rethrow_exception(error);
}
