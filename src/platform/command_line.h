// The command-line convention both programs keep: an option's value as "--opt value" or
// "--opt=value", -h and --help, --version; exit code 0 on success, 1 on failure, 2 on a usage
// error; messages on standard error, prefixed with the program's name.
#pragma once

#include <string>
#include <string_view>

namespace ce {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Whether argv[*i] is the option `name` ("--name value" or "--name=value"). If so, *i moves past
// its value and *value gets it; a missing or empty value leaves the reason in *error instead.
bool TakeOption(int argc, char** argv, int* i, std::string_view name, std::string* value,
                std::string* error);

}  // namespace ce
