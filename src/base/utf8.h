// UTF-8 as the framework writes and reads it: each 16-bit unit encoded on its own
// (a surrogate pair becomes two three-byte sequences), sequences of at most three bytes.
#pragma once

#include <string>

std::string EncodeUtf8(const std::u16string& units);

// Appends the decoded units to out and returns true; on a bad lead byte, a missing
// continuation byte or a sequence cut off by the end returns false (out is then undefined).
bool DecodeUtf8(const unsigned char* bytes, int count, std::u16string& out);
