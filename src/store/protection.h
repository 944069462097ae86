// The store under the user's password: encrypted at rest with it as the key, or plain without
// one. The Password screen, the start-up prompt and calvira-data all change the protection here,
// so the settings record's password and the store's encryption never go separate ways.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/guarded_buffer.h"

// A password as the key of an encrypted store: its UTF-8 bytes, in memory that libsodium keeps
// locked and fenced by guard pages, wiped when the key goes. Empty: no key, a plain store.
class StoreKey {
 public:
  StoreKey() = default;
  explicit StoreKey(std::u16string_view password);

  std::string_view View() const { return {bytes_.data(), bytes_.size()}; }
  bool empty() const { return bytes_.size() == 0; }

 private:
  GuardedBuffer<char> bytes_;
};

// Mounts the store of `dir` with the password `password`, as its key when the store is
// encrypted. An empty string, or why not; *wrong_key is set when the password does not open it.
std::string MountProtected(const std::filesystem::path& dir, std::u16string_view password,
                           bool* wrong_key = nullptr);

// Sets the password of the mounted store of the data directory `dir` from `current` (empty:
// none) to `next` (empty: none), and its encryption with it: a password encrypts the store under
// it, none leaves it plain. The settings record's new password is written into the converted
// copy before that takes the old store's place, so that both change at once or neither does.
// The store stays mounted, under its new key or, on failure, as it was; `vfs` null keeps the
// mounted store's. An empty string, or why not.
std::string ChangeProtection(const std::filesystem::path& dir, std::u16string_view current,
                             std::u16string_view next, const char* vfs = nullptr);

// Tells the user why a change of the protection failed, through the store's reporter: in the
// plain words of a refused change when the disk refused it, in `error`'s words otherwise.
void ReportProtectionError(const std::string& error);
