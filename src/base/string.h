// Immutable text of 16-bit characters with value semantics, shared by every layer.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class String {
 public:
  String() = default;
  // Literals and other 8-bit text are taken as UTF-8.
  String(const char* utf8);                                   // NOLINT(google-explicit-constructor)
  String(std::string_view utf8);                              // NOLINT(google-explicit-constructor)
  String(std::u16string units) : units_(std::move(units)) {}  // NOLINT
  String(const char16_t* units) : units_(units) {}            // NOLINT

  static String FromChar(int code);
  static String FromInt(int value);
  // Shortest form that reads back as the same float, always with a decimal point.
  static String FromFloat(float value);
  // Each byte one character (Latin-1).
  static String FromBytes(const unsigned char* bytes, int count);

  int Length() const { return static_cast<int>(units_.size()); }
  bool Empty() const { return units_.empty(); }
  // The character at index, or 0 outside the text.
  int operator[](int index) const;

  String operator+(const String& other) const { return String(units_ + other.units_); }
  String& operator+=(const String& other) {
    units_ += other.units_;
    return *this;
  }
  bool operator==(const String& other) const = default;
  std::strong_ordering operator<=>(const String& other) const { return units_ <=> other.units_; }

  // Index of the first (last) occurrence at or after (before) start, -1 when absent.
  int Find(const String& what, int start = 0) const;
  int FindLast(const String& what) const;
  bool Contains(const String& what) const { return Find(what) >= 0; }
  bool StartsWith(const String& prefix) const;
  bool EndsWith(const String& suffix) const;

  // Slices clamp to the text; negative indices count from the end.
  String Slice(int from) const { return Slice(from, Length()); }
  String Slice(int from, int to) const;
  String Replace(const String& what, const String& with) const;
  std::vector<String> Split(const String& separator) const;
  static String Join(const String& separator, const std::vector<String>& parts);
  String Trim() const;
  String ToUpper() const;
  String ToLower() const;

  // Read as C's atoi reads: leading white space, an optional sign, then digits; the first
  // other character ends the number and no digits give 0. ToInt saturates at the int range,
  // ToIntExact gives nothing for a value that does not fit.
  int ToInt() const;
  std::optional<int> ToIntExact() const;
  float ToFloat() const;

  std::string ToUtf8() const;
  // Each 16-bit unit truncated to its low byte.
  std::string ToLatin1() const;
  const std::u16string& Units() const { return units_; }

 private:
  std::u16string units_;
};

inline String operator+(const char* left, const String& right) {
  return String(left) + right;
}
