// What the browser build's standard library (Emscripten 3.1.6's libc++ 13) lacks of C++20 and
// the game uses: std::bit_cast, float std::to_chars and std::from_chars, and <=> on strings.
// Included before every source of the browser build; each piece steps aside once the library
// has its own.
#pragma once

#include <bit>
#include <charconv>
#include <cmath>
#include <compare>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace std {

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
#endif

#if !defined(__cpp_lib_three_way_comparison)
template <class Char, class Traits, class Alloc>
strong_ordering operator<=>(const basic_string<Char, Traits, Alloc>& a,
                            const basic_string<Char, Traits, Alloc>& b) noexcept {
  return a.compare(b) <=> 0;
}
#endif

#if !defined(__cpp_lib_to_chars)
// The fewest significant digits that read back as the same float, fixed or in scientific
// notation, whichever is shorter (fixed on a tie).
inline to_chars_result to_chars(char* first, char* last, float value) {
  constexpr int kMostDigits = 9;  // enough for any float to read back
  char scientific[32];
  if (!std::isfinite(value)) {
    std::snprintf(scientific, sizeof scientific, "%g", value);
  } else {
    for (int digits = 1; digits <= kMostDigits; ++digits) {
      std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
      if (std::strtof(scientific, nullptr) == value) break;
    }
  }
  std::string text = scientific;
  if (const char* e = std::strchr(scientific, 'e')) {
    const int exponent = std::atoi(e + 1);
    std::string digits;
    for (const char* c = scientific; c != e; ++c)
      if (*c >= '0' && *c <= '9') digits += *c;
    const int count = static_cast<int>(digits.size());
    std::string fixed = std::signbit(value) ? "-" : "";
    if (exponent < 0) {
      fixed += "0." + std::string(-exponent - 1, '0') + digits;
    } else if (exponent + 1 >= count) {
      // A whole number is written with all its digits, not the shortest padded with zeros.
      char whole[48];
      std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
      fixed += whole;
    } else {
      fixed += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    }
    if (fixed.size() <= text.size()) text = fixed;
  }
  if (text.size() > static_cast<size_t>(last - first)) return {last, errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), errc()};
}

// Decimal text only, as from_chars reads it: no leading space, plus sign or hexadecimal.
inline from_chars_result from_chars(const char* first, const char* last, float& value) {
  std::string text(first, last);
  const size_t body = text.starts_with('-') ? 1 : 0;
  if (body < text.size() &&
      (text[body] == '+' || std::isspace(static_cast<unsigned char>(text[body]))))
    return {first, errc::invalid_argument};
  if (const size_t x = text.find_first_of("xX"); x != std::string::npos) text.resize(x);
  char* end = nullptr;
  errno = 0;
  const float read = std::strtof(text.c_str(), &end);
  if (end == text.c_str()) return {first, errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  // strtof also says ERANGE for a subnormal result, which from_chars reads.
  if (errno == ERANGE && (std::isinf(read) || read == 0)) return {stop, errc::result_out_of_range};
  value = read;
  return {stop, errc()};
}
#endif

}  // namespace std
