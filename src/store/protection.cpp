#include "store/protection.h"

#include <sodium.h>
#include <string.h>  // explicit_bzero

#include <utility>

#include "platform/object_store.h"
#include "platform/reporter.h"
#include "platform/text.h"
#include "store/ce_database.h"
#include "store/password_hash.h"
#include "store/settings.h"

StoreKey::StoreKey(std::u16string_view password)
    // At most three bytes a unit; a pair of surrogates makes four from two.
    : bytes_(password.size() * 3) {
  if (bytes_.data() == nullptr) return;
  // One character at a time, so that no copy of the whole text is made outside the guarded
  // memory: each piece fits the string's own small buffer, which is wiped.
  for (size_t i = 0; i < password.size();) {
    const bool pair = i + 1 < password.size() && password[i] >= 0xD800 && password[i] <= 0xDBFF;
    const size_t units = pair ? 2 : 1;
    std::string piece = ce::ToUtf8(password.substr(i, units));
    for (char c : piece) bytes_.push_back(c);
    explicit_bzero(piece.data(), piece.size());
    i += units;
  }
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
  std::u16string hash;
  if (!next.empty()) {
    hash = HashPassword(next);
    if (hash.empty()) return "not enough memory to keep the password; nothing was changed";
  }
  bool logo_disabled = false;
  // The settings record's password, written into the store as it is to be.
  const auto write_password = [&]() -> std::string {
    Settings settings;
    if (!ReadSettings(&settings)) EnsureSettingsRecord();
    ce::WipeText(settings.password);
    settings.password = hash;
    settings.password_set = next.empty() ? 0 : 1;
    logo_disabled = settings.logo_disabled;
    if (WriteSettings(settings)) return {};
    const char16_t* refusal = RefusedChangeText(ce::GetLastError());
    return refusal != nullptr ? ce::ToUtf8(refusal)
                              : "the settings could not be written; nothing was changed";
  };
  if (vfs == nullptr) vfs = objectstore::MountedVfs();
  const StoreKey old_key(objectstore::MountedEncrypted() ? current : std::u16string_view());
  const StoreKey new_key(next);
  if (old_key.empty() && new_key.empty()) {
    std::string error = write_password();
    ce::WipeText(hash);
    return error;
  }
  // The password and the encryption change together: the new record is written into the
  // converted copy before it takes the old store's place.
  std::string error =
      objectstore::ConvertStore(dir, old_key.View(), new_key.View(), vfs, write_password);
  ce::WipeText(hash);
  const StoreKey& key = error.empty() ? new_key : old_key;
  if (std::string mounted = objectstore::Mount(dir, {.vfs = vfs, .key = key.View()});
      error.empty()) {
    error = mounted;
  }
  // The logo's setting is the one thing readable beside an encrypted store.
  if (error.empty()) WriteLogoFlag(dir, !new_key.empty() && logo_disabled);
  return error;
}

void ReportProtectionError(const std::string& error) {
  const char16_t* refusal = RefusedChangeText(ce::GetLastError());
  const std::u16string text = refusal != nullptr ? refusal : ce::FromUtf8(error);
  ce::objectstore::Report(text.c_str(), u"Calvira", ce::MB_ICONEXCLAMATION);
}
