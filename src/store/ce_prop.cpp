#include "store/ce_prop.h"

#include <string.h>  // explicit_bzero

#include <algorithm>
#include <new>

#include "platform/process.h"
#include "platform/reporter.h"

namespace {

// Strings are short labels and notes; anything this long is a fault in the caller.
constexpr size_t kMaxStringLength = 199;

}  // namespace

CCePropVal::CCePropVal() {
  Reset(ce::CEVT_I2);
}

CCePropVal::CCePropVal(const CCePropVal& other) : CCePropVal() {
  *this = other;
}

CCePropVal& CCePropVal::operator=(const CCePropVal& other) {
  if (this == &other) return *this;
  if (other.Type() == ce::CEVT_LPWSTR) {
    SetString(other.String());
  } else {
    Release();
    val_ = other.val_;
  }
  val_.propid = other.val_.propid;
  val_.wLenData = other.val_.wLenData;
  val_.wFlags = other.val_.wFlags;
  return *this;
}

CCePropVal::~CCePropVal() {
  Release();
}

void CCePropVal::Release() {
  // A string value may be a password or a note: it does not stay behind in freed memory.
  if (owned_) {
    explicit_bzero(owned_.get(),
                   (std::char_traits<char16_t>::length(owned_.get()) + 1) * sizeof(char16_t));
  }
  owned_.reset();
}

void CCePropVal::Reset(ce::WORD type) {
  Release();
  val_ = ce::CEPROPVAL{};
  val_.propid = type;
}

void CCePropVal::SetI2(int16_t value) {
  Reset(ce::CEVT_I2);
  val_.val.iVal = value;
}

void CCePropVal::SetI4(int32_t value) {
  Reset(ce::CEVT_I4);
  val_.val.lVal = value;
}

void CCePropVal::SetUI4(uint32_t value) {
  Reset(ce::CEVT_UI4);
  val_.val.ulVal = value;
}

void CCePropVal::SetR8(double value) {
  Reset(ce::CEVT_R8);
  val_.val.dblVal = value;
}

void CCePropVal::SetBool(int16_t value) {
  Reset(ce::CEVT_BOOL);
  val_.val.boolVal = value;
}

void CCePropVal::SetUI2(uint16_t value) {
  Reset(ce::CEVT_UI2);
  val_.val.uiVal = value;
}

void CCePropVal::SetString(const char16_t* text) {
  if (!text) text = u"";
  const size_t length = std::char_traits<char16_t>::length(text);
  if (length > kMaxStringLength) {
    // An empty title: a box with no caption at all would be titled "Error".
    ce::objectstore::Report(u"Mnogo dylyg string??", u"", ce::MB_ICONSTOP);
    ce::ExitProcess(-1);
  }
  // Copy before releasing the old string: the text may be our own.
  auto copy = std::make_unique<char16_t[]>(length + 1);
  std::copy(text, text + length + 1, copy.get());
  Reset(ce::CEVT_LPWSTR);
  owned_ = std::move(copy);
  val_.val.lpwstr = owned_.get();
}

const char16_t* CCePropVal::String() const {
  return Type() == ce::CEVT_LPWSTR && owned_ ? owned_.get() : u"";
}

bool CCePropArray::Append(const CCePropVal& value, uint32_t index) {
  index = std::min(index, count_);
  std::unique_ptr<CCePropVal[]> grown(new (std::nothrow) CCePropVal[count_ + 1]);
  if (!grown) return false;
  for (uint32_t i = 0; i < index; ++i) grown[i] = items_[i];
  grown[index] = value;
  for (uint32_t i = index; i < count_; ++i) grown[i + 1] = items_[i];
  items_ = std::move(grown);
  ++count_;
  return true;
}

void CCePropArray::Clear() {
  items_.reset();
  count_ = 0;
}

CCePropVal& CCePropArray::At(uint32_t index) {
  if (count_ == 0) {
    spare_ = CCePropVal();
    return spare_;
  }
  return items_[std::min(index, count_ - 1)];
}

const CCePropVal& CCePropArray::At(uint32_t index) const {
  return const_cast<CCePropArray*>(this)->At(index);
}
