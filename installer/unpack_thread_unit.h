// The installation worker: directories, payload records, program group, desktop link and
// uninstall record, reporting each step to the wizard window on the UI thread.
#pragma once

#include "framework/Thread.h"

class unpack_thread : public TThread {
 public:
  // Created suspended; frees itself when its body returns and runs one step below normal.
  unpack_thread();
  FRAMEWORK_CLASS(unpack_thread)

 protected:
  void Execute() override;

 private:
  void Install();
};
