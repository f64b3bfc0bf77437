// The fuzz targets of the two stored files, replayed over their seeds (fuzz/corpus): each seed
// goes through the same runs and the same promises as under the fuzzer (fuzz/*_fuzz.cpp).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

int FuzzSettingsIni(const uint8_t* data, size_t size);
int FuzzIgnoreList(const uint8_t* data, size_t size);

namespace {

TEST(StoredFilesCorpus, EverySeedKeepsThePromisesOfItsFuzzTarget) {
  const struct {
    const char* folder;
    int (*target)(const uint8_t*, size_t);
  } targets[] = {{"settings_ini", FuzzSettingsIni}, {"ignore_list", FuzzIgnoreList}};
  for (const auto& [folder, target] : targets) {
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(
             std::filesystem::path(VD_SOURCE_DIR) / "fuzz" / "corpus" / folder)) {
      std::ifstream in(seed.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), {});
      SCOPED_TRACE(seed.path().string());
      EXPECT_NO_THROW(target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
      ++seeds;
    }
    EXPECT_GT(seeds, 0) << folder;
  }
}

}  // namespace
