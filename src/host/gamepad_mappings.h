// Controller mappings beyond the window library's own database.
#pragma once

constexpr const char* kGamepadMappingsFile = "gamecontrollerdb.txt";
constexpr const char* kGamepadMappingsVariable = "SDL_GAMECONTROLLERCONFIG";

// Adds, in this order (a later mapping for the same controller wins): gamecontrollerdb.txt in
// the data folder, the same file in the state folder, then the mappings in
// SDL_GAMECONTROLLERCONFIG. A file that cannot be read or holds mappings the library cannot
// understand is told in one line on standard error. Needs the window library started.
void LoadGamepadMappings();
