#include "app/exchange_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/password_input.h"
#include "exchange/csv_format.h"
#include "exchange/json_format.h"
#include "exchange/merge.h"
#include "exchange/store_check.h"
#include "platform/data_dir.h"
#include "platform/object_store.h"
#include "platform/single_instance.h"
#include "platform/text.h"
#include "store/catalogue.h"
#include "store/protection.h"
#include "store/settings.h"

namespace fs = std::filesystem;

namespace {

// An export file larger than this is no export of one person's records (30 years take 3 MB).
constexpr size_t kLargestImport = 256u << 20;

std::string SystemError() {
  return std::strerror(errno);
}

// Writes `text` to `path` whole or not at all: into a new file beside it, synced, then renamed
// over it, so that a full disk or a crash never leaves half an export.
bool WriteWhole(const fs::path& path, const std::string& text, std::string* error) {
  // Appended piece by piece: GCC 12 at -O3 takes "." + a temporary for an overlapping copy
  // (-Wrestrict), a false alarm that would stop a Release build.
  std::string name = ".";
  name += path.filename().string();
  name += ".partial";
  const fs::path temp = path.parent_path() / name;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    *error = "cannot write " + temp.string() + ": " + SystemError();
    return false;
  }
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool ok = written == text.size() && ::fsync(fd) == 0;
  const std::string why = SystemError();
  ::close(fd);
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    *error = "cannot write " + path.string() + ": " + (ok ? SystemError() : why);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

// Shows how far long work has come, on a terminal only: a log or a pipe gets nothing.
class ProgressLine {
 public:
  explicit ProgressLine(const char* what) : what_(what), shown_(::isatty(STDERR_FILENO) == 1) {}
  ~ProgressLine() {
    if (started_) std::fputc('\n', stderr);
  }
  void operator()(size_t done, size_t total) {
    if (!shown_ || total == 0) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == last_) return;
    last_ = percent;
    started_ = true;
    std::fprintf(stderr, "\r%s: %d %%", what_, percent);
    std::fflush(stderr);
  }

 private:
  const char* what_;
  bool shown_;
  bool started_ = false;
  int last_ = -1;
};

// The whole file, or standard input for "-".
bool ReadInput(const fs::path& file, std::string* text, std::string* error) {
  const bool stdin_wanted = file == "-";
  const std::string name = stdin_wanted ? "standard input" : file.string();
  const int fd = stdin_wanted ? STDIN_FILENO : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    *error = "cannot read " + name + ": " + SystemError();
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    *error = name + " is a directory, not an export";
    return false;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) *error = "cannot read " + name + ": " + SystemError();
    if (n <= 0) break;
    text->append(buffer, static_cast<size_t>(n));
    if (text->size() > kLargestImport) {
      *error = name + " is too large to be a Calvira export";
      break;
    }
  }
  if (!stdin_wanted) ::close(fd);
  return error->empty();
}

std::string Counts(const char* what, const MergeCounts& c) {
  return std::string("  ") + what + ": " + std::to_string(c.added) + " added, " +
         std::to_string(c.replaced) + " replaced, " + std::to_string(c.kept) + " kept\n";
}

}  // namespace

std::string Reason() {
  switch (ce::GetLastError()) {
    case ce::ERROR_DISK_FULL:
      return "the disk is full; free some space and try again";
    case ce::ERROR_ACCESS_DENIED:
      return "the store cannot be written (check the permissions of the data directory)";
    case ce::ERROR_FILE_NOT_FOUND:
      return "the \"Systems\" database is missing (run 'calvira-data init')";
    default:
      return "the store refused it (error " + std::to_string(ce::GetLastError()) + ")";
  }
}

namespace {

// The dated name of the copy that a restore or a repair keeps of the store it changes.
fs::path DatedBackup(const fs::path& real_dir) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return ce::objectstore::StoreFile(real_dir).string() + "." + stamp + ".bak";
}

// The data directory made and checked as the program does it, with the program kept out.
std::unique_ptr<ce::SingleInstance> TakeDataDirectory(const fs::path& dir, fs::path* real,
                                                      std::string* error) {
  if (*error = ce::EnsureDataDirectory(dir, real); !error->empty()) return nullptr;
  return ce::SingleInstance::LockAlone(*real, error);
}

void PrintBreaches(const std::vector<Breach>& breaches) {
  for (const Breach& b : breaches) std::printf("%s: %s\n", b.where.c_str(), b.what.c_str());
}

}  // namespace

int Fail(const std::string& message) {
  std::fprintf(stderr, "calvira-data: %s\n", message.c_str());
  return 1;
}

bool PrepareStore(std::string* error) {
  CreateCatalogue();
  // Creation errors other than "exists" pass silently at start-up; here they must not.
  for (const CatalogueEntry& entry : DatabaseCatalogue()) {
    ce::HANDLE h = ce::CeOpenDatabase(nullptr, entry.name, 0, 0, nullptr);
    if (h == ce::INVALID_HANDLE_VALUE) {
      *error = "could not create the database " + ce::ToUtf8(entry.name);
      return false;
    }
    ce::CloseHandle(h);
  }
  if (!EnsureSettingsRecord()) {
    *error = "could not write the settings record: " + Reason();
    return false;
  }
  return true;
}

// Writes every record to standard output or `out`.
int WriteExport(const Records& records, ExportFormat format, const fs::path& out) {
  std::string error;
  if (format == ExportFormat::kJson) {
    const std::string text = ToJson(records);
    if (!out.empty()) return WriteWhole(out, text, &error) ? 0 : Fail(error);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
      return Fail("cannot write the output: " + SystemError());
    }
    return 0;
  }
  if (out.empty()) return Fail("a CSV export needs --out DIRECTORY for its files");
  std::error_code ec;
  fs::create_directories(out, ec);
  if (ec || !fs::is_directory(out)) {
    return Fail("cannot make the directory " + out.string() + ": " + ec.message());
  }
  for (const CsvFile& file : ToCsv(records)) {
    if (!WriteWhole(out / file.name, file.text, &error)) return Fail(error);
  }
  return 0;
}

int ExportCommand(const fs::path& dir, ExportFormat format, const fs::path& out,
                  Passwords& passwords) {
  if (std::string error = passwords.Mount(dir, true); !error.empty()) return Fail(error);
  Records records;
  std::string error;
  if (!ReadAllRecords(&records, &error)) return Fail(error);
  const int result = WriteExport(records, format, out);
  // Her choice, but not one to make unawares.
  if (result == 0 && passwords.Encrypted()) {
    std::fprintf(stderr, "calvira-data: note: the export is not encrypted; keep %s safe\n",
                 out.empty() ? "it" : out.c_str());
  }
  return result;
}

int ImportCommand(const fs::path& dir, const fs::path& file, Passwords& passwords) {
  std::string text;
  std::string error;
  if (!ReadInput(file, &text, &error)) return Fail(error);
  Records records;
  if (!FromJson(text, &records, &error)) {
    return Fail((file == "-" ? std::string("standard input") : file.string()) + ", " + error +
                "; nothing was imported");
  }
  // Made and checked as the program does it, then taken from the program: it keeps the
  // store's records in memory and must not run while they change.
  fs::path real;
  const auto lock = TakeDataDirectory(dir, &real, &error);
  if (!lock) return Fail(error + "; nothing was imported");
  if (error = passwords.Mount(real); !error.empty()) return Fail(error);
  MergeSummary summary;
  {
    ProgressLine progress("Importing");
    ce::objectstore::Transaction transaction;
    if (!PrepareStore(&error)) return Fail(error + "; nothing was imported");
    if (!MergeRecords(records, &summary, std::ref(progress)) || !transaction.Commit()) {
      return Fail("the store refused the import: " + Reason() + "; nothing was imported");
    }
  }
  std::printf("Imported %zu record%s from %s:\n%s%s%s%s  settings: %s\n", records.Count(),
              records.Count() == 1 ? "" : "s", file == "-" ? "standard input" : file.c_str(),
              Counts("cycles", summary.cycles).c_str(),
              Counts("temperatures", summary.temperatures).c_str(),
              Counts("days", summary.days).c_str(), Counts("notes", summary.notes).c_str(),
              summary.settings_changed ? "changed" : "unchanged");
  return 0;
}

int BackupCommand(const fs::path& dir, const fs::path& file, Passwords& passwords) {
  if (std::string error = passwords.Mount(dir, true); !error.empty()) return Fail(error);
  if (std::string error = ce::objectstore::BackupTo(file, passwords.StoreKeyBytes());
      !error.empty()) {
    return Fail(error);
  }
  return 0;
}

int RestoreCommand(const fs::path& dir, const fs::path& file, Passwords& passwords) {
  std::string error;
  fs::path real;
  const auto lock = TakeDataDirectory(dir, &real, &error);
  if (!lock) return Fail(error + "; nothing was restored");
  std::error_code ec;
  const bool had_store = fs::exists(ce::objectstore::StoreFile(real), ec);
  // The store's password is asked first, and found right before the copy's is asked.
  if (had_store && !(error = passwords.Mount(real)).empty()) return Fail(error);
  ce::objectstore::Unmount();
  SecretText copy_password;
  const bool copy_encrypted = ce::objectstore::IsEncryptedFile(file);
  if (copy_encrypted && !passwords.OfFile(file, &copy_password, &error)) return Fail(error);
  const StoreKey copy_key(copy_password.View());
  if (copy_encrypted && copy_key.empty()) return Fail(NotOpenedBy(file));
  // The copy is checked whole before the store is touched.
  bool wrong_key = false;
  if (error = ce::objectstore::MountFile(file, copy_key.View(), &wrong_key); !error.empty()) {
    return Fail(wrong_key ? error
                          : file.string() +
                                " is not a Calvira store this program can read; nothing was "
                                "restored");
  }
  std::vector<Breach> breaches = CheckStore();
  std::erase_if(breaches, [](const Breach& b) { return !b.structural; });
  ce::objectstore::Unmount();
  if (!breaches.empty()) {
    PrintBreaches(breaches);
    return Fail(file.string() + " is not a whole Calvira store; nothing was restored");
  }
  // The store keeps its password and its encryption: a restore brings records back, not an old
  // password. One made here takes the copy's, as it is in the settings record.
  Settings current;
  ce::objectstore::MountOptions as_copy;
  as_copy.key = copy_key.View();
  error = had_store ? passwords.Mount(real) : ce::objectstore::Mount(real, as_copy);
  if (!error.empty()) return Fail(error);
  if (had_store) ReadSettings(&current);
  const fs::path kept = DatedBackup(real);
  if (had_store) {
    if (error = ce::objectstore::BackupTo(kept, passwords.StoreKeyBytes()); !error.empty()) {
      return Fail(error + "; nothing was restored");
    }
  }
  const auto keep_password = [&]() -> std::string {
    Settings restored;
    if (!ReadSettings(&restored)) return "the copy has no settings record";
    if (had_store) {
      ce::WipeText(restored.password);
      restored.password = current.password;
      restored.password_set = current.password_set;
    }
    // Written even when unchanged: an encrypted store's logo file follows the record.
    return WriteSettings(restored) ? std::string()
                                   : "cannot write the settings record: " + Reason();
  };
  if (error = ce::objectstore::RestoreFrom(file, copy_key.View(), keep_password); !error.empty()) {
    return Fail("cannot restore " + file.string() + ": " + error + "; the store is as it was");
  }
  std::printf(
      "Restored %s.%s\n", file.c_str(),
      had_store ? (" The store it replaced is kept as " + kept.string() + ".").c_str() : "");
  if (had_store && copy_encrypted && !ce::objectstore::MountedEncrypted()) {
    std::fprintf(stderr,
                 "calvira-data: note: the store is not encrypted, so neither are the restored "
                 "records now; 'calvira-data encrypt' encrypts them\n");
  }
  return 0;
}

int CheckCommand(const fs::path& dir, bool repair, Passwords& passwords) {
  std::string error;
  fs::path real;
  std::unique_ptr<ce::SingleInstance> lock;
  if (repair && !(lock = TakeDataDirectory(dir, &real, &error))) {
    return Fail(error + "; nothing was repaired");
  }
  if (error = passwords.Mount(repair ? real : dir, !repair); !error.empty()) return Fail(error);
  const std::vector<Breach> breaches = CheckStore();
  PrintBreaches(breaches);
  if (!repair || breaches.empty()) {
    if (breaches.empty()) std::printf("No faults found.\n");
    return breaches.empty() ? 0 : 1;
  }
  const fs::path kept = DatedBackup(real);
  if (error = ce::objectstore::BackupTo(kept, passwords.StoreKeyBytes()); !error.empty()) {
    return Fail(error + "; nothing was repaired");
  }
  std::vector<std::string> changes;
  if (!RepairStore(&changes)) {
    return Fail("the store refused the repair: " + Reason() + "; nothing was changed");
  }
  for (const std::string& change : changes) std::printf("%s\n", change.c_str());
  std::printf("Repaired; the store as it was is kept as %s.\n", kept.c_str());
  // What the repair could not mend is still there: the exit code says so.
  return CheckStore().empty() ? 0 : 1;
}

int EncryptCommand(const fs::path& dir, Passwords& passwords) {
  std::string error;
  fs::path real;
  const auto lock = TakeDataDirectory(dir, &real, &error);
  if (!lock) return Fail(error + "; nothing was changed");
  if (error = passwords.Mount(real); !error.empty()) return Fail(error);
  const bool rekeyed = passwords.Encrypted();
  {
    // What is encrypted is a whole store, even one made just now.
    ce::objectstore::Transaction transaction;
    if (!PrepareStore(&error) || !transaction.Commit()) {
      return Fail((error.empty() ? "the store refused a write: " + Reason() : error) +
                  "; nothing was changed");
    }
  }
  SecretText next;
  if (!passwords.New(&next, &error)) return Fail(error);
  if (error = ChangeProtection(real, passwords.StorePassword(), next.View()); !error.empty()) {
    return Fail(error);
  }
  std::printf(rekeyed ? "The store in %s has its new password.\n"
                      : "The store in %s is encrypted under the new password.\n",
              dir.c_str());
  // Copies that a restore or a repair kept beside the store were made before: say so, so that
  // no plain copy of her records is left there unawares.
  std::string plain;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(real, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("objectstore.sqlite3.") && name.ends_with(".bak") &&
        !ce::objectstore::IsEncryptedFile(entry.path())) {
      if (!plain.empty()) plain += ", ";
      plain += entry.path().string();
    }
  }
  if (!plain.empty()) {
    std::fprintf(stderr,
                 "calvira-data: note: these older copies beside the store are not encrypted: %s; "
                 "delete them once they are no longer needed\n",
                 plain.c_str());
  }
  return 0;
}

int DecryptCommand(const fs::path& dir, Passwords& passwords) {
  std::string error;
  fs::path real;
  const auto lock = TakeDataDirectory(dir, &real, &error);
  if (!lock) return Fail(error + "; nothing was changed");
  if (!ce::objectstore::IsEncrypted(real)) {
    return Fail("the store in " + dir.string() + " is not encrypted; nothing was changed");
  }
  if (error = passwords.Mount(real); !error.empty()) return Fail(error);
  if (error = ChangeProtection(real, passwords.StorePassword(), {}); !error.empty()) {
    return Fail(error);
  }
  std::printf("The store in %s is plain again, without a password.\n", dir.c_str());
  return 0;
}
