// URL parsing of arbitrary 16-bit text: the parts never overlap their separators and parsing
// again gives the same parts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Pairs of bytes make 16-bit characters, so narrowing to 8 bits is exercised too.
  std::u16string units;
  for (size_t i = 0; i + 1 < size; i += 2)
    units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const String text(units);

  Url url(text, "http", 80);
  if (url.path[0] != '/') std::abort();
  for (const char* mark : {"/", "?", "#"}) {
    if (url.domain.Contains(mark)) std::abort();
  }
  if (url.query.Contains("#")) std::abort();
  if (url.FullPath().Length() < url.path.Length()) std::abort();

  Url again(String(), "http", 80);
  again.Set2(text);
  if (again.domain != url.domain || again.port != url.port || again.path != url.path ||
      again.query != url.query || again.fragment != url.fragment || again.scheme != url.scheme ||
      again.username != url.username || again.password != url.password) {
    std::abort();
  }
  return 0;
}
