#include "program/run.h"

#include "frame/app.h"
#include "frame/ui_resources.h"
#include "frame/views.h"
#include "platform/data_dir.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/window.h"

int RunProgram(ProgramOptions options, std::string* error) {
  // The store's reports are message boxes of the program, like every other report.
  ce::objectstore::SetReporter(&ce::ForegroundMessageBox);
  // An encrypted store waits for its password, which the start-up prompt asks for before any
  // record is read.
  std::string mounted;
  std::filesystem::path real;
  if (ce::objectstore::IsEncrypted(options.data_dir)) {
    mounted = ce::CheckDataDirectory(options.data_dir, &real);
    if (mounted.empty()) ce::objectstore::WaitForKey(real);
  } else {
    mounted = ce::objectstore::Mount(options.data_dir);
  }
  if (!mounted.empty()) {
    if (error != nullptr) *error = mounted;
    return 1;
  }
  ce::InitWindowSystem(std::move(options.display));
  RegisterUiResources();
  if (options.before_start) options.before_start();
  const int code = CalviraMain(ce::GetModuleHandle(nullptr), ce::SW_SHOW, &AddAllViews);
  ce::ShutdownWindowSystem();
  ce::objectstore::Unmount();
  return code;
}
