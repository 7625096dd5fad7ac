#include "base/utf8.h"

std::string EncodeUtf8(const std::u16string& units) {
  std::string out;
  out.reserve(units.size());
  for (char16_t unit : units) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit < 0x800) {
      out += static_cast<char>(0xC0 | (unit >> 6));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (unit >> 12));
      out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

bool DecodeUtf8(const unsigned char* bytes, int count, std::u16string& out) {
  out.reserve(out.size() + count);
  for (int i = 0; i < count;) {
    const unsigned lead = bytes[i];
    int extra;
    unsigned code;
    if (lead < 0x80) {
      extra = 0;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      code = lead & 0x0F;
    } else {
      return false;
    }
    if (i + extra >= count) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    out += static_cast<char16_t>(code);
    i += extra + 1;
  }
  return true;
}
