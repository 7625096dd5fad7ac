#include "base/string.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/utf8.h"

String::String(const char* utf8) : String(std::string_view(utf8 ? utf8 : "")) {}

String::String(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  if (!DecodeUtf8(bytes, static_cast<int>(utf8.size()), units_)) {
    units_.assign(bytes, bytes + utf8.size());
  }
}

String String::FromChar(int code) {
  std::u16string units;
  if (code > 0xFFFF && code <= 0x10FFFF) {
    code -= 0x10000;
    units += static_cast<char16_t>(0xD800 + (code >> 10));
    units += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  } else {
    units += static_cast<char16_t>(code);
  }
  return String(std::move(units));
}

String String::FromInt(int value) {
  return String(std::to_string(value));
}

String String::FromFloat(float value) {
  char buffer[48];
  auto result = std::to_chars(buffer, buffer + sizeof(buffer) - 3, value);
  *result.ptr = 0;
  if (!std::strpbrk(buffer, ".eInfa")) std::strcat(buffer, ".0");
  return String(buffer);
}

String String::FromBytes(const unsigned char* bytes, int count) {
  return String(std::u16string(bytes, bytes + count));
}

int String::operator[](int index) const {
  if (index < 0 || index >= Length()) return 0;
  return units_[index];
}

int String::Find(const String& what, int start) const {
  if (start < 0) start = 0;
  if (start > Length()) return -1;
  auto at = units_.find(what.units_, start);
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& what) const {
  auto at = units_.rfind(what.units_);
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

bool String::StartsWith(const String& prefix) const {
  return units_.starts_with(prefix.units_);
}

bool String::EndsWith(const String& suffix) const {
  return units_.ends_with(suffix.units_);
}

String String::Slice(int from, int to) const {
  const int length = Length();
  if (from < 0) from = std::max(0, from + length);
  if (to < 0) to = std::max(0, to + length);
  from = std::min(from, length);
  to = std::min(to, length);
  if (to <= from) return String();
  return String(units_.substr(from, to - from));
}

String String::Replace(const String& what, const String& with) const {
  if (what.Empty()) return *this;
  std::u16string out;
  size_t at = 0;
  for (size_t hit; (hit = units_.find(what.units_, at)) != std::u16string::npos;) {
    out.append(units_, at, hit - at);
    out += with.units_;
    at = hit + what.units_.size();
  }
  out.append(units_, at);
  return String(std::move(out));
}

std::vector<String> String::Split(const String& separator) const {
  std::vector<String> parts;
  if (separator.Empty()) {
    for (char16_t unit : units_) parts.emplace_back(std::u16string(1, unit));
    return parts;
  }
  size_t at = 0;
  for (size_t hit; (hit = units_.find(separator.units_, at)) != std::u16string::npos;) {
    parts.emplace_back(units_.substr(at, hit - at));
    at = hit + separator.units_.size();
  }
  parts.emplace_back(units_.substr(at));
  return parts;
}

String String::Join(const String& separator, const std::vector<String>& parts) {
  std::u16string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += separator.units_;
    out += parts[i].units_;
  }
  return String(std::move(out));
}

String String::Trim() const {
  size_t from = 0, to = units_.size();
  while (from < to && units_[from] <= ' ') ++from;
  while (to > from && units_[to - 1] <= ' ') --to;
  return String(units_.substr(from, to - from));
}

String String::ToUpper() const {
  std::u16string out = units_;
  for (auto& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char16_t>(c - 32);
  return String(std::move(out));
}

String String::ToLower() const {
  std::u16string out = units_;
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
  return String(std::move(out));
}

namespace {

struct LeadingNumber {
  bool negative;
  long long magnitude;  // held at 2^31 + 1 once it is out of range either way
};

LeadingNumber ReadLeadingNumber(const std::u16string& units) {
  constexpr long long kOutOfRange = 2LL + INT_MAX;
  auto blank = [](char16_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  size_t i = 0;
  while (i < units.size() && blank(units[i])) ++i;
  LeadingNumber number{false, 0};
  if (i < units.size() && (units[i] == '-' || units[i] == '+')) number.negative = units[i++] == '-';
  for (; i < units.size() && units[i] >= '0' && units[i] <= '9'; ++i) {
    number.magnitude = std::min(number.magnitude * 10 + (units[i] - '0'), kOutOfRange);
  }
  return number;
}

}  // namespace

int String::ToInt() const {
  const LeadingNumber number = ReadLeadingNumber(units_);
  const long long value = number.negative ? -number.magnitude : number.magnitude;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<int> String::ToIntExact() const {
  const LeadingNumber number = ReadLeadingNumber(units_);
  const long long value = number.negative ? -number.magnitude : number.magnitude;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

float String::ToFloat() const {
  return std::strtof(ToLatin1().c_str(), nullptr);
}

std::string String::ToUtf8() const {
  return EncodeUtf8(units_);
}

std::string String::ToLatin1() const {
  std::string out(units_.size(), '\0');
  std::transform(units_.begin(), units_.end(), out.begin(),
                 [](char16_t c) { return static_cast<char>(c & 0xFF); });
  return out;
}
