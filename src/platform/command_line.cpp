#include "platform/command_line.h"

namespace ce {

bool TakeOption(int argc, char** argv, int* i, std::string_view name, std::string* value,
                std::string* error) {
  const std::string_view arg = argv[*i];
  if (arg == name) {
    if (*i + 1 < argc && argv[*i + 1][0] != '\0') {
      *value = argv[++*i];
      return true;
    }
  } else if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
    *value = std::string(arg.substr(name.size() + 1));
    if (!value->empty()) return true;
  } else {
    return false;
  }
  *error = std::string(name) + " needs a value";
  return true;
}

}  // namespace ce
