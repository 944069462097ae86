// A password field's text, read up to 199 characters and wiped when it goes.
#pragma once

#include <sodium.h>

#include <array>
#include <string_view>

#include "platform/dialog.h"

class TypedField {
 public:
  TypedField(ce::HWND dialog, int id)
      : length_(ce::GetDlgItemText(dialog, id, text_.data(), static_cast<int>(text_.size()))) {}
  ~TypedField() { sodium_memzero(text_.data(), sizeof text_); }
  TypedField(const TypedField&) = delete;
  TypedField& operator=(const TypedField&) = delete;
  std::u16string_view View() const { return {text_.data(), length_}; }

 private:
  std::array<char16_t, 200> text_{};
  size_t length_;
};
