// A record's properties in memory: CCePropVal holds one typed value (and owns its string),
// CCePropArray an owning array of them in which element i is property number i.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/object_store.h"

class CCePropVal {
 public:
  CCePropVal();  // an I2 of value 0
  CCePropVal(const CCePropVal& other);
  CCePropVal& operator=(const CCePropVal& other);
  ~CCePropVal();

  // Each setter frees any owned string and clears the length and flags.
  void SetI2(int16_t value);
  void SetI4(int32_t value);
  void SetUI4(uint32_t value);
  void SetR8(double value);
  void SetBool(int16_t value);  // kept sign-extended to 32 bits
  void SetUI2(uint16_t value);
  // Copies the text (null gives ""). A text of 200 characters or more ends the program.
  void SetString(const char16_t* text);

  ce::WORD Type() const { return ce::TypeFromPropId(val_.propid); }
  const ce::CEPROPVAL& Raw() const { return val_; }

  int16_t I2() const { return val_.val.iVal; }
  uint16_t UI2() const { return val_.val.uiVal; }
  int32_t I4() const { return val_.val.lVal; }
  uint32_t UI4() const { return val_.val.ulVal; }
  ce::BOOL Bool() const { return val_.val.boolVal; }
  double R8() const { return val_.val.dblVal; }
  // The string of a string value; "" for any other type.
  const char16_t* String() const;

 private:
  void Reset(ce::WORD type);
  void Release();

  ce::CEPROPVAL val_;
  std::unique_ptr<char16_t[]> owned_;
};

class CCePropArray {
 public:
  CCePropArray() = default;
  CCePropArray(const CCePropArray&) = delete;
  CCePropArray& operator=(const CCePropArray&) = delete;

  // Inserts a copy of the value at `index` clamped to the count (callers append). Returns false,
  // leaving the array as it was, when memory runs out.
  bool Append(const CCePropVal& value, uint32_t index = UINT32_MAX);
  void Clear();
  // Element min(index, count - 1). On an empty array: a spare I2 of value 0, so that a caller
  // who reads a property the record lacks gets a zero instead of stray memory.
  CCePropVal& At(uint32_t index);
  const CCePropVal& At(uint32_t index) const;
  uint32_t Count() const { return count_; }

 private:
  std::unique_ptr<CCePropVal[]> items_;
  uint32_t count_ = 0;
  mutable CCePropVal spare_;
};
