// The passwords calvira-data needs, and how it gets them: typed on the terminal without echo, or,
// for scripts, read one line each from standard input (--password-stdin). A password lives only
// in memory that libsodium locks and wipes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "store/protection.h"

// A password as UTF-16 text, in guarded memory that is wiped when it goes.
class SecretText {
 public:
  // Takes the text of UTF-8 bytes. False, and empty, when they are not UTF-8 text.
  bool Assign(std::string_view utf8);
  std::u16string_view View() const { return {units_.data(), units_.size()}; }
  bool empty() const { return units_.size() == 0; }
  // In a time that does not depend on where two texts of one length differ.
  bool Equals(const SecretText& other) const;

 private:
  GuardedBuffer<char16_t> units_;
};

// What a store encrypted under a password says of one that does not open it.
std::string NotOpenedBy(const std::filesystem::path& file);

// Where the passwords of one run come from, and the store's once it was given.
class Passwords {
 public:
  // `dir`: the data directory as the user named it, for the prompts.
  Passwords(bool from_stdin, std::filesystem::path dir)
      : from_stdin_(from_stdin), dir_(std::move(dir)) {}

  // Standard input holds the export to import: only a terminal can give the store's password.
  void ExportOnStdin() { export_on_stdin_ = true; }

  // Mounts the store of `dir` as objectstore::Mount does, with its password when it is
  // encrypted: asked the first time, then kept for the run's later mounts. An empty string, or
  // why not; a password that does not open the store is told in the store's own words.
  std::string Mount(const std::filesystem::path& dir, bool read_only = false);
  // Whether the store that Mount opened last is encrypted; its password and key if so.
  bool Encrypted() const { return encrypted_; }
  std::u16string_view StorePassword() const {
    return encrypted_ ? password_.View() : std::u16string_view();
  }
  std::string_view StoreKeyBytes() const { return encrypted_ ? key_.View() : std::string_view(); }

  // The password of the encrypted store file `file`: the next line of standard input, or asked
  // as "Password for FILE: ". False with *error set.
  bool OfFile(const std::filesystem::path& file, SecretText* out, std::string* error);
  // A new password for the store: typed twice on the terminal, or the next line of standard
  // input. Refuses an empty one and one of 200 characters or more.
  bool New(SecretText* out, std::string* error);

 private:
  // One password: the next line of standard input, or typed after `prompt` on the terminal.
  // Without either, *error is `no_terminal`.
  bool Read(const std::string& prompt, const std::string& no_terminal, SecretText* out,
            std::string* error);

  bool from_stdin_;
  std::filesystem::path dir_;
  bool export_on_stdin_ = false;
  bool given_ = false;
  bool encrypted_ = false;
  SecretText password_;
  StoreKey key_;
};
