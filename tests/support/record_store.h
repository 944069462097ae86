// The program's databases made in a fresh data directory, for the tests of the layers that keep
// records; and records written straight into a database, as another program or an older version
// could have left them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "cycles/day_number.h"
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

  // Three days saved out of order, then the one at each position deleted in turn, and one beyond
  // them: positions count in the order of the days (`read` lists records with a day in order),
  // and beyond them nothing changes. Then Delete All, which also succeeds with nothing to delete.
  template <typename Read>
  static void ExpectDeletesByPosition(const std::function<bool(DayNumber)>& save,
                                      const std::function<bool(size_t)>& remove, Read read,
                                      const std::function<bool()>& remove_all) {
    const DayNumber d0 = 293000, d1 = d0 + 1, d2 = d0 + 2;
    const std::pair<size_t, std::vector<DayNumber>> cases[] = {
        {0, {d1, d2}}, {1, {d0, d2}}, {2, {d0, d1}}, {3, {d0, d1, d2}}};
    for (const auto& [position, left] : cases) {
      ASSERT_TRUE(remove_all());
      for (DayNumber d : {d2, d0, d1}) ASSERT_TRUE(save(d));
      EXPECT_EQ(remove(position), position < 3) << position;
      std::vector<DayNumber> days;
      for (const auto& record : read()) days.push_back(record.day);
      EXPECT_EQ(days, left) << position;
    }
    EXPECT_TRUE(remove_all() && remove_all());
    EXPECT_FALSE(remove(0));
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
