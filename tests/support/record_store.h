// The program's databases made in a fresh data directory, for the tests of the layers that keep
// records; and records written straight into a database, as another program or an older version
// could have left them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "store/catalogue.h"
#include "store/ce_database.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace calvira::testing {

// A property value as the setter of its type makes it.
template <auto set, typename T>
CCePropVal Prop(T value) {
  CCePropVal p;
  (p.*set)(value);
  return p;
}
inline constexpr auto UI4 = Prop<&CCePropVal::SetUI4, uint32_t>;
inline constexpr auto I2 = Prop<&CCePropVal::SetI2, int16_t>;
inline constexpr auto Bool = Prop<&CCePropVal::SetBool, int16_t>;
inline constexpr auto R8 = Prop<&CCePropVal::SetR8, double>;
inline constexpr auto Str = Prop<&CCePropVal::SetString, const char16_t*>;

// One record of the values in this order, with no rule of the layers above kept.
inline void WriteRaw(const char16_t* database, std::initializer_list<CCePropVal> values) {
  CCeDatabase db;
  ASSERT_TRUE(db.Open(database, 0));
  CCePropArray record;
  for (const CCePropVal& v : values) record.Append(v);
  ASSERT_TRUE(db.WriteNew(record));
}

class RecordStoreTest : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }
  // An empty store again, for the next row of a table.
  void Fresh() {
    TearDown();
    SetUp();
  }

  // Makes `change` fail from its first write or sync on, then from its second, and so on until
  // it is done. A failed change must be reported (to the caller and in a box) and `unchanged`
  // must hold of what a new start finds; a change that a fault struck is never done. Returns the
  // number of failed attempts.
  int FailEachWrite(const std::function<bool()>& change, const std::function<void()>& unchanged,
                    Fault fault = Fault::kIoError) {
    MountFaulty();
    for (int nth = 1; nth <= 100; ++nth) {
      SCOPED_TRACE(::testing::Message() << "failing from write " << nth);
      FailFrom(nth, fault);
      const bool done = change();
      const bool struck = FaultStruck();
      ClearFault();
      const std::vector<std::u16string> said = TakeBoxTexts();
      MountFaulty();
      if (done) {
        EXPECT_FALSE(struck);
        return nth - 1;
      }
      EXPECT_FALSE(said.empty());  // never in silence
      unchanged();
    }
    ADD_FAILURE() << "never done";
    return 100;
  }
};

}  // namespace calvira::testing
