// Generation is deterministic: a fresh run writes exactly the bytes of the build's data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AssetGenerator, ASecondRunWritesTheSameBytes) {
  const fs::path fresh = fs::temp_directory_path() / ("zv_assets_" + std::to_string(::getpid()));
  fs::remove_all(fresh);
  const std::string command = std::string(ZV_ASSETGEN) + " '" + fresh.string() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);

  int files = 0, freshFiles = 0;
  for (const auto& entry : fs::recursive_directory_iterator(ZV_DATA_DIR)) {
    // The build's mark of a finished run is not the generator's output.
    if (!entry.is_regular_file() || entry.path().filename() == ZV_ASSET_STAMP_NAME) continue;
    const fs::path relative = fs::relative(entry.path(), ZV_DATA_DIR);
    ASSERT_TRUE(fs::exists(fresh / relative)) << relative;
    EXPECT_TRUE(Contents(entry.path()) == Contents(fresh / relative)) << relative << " differs";
    ++files;
  }
  for (const auto& entry : fs::recursive_directory_iterator(fresh))
    freshFiles += entry.is_regular_file();
  EXPECT_EQ(files, freshFiles);
  EXPECT_GE(files, 14 * 3 + 1 + 29 + 5);
  fs::remove_all(fresh);
}

}  // namespace
