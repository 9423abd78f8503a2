// DDE client conversations through DDEML. The DDEML instance belongs to the thread that first
// needs it (the UI thread: components are created there) and lives until the program ends.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>
#include <vector>

#include "framework/Classes.h"

// The process's DDEML instance, initialised on first use as a standard client application.
DWORD DdeInstance();

enum class TDataMode { ddeAutomatic, ddeManual };

class TDdeClientConv : public TComponent {
 public:
  explicit TDdeClientConv(TComponent* AOwner);
  ~TDdeClientConv() override;
  FRAMEWORK_CLASS(TDdeClientConv)

  // In manual mode SetLink only records the names; OpenLink connects.
  TDataMode ConnectMode() const { return connectMode_; }
  void SetConnectMode(TDataMode mode) { connectMode_ = mode; }

  const std::string& DdeService() const { return service_; }
  const std::string& DdeTopic() const { return topic_; }
  HCONV Conv() const { return conv_; }
  UINT DataFormat() const { return format_; }

  // Closes any open conversation, then names the partner (connecting at once in automatic mode).
  bool SetLink(const std::string& service, const std::string& topic);
  // The program that provides the service, by its full path; empty: the service's name.
  const std::string& ServiceApplication() const { return serviceApplication_; }
  void SetServiceApplication(const std::string& path) { serviceApplication_ = path; }

  // Connects to service/topic; when nobody answers, starts the service's program
  // (its quoted path and the topic, minimised without activation) and tries once more.
  bool OpenLink();
  // Disconnects and forgets the partner's names.
  void CloseLink();
  // Sends the lines as one execute block: each line ended by CR LF, then a NUL counted in the
  // length. Without `wait` the transaction is asynchronous and only its start is reported.
  bool ExecuteMacroLines(const std::vector<std::string>& lines, bool wait);

 private:
  void FreeStringHandles();

  TDataMode connectMode_ = TDataMode::ddeAutomatic;
  std::string service_;
  std::string topic_;
  std::string serviceApplication_;
  HSZ serviceHandle_ = nullptr;
  HSZ topicHandle_ = nullptr;
  HCONV conv_ = nullptr;
  UINT format_ = CF_TEXT;
};

// The execute block for `lines`: each line followed by CR LF, then one NUL (part of the data).
std::string DdeExecuteData(const std::vector<std::string>& lines);
