// calvira-data: the person's records outside the window. `init` prepares a data directory the
// way the program's start does; `dump` prints every database and record as JSON lines.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/exchange_commands.h"
#include "app/password_input.h"
#include "exchange/store_check.h"
#include "platform/command_line.h"
#include "platform/data_dir.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "store/catalogue.h"
#include "store/settings.h"

namespace {

constexpr const char* kUsage =
    "Usage: calvira-data [--data-dir DIR] [--password-stdin] COMMAND\n"
    "\n"
    "Commands:\n"
    "  init   create any missing database and the default settings record\n"
    "  dump   print every database and record as JSON lines\n"
    "  export [--format json|csv] [--out PATH]\n"
    "         write every record: JSON to PATH or standard output, or CSV files into the\n"
    "         directory PATH; the program may run meanwhile. The export is never encrypted\n"
    "  import FILE\n"
    "         check the JSON export FILE (- for standard input) and merge it into the store\n"
    "  backup FILE\n"
    "         write a consistent copy of the store to FILE, encrypted under the store's\n"
    "         password when the store is; the program may run meanwhile\n"
    "  restore FILE\n"
    "         check that FILE is a whole Calvira store and put its records in the store's\n"
    "         place; the replaced store is kept beside it as objectstore.sqlite3.DATE.bak. An\n"
    "         encrypted FILE needs its own password; the store keeps its password and\n"
    "         encryption (a store made by the restore takes FILE's)\n"
    "  check [--repair]\n"
    "         report every breach of the store's rules (exit 1 if any); --repair first keeps a\n"
    "         dated .bak, then cuts over-long texts, removes empty and duplicate \"Pill\"\n"
    "         records and records whose date cannot be shown\n"
    "  logo on|off\n"
    "         show the start-up logo for two seconds, or start at once (\"Loading...\")\n"
    "  encrypt\n"
    "         encrypt the store under a new password, asked twice, which the program then\n"
    "         asks at start; on an encrypted store, asks its password, then a new one\n"
    "  decrypt\n"
    "         ask the store's password, then make the store plain and remove the password\n"
    "\n"
    "Options:\n"
    "  --data-dir DIR    use DIR instead of the data directory\n"
    "                    ($CALVIRA_DATA_DIR, $XDG_DATA_HOME/calvira or ~/.local/share/calvira)\n"
    "  --password-stdin  read each password needed as one line of standard input instead of\n"
    "                    asking on the terminal, in the order they are needed: the store's,\n"
    "                    then a restored FILE's or the new one (given once); not with 'import -'\n"
    "  -h, --help        show this help\n"
    "  --version         show the version\n"
    "\n"
    "An option's value may follow it or be joined to it with '=' (--data-dir=DIR).\n"
    "Every command asks an encrypted store's password; encrypt, decrypt, import, restore and\n"
    "check --repair refuse while Calvira runs with the data directory.\n"
    "Exit codes: 0 done, 1 failed, 2 a usage error.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "calvira-data: %s\nTry 'calvira-data --help'.\n", message.c_str());
  return ce::kExitUsage;
}

std::string JsonString(std::u16string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    if (pair) {
      out += ce::ToUtf8(text.substr(i++, 2));
    } else if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\n') {
      out += "\\n";
    } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
      // Control characters, and a surrogate without its partner, go out as escapes so that
      // nothing of the stored text is lost.
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += ce::ToUtf8(text.substr(i, 1));
    }
  }
  return out + "\"";
}

std::string JsonValue(const ce::CEPROPVAL& p) {
  char buf[40];
  switch (ce::TypeFromPropId(p.propid)) {
    case ce::CEVT_I2:
      return std::to_string(p.val.iVal);
    case ce::CEVT_UI2:
      return std::to_string(p.val.uiVal);
    case ce::CEVT_I4:
      return std::to_string(p.val.lVal);
    case ce::CEVT_UI4:
      return std::to_string(p.val.ulVal);
    case ce::CEVT_BOOL:
      return std::to_string(p.val.boolVal);
    case ce::CEVT_R8:
      if (!std::isfinite(p.val.dblVal)) return "null";  // JSON has no NaN or infinity
      std::snprintf(buf, sizeof buf, "%.17g", p.val.dblVal);
      return buf;
    case ce::CEVT_LPWSTR:
      return JsonString(p.val.lpwstr ? p.val.lpwstr : u"");
    default:
      return "null";
  }
}

int Init(const std::filesystem::path& dir, Passwords& passwords) {
  if (std::string error = passwords.Mount(dir); !error.empty()) return Fail(error);
  // All or nothing: a failure half-way leaves the store as it was.
  ce::objectstore::Transaction transaction;
  if (std::string error; !PrepareStore(&error)) return Fail(error);
  if (!transaction.Commit()) return Fail("could not write the store in " + dir.string());
  return 0;
}

// Sets the settings record's logo-disabled flag; the store is mounted and initialised.
int SetLogo(bool on) {
  Settings settings;
  if (!ReadSettings(&settings)) return Fail("cannot read the settings record");
  settings.logo_disabled = !on;
  if (!WriteSettings(settings)) return Fail("could not write the settings record: " + Reason());
  return 0;
}

int Dump(const std::filesystem::path& dir, Passwords& passwords) {
  if (std::string error = passwords.Mount(dir, true); !error.empty()) return Fail(error);
  ce::HANDLE databases = ce::CeFindFirstDatabase(0);
  if (databases == ce::INVALID_HANDLE_VALUE)
    return Fail("cannot read the store in " + dir.string());
  ce::CePropBuffer buffer;
  while (ce::CEOID db = ce::CeFindNextDatabase(databases)) {
    ce::CEDBASEINFO info{};
    if (!ce::CeGetDatabaseInfo(db, &info)) return Fail("cannot read the store in " + dir.string());
    const std::string name = JsonString(info.szDbaseName);
    std::printf("{\"database\":%s,\"type_id\":%u,\"sort\":[%u,%u]}\n", name.c_str(),
                info.dwDbaseType, info.rgSortSpecs[0].propid, info.rgSortSpecs[1].propid);
    ce::CEOID oid = db;
    ce::HANDLE h = ce::CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
    if (h == ce::INVALID_HANDLE_VALUE) return Fail("cannot read the store in " + dir.string());
    for (ce::CEOID rec = ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr); rec != 0;
         rec = ce::CeSeekDatabase(h, ce::CEDB_SEEK_CURRENT, 1, nullptr)) {
      ce::CeReadRecordProps(h, buffer);
      // Appended piece by piece: GCC 12 at -O3 takes a chain of operator+ on temporaries for
      // an overlapping copy (-Wrestrict), a false alarm that would stop a Release build.
      std::string line = "{\"database\":";
      line += name;
      line += ",\"oid\":";
      line += std::to_string(rec);
      line += ",\"props\":[";
      bool first = true;
      for (const ce::CEPROPVAL& p : buffer.props()) {
        if (!first) line += ',';
        first = false;
        line += '[';
        line += std::to_string(p.propid);
        line += ",\"";
        line += PropTypeName(ce::TypeFromPropId(p.propid));
        line += "\",";
        line += JsonValue(p);
        line += ']';
      }
      line += "]}\n";
      std::fputs(line.c_str(), stdout);
    }
    ce::CloseHandle(h);
  }
  ce::CloseHandle(databases);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return Fail(std::string("cannot write the output: ") + std::strerror(errno));
  }
  if (passwords.Encrypted()) {
    std::fputs("calvira-data: note: the output is not encrypted; keep it safe\n", stderr);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path dir;
  std::string command;
  std::string value;
  std::string format = "json";
  std::filesystem::path out;
  bool repair = false;
  bool password_stdin = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("calvira-data %s\n", CALVIRA_VERSION);
      return 0;
    }
    std::string option, error;
    if (ce::TakeOption(argc, argv, &i, "--data-dir", &option, &error)) {
      dir = option;
    } else if (ce::TakeOption(argc, argv, &i, "--format", &option, &error)) {
      format = option;
    } else if (ce::TakeOption(argc, argv, &i, "--out", &option, &error)) {
      out = option;
    } else if (arg == "--repair") {
      repair = true;
    } else if (arg == "--password-stdin") {
      password_stdin = true;
    } else if (arg.starts_with("-") && arg != "-") {
      return UsageError("unknown option '" + std::string(arg) + "'");
    } else if (command.empty()) {
      command = arg;
    } else if ((command == "logo" || command == "import" || command == "backup" ||
                command == "restore") &&
               value.empty()) {
      value = arg;
    } else {
      return UsageError("unexpected argument '" + std::string(arg) + "'");
    }
    if (!error.empty()) return UsageError(error);
  }
  if (command.empty()) return UsageError("no command given");
  if (dir.empty()) dir = ce::DefaultDataDirectory();

  Passwords passwords(password_stdin, dir);
  int result;
  if (command == "init") {
    result = Init(dir, passwords);
  } else if (command == "dump") {
    result = Dump(dir, passwords);
  } else if (command == "export") {
    if (format != "json" && format != "csv") return UsageError("--format is json or csv");
    result = ExportCommand(dir, format == "csv" ? ExportFormat::kCsv : ExportFormat::kJson, out,
                           passwords);
  } else if (command == "import") {
    if (value.empty()) return UsageError("import needs the file to read");
    if (value == "-" && password_stdin) {
      return UsageError(
          "'import -' reads the export from standard input, so --password-stdin cannot read a "
          "password there; give the export as a file");
    }
    if (value == "-") passwords.ExportOnStdin();
    result = ImportCommand(dir, value, passwords);
  } else if (command == "backup" || command == "restore") {
    if (value.empty()) return UsageError(command + " needs a file");
    result = command == "backup" ? BackupCommand(dir, value, passwords)
                                 : RestoreCommand(dir, value, passwords);
  } else if (command == "check") {
    result = CheckCommand(dir, repair, passwords);
  } else if (command == "logo") {
    if (value != "on" && value != "off") return UsageError("logo needs 'on' or 'off'");
    result = Init(dir, passwords);
    if (result == 0) result = SetLogo(value == "on");
  } else if (command == "encrypt") {
    result = EncryptCommand(dir, passwords);
  } else if (command == "decrypt") {
    result = DecryptCommand(dir, passwords);
  } else {
    return UsageError("unknown command '" + command + "'");
  }
  ce::objectstore::Unmount();
  return result;
}
