#include "platform/message_box.h"

#include <cstdio>

#include "platform/text.h"

namespace ce {
namespace {

struct MessageBoxState {
  MessageBoxHook hook;
  std::vector<MessageBoxReport> log;
  bool echo = true;
};

MessageBoxState& State() {
  static MessageBoxState state;
  return state;
}

}  // namespace

int MessageBox(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
  MessageBoxReport report;
  report.owner = owner;
  report.text = text ? text : u"";
  report.has_caption = caption != nullptr;
  report.caption = caption ? caption : u"";
  report.type = type;

  MessageBoxState& state = State();
  if (state.echo) {
    // A box without a caption reads "Error" on the handheld; keep that on the terminal too.
    const std::string title = report.has_caption ? ToUtf8(report.caption) : std::string("Error");
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), ToUtf8(report.text).c_str());
    std::fflush(stderr);
  }
  state.log.push_back(report);
  return state.hook ? state.hook(report) : IDOK;
}

HWND GetForegroundWindow() {
  return nullptr;
}

void SetMessageBoxHook(MessageBoxHook hook) {
  State().hook = std::move(hook);
}

std::vector<MessageBoxReport> TakeMessageBoxReports() {
  std::vector<MessageBoxReport> out;
  out.swap(State().log);
  return out;
}

void SetMessageBoxEcho(bool echo) {
  State().echo = echo;
}

}  // namespace ce
