#include "app/password_input.h"

#include <fcntl.h>
#include <sodium.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include "platform/object_store.h"

namespace {

// Longer than any password the program takes (199 characters of up to three bytes each).
constexpr size_t kLongestLine = 1024;
constexpr size_t kLongestPassword = 199;

enum class Line { kRead, kEnded, kTooLong, kFailed };

// One line without its newline. Read a byte at a time, so that nothing after the line is taken
// from the input: the next password's line is still there for the next read.
Line ReadLine(int fd, GuardedBuffer<char>* line) {
  line->clear();
  if (line->data() == nullptr) {
    errno = ENOMEM;
    return Line::kFailed;
  }
  bool any = false;
  bool too_long = false;
  for (;;) {
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Line::kFailed;
    if (n == 0) {
      if (!any) return Line::kEnded;
      break;
    }
    any = true;
    if (c == '\n') break;
    if (line->size() == kLongestLine) {
      too_long = true;  // read on to the line's end all the same
    } else {
      line->push_back(c);
    }
    c = 0;
  }
  return too_long ? Line::kTooLong : Line::kRead;
}

// The terminal's settings while its echo is off, for a signal to put back before the process
// ends: a shell left without echo would look broken.
volatile sig_atomic_t g_tty = -1;
termios g_tty_saved{};

void RestoreTerminalAndDie(int signal) {
  if (g_tty >= 0) {
    ::tcsetattr(g_tty, TCSANOW, &g_tty_saved);
    [[maybe_unused]] const ssize_t shown = ::write(g_tty, "\n", 1);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);  // delivered once the handler returns
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Reads a line typed on the terminal `tty` after `prompt`, with its echo off.
Line ReadTyped(int tty, const std::string& prompt, GuardedBuffer<char>* line) {
  termios quiet{};
  const bool echo_off = ::tcgetattr(tty, &g_tty_saved) == 0;
  struct sigaction before[std::size(kEndingSignals)] = {};
  if (echo_off) {
    g_tty = tty;
    struct sigaction restore {};
    restore.sa_handler = RestoreTerminalAndDie;
    sigemptyset(&restore.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      ::sigaction(kEndingSignals[i], &restore, &before[i]);
    }
    quiet = g_tty_saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(tty, TCSAFLUSH, &quiet);
  }
  // Asked once the echo is off, so that nothing typed at once is shown.
  [[maybe_unused]] ssize_t shown = ::write(tty, prompt.data(), prompt.size());
  const Line read = ReadLine(tty, line);
  if (echo_off) {
    ::tcsetattr(tty, TCSAFLUSH, &g_tty_saved);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      ::sigaction(kEndingSignals[i], &before[i], nullptr);
    }
    g_tty = -1;
  }
  shown = ::write(tty, "\n", 1);  // the Enter that was not echoed
  return read;
}

}  // namespace

bool SecretText::Assign(std::string_view utf8) {
  *this = SecretText();
  if (utf8.empty()) return true;
  // Never more units than bytes.
  units_ = GuardedBuffer<char16_t>(utf8.size());
  if (units_.data() == nullptr) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    const unsigned char lead = *p++;
    char32_t c = lead;
    int more = 0;
    char32_t least = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
      c = lead & 0x07;
      more = 3;
      least = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      c = lead & 0x0F;
      more = 2;
      least = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      c = lead & 0x1F;
      more = 1;
      least = 0x80;
    } else if (lead >= 0x80) {
      *this = SecretText();
      return false;
    }
    for (int i = 0; i < more; ++i) {
      if (p == end || (*p & 0xC0) != 0x80) {
        *this = SecretText();
        return false;
      }
      c = (c << 6) | (*p++ & 0x3F);
    }
    // Overlong forms, surrogates and what lies past Unicode are not text.
    if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      *this = SecretText();
      return false;
    }
    if (c >= 0x10000) {
      units_.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units_.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units_.push_back(static_cast<char16_t>(c));
    }
    c = 0;
  }
  return true;
}

bool SecretText::Equals(const SecretText& other) const {
  const size_t size = units_.size();
  if (size != other.units_.size()) return false;
  return size == 0 ||
         sodium_memcmp(units_.data(), other.units_.data(), size * sizeof(char16_t)) == 0;
}

std::string NotOpenedBy(const std::filesystem::path& file) {
  return "the password does not open " + file.string() + "; nothing was changed";
}

bool Passwords::Read(const std::string& prompt, const std::string& no_terminal, SecretText* out,
                     std::string* error) {
  GuardedBuffer<char> line(kLongestLine);
  Line read;
  if (from_stdin_) {
    read = ReadLine(STDIN_FILENO, &line);
    if (read == Line::kEnded) {
      *error =
          "standard input ended before the password (--password-stdin reads one line for "
          "each password needed)";
      return false;
    }
  } else {
    // A terminal to ask on: one the user sits at, not a job started from one and sent to a log.
    const bool attended = ::isatty(STDIN_FILENO) == 1 || ::isatty(STDERR_FILENO) == 1;
    const int tty = attended ? ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (tty < 0) {
      *error = no_terminal;
      return false;
    }
    read = ReadTyped(tty, prompt, &line);
    ::close(tty);
    if (read == Line::kEnded) {
      *error = "no password was typed; nothing was changed";
      return false;
    }
  }
  if (read == Line::kFailed) {
    *error = std::string("cannot read the password: ") + std::strerror(errno);
    return false;
  }
  if (read == Line::kTooLong || !out->Assign({line.data(), line.size()})) {
    *error = read == Line::kTooLong ? "the password given is longer than any Calvira password"
                                    : "the password given is not UTF-8 text";
    *error += "; nothing was changed";
    return false;
  }
  return true;
}

std::string Passwords::Mount(const std::filesystem::path& dir, bool read_only) {
  ce::objectstore::MountOptions options;
  options.read_only = read_only;
  encrypted_ = ce::objectstore::IsEncrypted(dir);
  if (!encrypted_) return ce::objectstore::Mount(dir, options);
  const std::string file = ce::objectstore::StoreFile(dir).string();
  if (!given_) {
    std::string error;
    const std::string no_terminal =
        file + " is encrypted and there is no terminal to ask its password on; " +
        (export_on_stdin_ ? "run the import on a terminal, or give the export as a file and the "
                            "password as one line of standard input with --password-stdin"
                          : "give it as one line of standard input with --password-stdin");
    if (!Read("Password for " + dir_.string() + ": ", no_terminal, &password_, &error)) {
      return error;
    }
    key_ = StoreKey(password_.View());
    given_ = true;
  }
  // No store is encrypted under an empty password.
  if (key_.empty()) return NotOpenedBy(file);
  options.key = key_.View();
  return ce::objectstore::Mount(dir, options);
}

bool Passwords::OfFile(const std::filesystem::path& file, SecretText* out, std::string* error) {
  return Read("Password for " + file.string() + ": ",
              file.string() +
                  " is encrypted and there is no terminal to ask its password on; give it as "
                  "one line of standard input with --password-stdin",
              out, error);
}

bool Passwords::New(SecretText* out, std::string* error) {
  const std::string no_terminal =
      "there is no terminal to ask the new password on; give it as one line of standard input "
      "with --password-stdin";
  if (!Read("New password for " + dir_.string() + ": ", no_terminal, out, error)) return false;
  if (out->empty()) {
    *error = "the password is empty; nothing was changed";
    return false;
  }
  if (out->View().size() > kLongestPassword) {
    *error = "the password is " + std::to_string(out->View().size()) +
             " characters long; at most " + std::to_string(kLongestPassword) +
             " are possible; nothing was changed";
    return false;
  }
  if (from_stdin_) return true;
  SecretText again;
  if (!Read("Type it again: ", no_terminal, &again, error)) return false;
  if (!again.Equals(*out)) {
    *error = "the passwords do not match; nothing was changed";
    return false;
  }
  return true;
}
