// Data paths, whole-file reads, the state file and handing URLs to the desktop.
#pragma once

#include <cstdio>
#include <optional>
#include <vector>

#include "base/string.h"

using ByteBuffer = std::vector<unsigned char>;

// Asset names become "brisko://data/" paths unless they already carry a scheme, a drive
// or an explicit "./" or "/" start.
String FixDataPath(const String& path);

// Maps the "brisko://" schemes onto folders: "./data/", "./internal/", "./external/".
// An unknown scheme maps to the empty path. When the working directory has no such
// folder, the one beside the executable is used, so the game starts from any folder.
String PathToFilePath(const String& path);

// Null for the empty path or when the file cannot be opened.
FILE* OpenFile(const String& path, const String& mode);

// UTF-16 with a byte-order mark, else UTF-8 (a leading EF BB BF skipped), else Latin-1.
String DecodeText(const unsigned char* bytes, int count);

// The whole file as text; the empty string when it cannot be opened.
String LoadString(const String& path);

// The whole file; nothing when it cannot be opened.
std::optional<ByteBuffer> LoadData(const String& path);

constexpr const char* kStateFile = "./.briskostate";
constexpr int kSaveCannotCreate = -1;
constexpr int kSaveShortWrite = -2;

// Writes the state as UTF-8 through a temporary file that replaces the old state file only
// once it is complete on disk: 0 on success, -1 when it cannot be created, -2 when the write
// fails (the previous state file is then left as it was).
int WriteStateFile(const String& state);
String ReadStateFile();

// Hands the URL (8-bit characters) to the desktop's opener without a shell.
void OpenUrl(const String& url);
