#include "store/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <vector>

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/ce_prop.h"

namespace {

constexpr const char16_t* kSystems = u"Systems";
constexpr size_t kMaxPasswordLength = 199;  // the store's string limit

constexpr ce::WORD kDeclaredType[kSettingCount] = {
    ce::CEVT_LPWSTR, ce::CEVT_BOOL, ce::CEVT_BOOL, ce::CEVT_UI2, ce::CEVT_BOOL, ce::CEVT_BOOL,
};

// "Systems", opened in the store's own order and standing on its first record. Opened quietly:
// on the first start it does not exist yet, and that is no error.
class Systems {
 public:
  Systems() : handle_(ce::CeOpenDatabase(nullptr, kSystems, 0, 0, nullptr)) {
    if (IsOpen()) first_ = ce::CeSeekDatabase(handle_, ce::CEDB_SEEK_BEGINNING, 0, nullptr);
  }
  ~Systems() {
    if (IsOpen()) ce::CloseHandle(handle_);
  }
  Systems(const Systems&) = delete;
  Systems& operator=(const Systems&) = delete;

  bool IsOpen() const { return handle_ != ce::INVALID_HANDLE_VALUE; }
  ce::HANDLE Handle() const { return handle_; }
  // The settings record's object id; 0 when there is none.
  ce::CEOID First() const { return first_; }

 private:
  ce::HANDLE handle_;
  ce::CEOID first_ = 0;
};

// An integer property's value as the low 16 bits, sign-extended: how the record's booleans have
// always been read.
int16_t Word(const ce::CEPROPVAL& p) {
  switch (ce::TypeFromPropId(p.propid)) {
    case ce::CEVT_I2:
      return p.val.iVal;
    case ce::CEVT_UI2:
      return static_cast<int16_t>(p.val.uiVal);
    case ce::CEVT_I4:
    case ce::CEVT_BOOL:
      return static_cast<int16_t>(static_cast<uint32_t>(p.val.lVal) & 0xFFFF);
    case ce::CEVT_UI4:
      return static_cast<int16_t>(p.val.ulVal & 0xFFFF);
    default:
      return 0;
  }
}

bool IsInteger(ce::WORD type) {
  return type == ce::CEVT_I2 || type == ce::CEVT_UI2 || type == ce::CEVT_I4 ||
         type == ce::CEVT_UI4 || type == ce::CEVT_BOOL;
}

void Take(const ce::CEPROPVAL& p, Settings* settings) {
  const int16_t word = Word(p);
  switch (ce::NumberFromPropId(p.propid)) {
    case kSettingPassword:
      settings->password = p.val.lpwstr != nullptr ? p.val.lpwstr : u"";
      break;
    case kSettingPasswordSet:
      settings->password_set = word;
      break;
    case kSettingSpare:
      settings->spare = word;
      break;
    case kSettingScale:
      settings->scale = static_cast<uint16_t>(word);
      break;
    case kSettingLogoDisabled:
      settings->logo_disabled = word != 0;
      break;
    case kSettingShowMinMax:
      settings->show_min_max = word != 0;
      break;
    default:
      break;
  }
}

// Reads the settings record, if there is one. *tidy tells whether it holds exactly the six
// properties with their declared types.
bool ReadRecord(const Systems& systems, Settings* settings, bool* tidy) {
  ce::WipeText(settings->password);
  *settings = Settings{};
  *tidy = false;
  ce::CePropBuffer buffer;
  if (systems.First() == 0 || ce::CeReadRecordProps(systems.Handle(), buffer) == 0) return false;
  bool declared[kSettingCount] = {};
  // The declared type first, so that a twin of another type never hides it.
  for (const ce::CEPROPVAL& p : buffer.props()) {
    const ce::WORD n = ce::NumberFromPropId(p.propid);
    if (n < kSettingCount && ce::TypeFromPropId(p.propid) == kDeclaredType[n] && !declared[n]) {
      declared[n] = true;
      Take(p, settings);
    }
  }
  bool taken[kSettingCount] = {};
  for (const ce::CEPROPVAL& p : buffer.props()) {
    const ce::WORD n = ce::NumberFromPropId(p.propid);
    if (n >= kSettingCount || declared[n] || taken[n]) continue;
    // A value of another type still says what the user chose; a string where a number belongs
    // (or the reverse) says nothing.
    const bool fits = n == kSettingPassword ? ce::TypeFromPropId(p.propid) == ce::CEVT_LPWSTR
                                            : IsInteger(ce::TypeFromPropId(p.propid));
    if (!fits) continue;
    taken[n] = true;
    Take(p, settings);
  }
  *tidy = buffer.props().size() == kSettingCount;
  for (bool d : declared) *tidy = *tidy && d;
  return true;
}

}  // namespace

Settings::~Settings() {
  ce::WipeText(password);
}

bool ReadSettings(Settings* settings) {
  Systems systems;
  bool tidy = false;
  return ReadRecord(systems, settings, &tidy);
}

bool WriteSettings(const Settings& settings) {
  if (settings.password.size() > kMaxPasswordLength) {
    ce::SetLastError(ce::ERROR_INVALID_PARAMETER);
    return false;
  }
  Systems systems;
  if (!systems.IsOpen()) return false;

  CCePropVal values[kSettingCount];
  values[kSettingPassword].SetString(settings.password.c_str());
  values[kSettingPasswordSet].SetBool(settings.password_set);
  values[kSettingSpare].SetBool(settings.spare);
  values[kSettingScale].SetUI2(settings.scale);
  values[kSettingLogoDisabled].SetBool(settings.logo_disabled ? 1 : 0);
  values[kSettingShowMinMax].SetBool(settings.show_min_max ? 1 : 0);
  std::vector<ce::CEPROPVAL> list;
  for (uint32_t i = 0; i < kSettingCount; ++i) {
    list.push_back(values[i].Raw());
    list.back().propid = ce::PropId(static_cast<ce::WORD>(i), values[i].Type());
  }
  // Whatever else the record holds goes: the six are the whole record.
  if (systems.First() != 0) {
    ce::CePropBuffer buffer;
    ce::CeReadRecordProps(systems.Handle(), buffer);
    std::set<ce::WORD> extra;
    for (const ce::CEPROPVAL& p : buffer.props()) {
      if (ce::NumberFromPropId(p.propid) >= kSettingCount) {
        extra.insert(ce::NumberFromPropId(p.propid));
      }
    }
    for (ce::WORD n : extra) {
      ce::CEPROPVAL gone{};
      gone.propid = ce::PropId(n, ce::CEVT_I2);
      gone.wFlags = ce::CEDB_PROPDELETE;
      list.push_back(gone);
    }
  }
  if (ce::CeWriteRecordProps(systems.Handle(), systems.First(), static_cast<ce::WORD>(list.size()),
                             list.data()) == 0) {
    return false;
  }
  if (ce::objectstore::MountedEncrypted() && !ce::objectstore::MountedDirectory().empty()) {
    WriteLogoFlag(ce::objectstore::MountedDirectory(), settings.logo_disabled);
  }
  return true;
}

namespace {

std::filesystem::path LogoFlagFile(const std::filesystem::path& dir) {
  return dir / "logo-disabled";
}

}  // namespace

bool LogoFlagDisabled(const std::filesystem::path& dir) {
  struct stat st {};
  return ::lstat(LogoFlagFile(dir).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool WriteLogoFlag(const std::filesystem::path& dir, bool disabled) {
  const std::filesystem::path file = LogoFlagFile(dir);
  if (!disabled) return ::unlink(file.c_str()) == 0 || errno == ENOENT;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool EnsureSettingsRecord() {
  Settings settings;
  bool tidy = false;
  bool found = false;
  {
    Systems systems;
    if (!systems.IsOpen()) return false;
    found = ReadRecord(systems, &settings, &tidy);
  }
  if (found && tidy) return true;
  return WriteSettings(settings);
}
