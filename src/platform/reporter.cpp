#include "platform/reporter.h"

#include <cstdio>
#include <string>
#include <utility>

#include "platform/text.h"

namespace ce::objectstore {
namespace {

Reporter& Current() {
  static Reporter reporter;
  return reporter;
}

}  // namespace

void SetReporter(Reporter reporter) {
  Current() = std::move(reporter);
}

int Report(const char16_t* text, const char16_t* caption, UINT type) {
  // A copy: a box runs a message loop, in which the reporter may be replaced.
  if (const Reporter reporter = Current()) return reporter(text, caption, type);
  // The same line a message box echoes, so that a tool's output reads like the program's.
  const std::string title = caption != nullptr ? ToUtf8(caption) : std::string("Error");
  std::fprintf(stderr, "[%s] %s\n", title.c_str(), ToUtf8(text != nullptr ? text : u"").c_str());
  std::fflush(stderr);
  return IDOK;
}

}  // namespace ce::objectstore
