// The Password and Options screens as a user meets them: each message of the Password screen's
// OK, with and without a stored password, and what the next start makes of it; the Options
// written back, kept or left alone, and seen by the start-up that reads them.

#include <tuple>

#include "diary/diary_records.h"
#include "platform/object_store.h"
#include "scenarios/cycle_steps.h"
#include "store/password_hash.h"
#include "support/files.h"

namespace calvira::testing {
namespace {

// No password, and settings other than the defaults, to be seen staying.
Settings Others() {
  Settings settings = LogoOff();
  settings.scale = 2;
  settings.show_min_max = true;
  return settings;
}

Settings Stored() {
  Settings settings;
  EXPECT_TRUE(ReadSettings(&settings));
  return settings;
}

// Whether the note's text, in UTF-8 or UTF-16, is in some file of the data directory.
bool NoteReadable(const std::filesystem::path& dir) {
  const std::string bytes = AllBytes(dir);
  return bytes.find("Dentist") != std::string::npos ||
         bytes.find(std::string("D\0e\0n\0t\0i\0s\0t", 13)) != std::string::npos;
}

void FillAll(Scenario& s, const std::u16string& current, const std::u16string& new_password,
             const std::u16string& verify) {
  Refill(s, kCtlPasswordCurrent, current);
  Refill(s, kCtlPasswordNew, new_password);
  Refill(s, kCtlPasswordVerify, verify);
}

// Past the start-up prompt, when there is one, to the Password screen.
void OpenPasswordScreen(Scenario& s, const std::u16string& password) {
  if (!password.empty()) s.Type(password).Key(ce::VK_RETURN);
  s.Check([] { ExpectView(kCycleView); }).Menu(kCmdPassword).Check([] {
    ExpectView(kPasswordView);
  });
}

// Set where none was; then each message that keeps the screen up, one after the other on the
// same dialog, each leaving the store as it was, and the two ways out that save nothing (which
// fields give which answer is the rules' own table); changed, the next start takes the new one
// only; removed, it is stored as none. The other settings stay through all of it.
TEST(PasswordScreen, AFirstPasswordItsRefusalsAChangeAndARemovalEachRuleTheNextStart) {
  Scenario s("password screen");
  std::string before;
  const auto unchanged_on = [&](int32_t view) {
    return [&before, view] {
      ExpectView(view);
      EXPECT_EQ(StoreContents(), before);
    };
  };
  s.Before([] {
    StoreSettings(Others());
    ASSERT_TRUE(SaveNote(0, Day(2026, 1, 5), u"Dentist"));
  });
  OpenPasswordScreen(s, u"");
  FillAll(s, u"", u"Secret", u"Secret");
  // The fields show bullets, as the committed picture has them. Cancel at the word on
  // encryption saves nothing and keeps what was typed; OK encrypts the store under it.
  s.Screenshot(ShotPath("password-screen.png"))
      .TapControl(ce::IDOK)
      .Screenshot(ShotPath("password-encrypt.png"))
      .ExpectBox(u"Password", kTextEncryptRecords, ce::IDCANCEL)
      .Check([&s] {
        ExpectView(kPasswordView);
        EXPECT_TRUE(NoteReadable(s.DataDir()));
        EXPECT_EQ(std::tuple(Field(kCtlPasswordNew), Stored().password,
                             ce::objectstore::IsEncrypted(s.DataDir())),
                  std::tuple("Secret", u"", false));
      })
      .TapControl(ce::IDOK)
      .ExpectBox(u"Password", kTextEncryptRecords, ce::IDOK)
      .ExpectBox(u"Password", u"Password changed\nsuccessfully!", ce::IDOK)
      .Check([&] {
        ExpectView(kCycleView);
        const Settings set = Stored();
        EXPECT_EQ(std::tuple(VerifyPassword(set.password, u"Secret"), NeedsRehash(set.password),
                             set.password_set, ce::objectstore::IsEncrypted(s.DataDir()),
                             LogoFlagDisabled(s.DataDir())),
                  std::tuple(true, false, 1, true, true));
        EXPECT_FALSE(NoteReadable(s.DataDir()));
        before = StoreContents();
      })
      .Menu(kCmdPassword);
  const struct {
    std::u16string current, new_password, verify;
    std::u16string box;  // empty: none
    int answer = ce::IDOK;
  } cases[] = {
      {u"secret", u"New", u"New", u"Wrong password!\nTry again?"},
      {u"", u"New", u"New", u"Please enter\nthe current password!"},
      {u"", u"New", u"Nwe", u""},
      {u"Secret", u"New", u"new", u"Verification failed!"},
      {u"Secret", u"Secret", u"Secret", u"The password\nis the same!"},
      {u"Secret", u"", u"", u"Remove current\npassword?", ce::IDCANCEL},
  };
  for (const auto& c : cases) {
    FillAll(s, c.current, c.new_password, c.verify);
    s.TapControl(ce::IDOK);
    if (!c.box.empty()) s.ExpectBox(u"Password", c.box, c.answer);
    s.Check(unchanged_on(kPasswordView));
  }
  s.TapControl(ce::IDCANCEL).Check(unchanged_on(kCycleView)).Menu(kCmdPassword);
  // Cancel on the wrong password question leaves the screen.
  FillAll(s, u"Secret ", u"Other", u"Other");
  s.TapControl(ce::IDOK)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDCANCEL)
      .Check(unchanged_on(kCycleView))
      .Menu(kCmdPassword);
  // A change re-keys the store, with no question.
  FillAll(s, u"Secret", u"Changed", u"Changed");
  s.TapControl(ce::IDOK)
      .ExpectBox(u"Password", u"Password changed\nsuccessfully!", ce::IDOK)
      .Check([] {
        const std::u16string hash = Stored().password;
        EXPECT_TRUE(VerifyPassword(hash, u"Changed") && !VerifyPassword(hash, u"Secret"));
        EXPECT_TRUE(ce::objectstore::MountedEncrypted());
      });
  s.RunCleanly();

  // The next start, on the encrypted store the first run left and its logo flag: the logo's
  // setting is honoured before the password is known, and only the new password is the key.
  Scenario next("next start after a change");
  next.Before([&] {
    ce::objectstore::Unmount();
    for (const char* name : {"objectstore.sqlite3", "logo-disabled"}) {
      std::filesystem::copy_file(s.DataDir() / name, next.DataDir() / name,
                                 std::filesystem::copy_options::overwrite_existing);
    }
  });
  next.Check([] {
    ExpectView(kPasswordEntryView);
    EXPECT_LT(ce::GetTickCount() - 1000, 2000u);  // no two seconds of logo
    EXPECT_FALSE(ce::objectstore::IsMounted());
  });
  next.Type(u"Secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", u"Wrong password!\nTry again?", ce::IDOK);
  for (int i = 0; i < 6; ++i) next.Key(ce::VK_BACK);
  OpenPasswordScreen(next, u"Changed");
  // Removed, the password leaves a plain store and no flag beside it.
  FillAll(next, u"Changed", u"", u"");
  next.TapControl(ce::IDOK)
      .ExpectBox(u"Password", u"Remove current\npassword?", ce::IDOK)
      .ExpectBox(u"Password", u"Password changed\nsuccessfully!", ce::IDOK)
      .Check([&next] {
        const Settings st = Stored();
        EXPECT_EQ(std::tuple(st.password, st.password_set, st.scale, st.logo_disabled,
                             st.show_min_max, ce::objectstore::IsEncrypted(next.DataDir()),
                             LogoFlagDisabled(next.DataDir())),
                  std::tuple(u"", 0, 2, true, true, false, false));
      });
  next.RunCleanly();
}

// A scale shown as Fahrenheit (the full mapping is the rules' table). Cancel after changing
// everything writes nothing and the next visit shows the store; OK stores Fahrenheit's own scale
// and leaves the password and the flags before it as they were; OK after changes
// stores them.
TEST(OptionsScreen, CancelWritesNothingAndOkStoresTheScaleAndTheChanges) {
  Scenario s("options");
  std::string before;
  Settings stored = Others();
  stored.password = HashPassword(u"Secret");
  stored.password_set = 1;
  stored.scale = 3;
  stored.show_min_max = false;
  s.Before([&] { StoreSettings(stored); });
  // The store is encrypted when its password is first given; the boxes as stored are the
  // committed picture's.
  s.Type(u"Secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", kTextEncryptRecords, ce::IDOK)
      .Check([&before] { before = StoreContents(); })
      .Menu(kCmdOptions)
      .Screenshot(ShotPath("options.png"));
  const auto tick_all = [&s]() -> Scenario& {
    return s.TapControl(kCtlOptionsCelsius)
        .TapControl(kCtlOptionsShowMinMax)
        .TapControl(kCtlOptionsDisableLogo);
  };
  tick_all()
      .TapControl(ce::IDCANCEL)
      .Check([&] {
        ExpectView(kCycleView);
        EXPECT_EQ(StoreContents(), before);
      })
      .Menu(kCmdOptions)
      .Check([] { EXPECT_EQ(Shown(kCtlOptionsCelsius)->checked, 0); })
      .TapControl(ce::IDOK)
      .Check([&] {
        ExpectView(kCycleView);
        const Settings a = Stored();
        EXPECT_EQ(std::tuple(VerifyPassword(a.password, u"Secret"), a.password_set, a.spare,
                             a.scale, LogoFlagDisabled(s.DataDir())),
                  std::tuple(true, stored.password_set, stored.spare, 2, true));
      })
      .Menu(kCmdOptions);
  // The logo's flag beside the encrypted store follows the setting.
  tick_all().TapControl(ce::IDOK).Check([&s] {
    const Settings st = Stored();
    EXPECT_EQ(std::tuple(VerifyPassword(st.password, u"Secret"), st.scale, st.show_min_max,
                         st.logo_disabled, LogoFlagDisabled(s.DataDir())),
              std::tuple(true, 1, true, false, false));
  });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
