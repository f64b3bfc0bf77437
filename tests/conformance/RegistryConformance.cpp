// The registry calls behind "start with Windows": open, write, read, delete a value, close.
#include <gtest/gtest.h>

#include "Harness.h"

namespace vd::conformance {
namespace {

constexpr char kKey[] = "Software\\VuedeckConformance";
constexpr int32_t kErrorAccessDenied = 5;

class RegistryConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_ = MakeTestDesktop();
    desktop_->DeleteRegistryKey(kKey);
  }
  void TearDown() override { desktop_->DeleteRegistryKey(kKey); }

  WindowSystem& Ws() { return desktop_->System(); }

  std::unique_ptr<TestDesktop> desktop_;
};

TEST_F(RegistryConformance, ValueIsWrittenReadAndDeletedThroughAnOpenedKey) {
  RegKey key = 0;
  EXPECT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, kKey, KEY_WRITE, &key), ERROR_FILE_NOT_FOUND);
  desktop_->CreateRegistryKey(kKey);

  ASSERT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, kKey, KEY_WRITE, &key), ERROR_SUCCESS);
  const std::string data = "C:\\Program Files\\VUEDECK\\vuedeck";
  EXPECT_EQ(Ws().RegSetValueExA(key, "VUEDECK", REG_SZ, data, static_cast<uint32_t>(data.size())),
            ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegSetValueExA(key, "Cut", REG_SZ, data, 7), ERROR_SUCCESS);
  std::string read;
  EXPECT_EQ(Ws().RegQueryValueExA(key, "VUEDECK", &read), kErrorAccessDenied);  // write only
  EXPECT_EQ(Ws().RegCloseKey(key), ERROR_SUCCESS);

  // Key and value names match regardless of case.
  ASSERT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, "software\\vuedeckconformance", KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegQueryValueExA(key, "vuedeck", &read), ERROR_SUCCESS);
  EXPECT_EQ(read, data);
  EXPECT_EQ(Ws().RegQueryValueExA(key, "Cut", &read), ERROR_SUCCESS);
  EXPECT_EQ(read, data.substr(0, 7));
  EXPECT_EQ(Ws().RegSetValueExA(key, "Other", REG_SZ, "x", 1), kErrorAccessDenied);  // read only
  EXPECT_EQ(Ws().RegDeleteValueA(key, "VUEDECK"), kErrorAccessDenied);
  EXPECT_EQ(Ws().RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, kKey, KEY_WRITE | KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegDeleteValueA(key, "VUEDECK"), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegQueryValueExA(key, "VUEDECK", &read), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Ws().RegDeleteValueA(key, "VUEDECK"), ERROR_FILE_NOT_FOUND);  // already gone
  EXPECT_EQ(Ws().RegDeleteValueA(key, "Cut"), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryConformance, TheRunKeyExists) {
  RegKey key = 0;
  ASSERT_EQ(
      Ws().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         KEY_WRITE, &key),
      ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegCloseKey(key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vd::conformance
