#include "store/protection.h"

#include <sodium.h>
#include <string.h>  // explicit_bzero

#include <utility>

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/password_hash.h"
#include "store/settings.h"

StoreKey::StoreKey(std::u16string_view password) {
  if (password.empty() || sodium_init() < 0) return;
  // At most three bytes a unit; a pair of surrogates makes four from two.
  bytes_ = static_cast<char*>(sodium_malloc(password.size() * 3));
  if (bytes_ == nullptr) return;
  // One character at a time, so that no copy of the whole text is made outside the guarded
  // memory: each piece fits the string's own small buffer, which is wiped.
  for (size_t i = 0; i < password.size();) {
    const bool pair = i + 1 < password.size() && password[i] >= 0xD800 && password[i] <= 0xDBFF;
    const size_t units = pair ? 2 : 1;
    std::string piece = ce::ToUtf8(password.substr(i, units));
    for (char c : piece) bytes_[size_++] = c;
    explicit_bzero(piece.data(), piece.size());
    i += units;
  }
}

StoreKey::~StoreKey() {
  if (bytes_ != nullptr) sodium_free(bytes_);  // wipes it
}

StoreKey::StoreKey(StoreKey&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)) {}

StoreKey& StoreKey::operator=(StoreKey&& other) noexcept {
  if (this != &other) {
    if (bytes_ != nullptr) sodium_free(bytes_);
    bytes_ = std::exchange(other.bytes_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

std::string MountProtected(const std::filesystem::path& dir, std::u16string_view password,
                           bool* wrong_key) {
  if (!ce::objectstore::IsEncrypted(dir)) return ce::objectstore::Mount(dir);
  if (password.empty() && wrong_key != nullptr) *wrong_key = true;
  const StoreKey key(password);
  return ce::objectstore::Mount(dir, {.key = key.View(), .wrong_key = wrong_key});
}

std::string ChangeProtection(const std::filesystem::path& dir, std::u16string_view current,
                             std::u16string_view next, const char* vfs) {
  namespace objectstore = ce::objectstore;
  Settings settings;
  if (!ReadSettings(&settings)) {
    EnsureSettingsRecord();
    ReadSettings(&settings);
  }
  if (!next.empty()) {
    std::u16string hash = HashPassword(next);
    if (hash.empty()) return "not enough memory to keep the password";
    ce::WipeText(settings.password);
    settings.password = std::move(hash);
  } else {
    ce::WipeText(settings.password);
  }
  settings.password_set = next.empty() ? 0 : 1;
  const auto write_settings = [&settings]() -> std::string {
    if (WriteSettings(settings)) return {};
    return ce::GetLastError() == ce::ERROR_DISK_FULL
               ? "the disk is full; the password was not changed"
               : "the settings could not be written; the password was not changed";
  };
  const bool encrypted = objectstore::MountedEncrypted();
  const StoreKey old_key(encrypted ? current : std::u16string_view());
  const StoreKey new_key(next);
  if (old_key.empty() && new_key.empty()) return write_settings();
  // The new password's hash is written into the converted store before it takes the old one's
  // place: whenever the process stops, the store and its record agree on the password.
  std::string error =
      objectstore::ConvertStore(dir, old_key.View(), new_key.View(), vfs, write_settings);
  if (!error.empty()) {
    objectstore::Mount(dir, {.vfs = vfs, .key = old_key.View()});  // as it was
    return error;
  }
  if (std::string mounted = objectstore::Mount(dir, {.vfs = vfs, .key = new_key.View()});
      !mounted.empty()) {
    return mounted;
  }
  // The logo's setting is the one thing readable beside an encrypted store.
  WriteLogoFlag(dir, !new_key.empty() && settings.logo_disabled);
  return {};
}
