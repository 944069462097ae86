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
  const std::string mounted = ce::objectstore::Mount(options.data_dir);
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
