// Data paths, whole-file reads, the state file and handing URLs to the desktop.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/string.h"

using ByteBuffer = std::vector<unsigned char>;

// Asset names become "brisko://data/" paths unless they already carry a scheme, a drive
// or an explicit "./" or "/" start.
String FixDataPath(const String& path);

// Maps the "brisko://" schemes onto folders: "./data/", "./internal/", "./external/".
// An unknown scheme maps to the empty path. When the working directory has no such
// folder, the one beside the executable is used, so the game starts from any folder.
// The data folder is the first that holds the data marker of this version, looked for in the
// working directory, then in ../share/zorvane from the executable (an installed game), then
// beside the executable (the build folder, where the generator writes it); so an unrelated
// "data" folder is passed over. With none, one line on standard error names the
// places searched and data paths map to "./data/".
String PathToFilePath(const String& path);

// Where the data folder is looked for, in order, by a program in the folder exeDir.
std::vector<std::string> DataFolderCandidates(const std::string& exeDir);

// Tells once per file, on standard error, that an asset (a data path) could not be loaded and
// why. Nothing is told about data paths while there is no data folder: that was told once.
void ReportUnloadableAsset(const String& path, const String& reason);

// The largest data file the game reads; its largest asset is a few megabytes.
constexpr size_t kLargestDataFile = 64u << 20;

enum class ReadResult { kRead, kMissing, kUnreadable };

// The whole of a plain file of at most limit bytes. A folder, a device or a pipe is unreadable
// and never waited on, and so is a larger file; reason says why. A path through a folder that
// does not exist is missing.
ReadResult ReadPlainFile(const std::string& path, size_t limit, std::string& bytes,
                         std::string& reason);

// Null for the empty path or when the file cannot be opened, with the reason in whyNot. A file
// opened for reading must be a plain file of at most kLargestDataFile bytes, so that a pipe or
// a device named as data neither blocks the game nor fills its memory.
FILE* OpenFile(const String& path, const String& mode, std::string* whyNot = nullptr);

// UTF-16 with a byte-order mark, else UTF-8 (a leading EF BB BF skipped), else Latin-1.
String DecodeText(const unsigned char* bytes, int count);

// The whole file as text; the empty string when it cannot be opened.
String LoadString(const String& path);

// The whole file; nothing when it cannot be opened, with the reason in whyNot.
std::optional<ByteBuffer> LoadData(const String& path, std::string* whyNot = nullptr);

constexpr int kSaveCannotCreate = -1;
constexpr int kSaveShortWrite = -2;

// Writes the bytes to a new private file (mode 0600, a fresh name beside path, so nothing
// planted there is followed or reused) and renames it over path once it is complete on disk,
// then syncs the folder so that the rename lasts too. 0 on success; kSaveCannotCreate or
// kSaveShortWrite with the reason, and path is then left as it was.
int ReplaceFile(const std::string& path, const std::string& bytes, std::string& reason);

// Opens those of descriptors 0, 1 and 2 that are closed on /dev/null, so that files and
// connections opened later do not take them and receive what is meant for standard output.
void OpenClosedStandardDescriptors();

// Hands the URL (8-bit characters) to the desktop's opener without a shell.
void OpenUrl(const String& url);
