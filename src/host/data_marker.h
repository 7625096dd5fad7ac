// The file that marks a folder as the game's data. The asset generator writes it last, so a
// folder that holds it is complete; the host takes only such a folder as the data folder.
#pragma once

constexpr const char* kDataMarkerFile = "zorvane-data.txt";
// The marker's first line. Raised when asset names or layouts change, so that data made for
// another version is not taken for this one's.
constexpr const char* kDataVersion = "zorvane data 1";
