#pragma once
// Review sheets: every frame of every image file at one density, labelled, on a neutral ground.
#include <filesystem>

namespace assets {

bool WriteContactSheet(const std::filesystem::path& dataDir, int density,
                       const std::filesystem::path& out);

}  // namespace assets
