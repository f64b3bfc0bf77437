// The fake desktop's registry: keys and values held in memory, names matched regardless of
// letter case, keys opened with an access that decides whether values may be read or written,
// and the errors the system gives for a missing key or value, a closed key or a refused access.
#include <algorithm>
#include <string>
#include <utility>

#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

namespace {

constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;

}  // namespace

// ---- Registry -----------------------------------------------------------------------------------

int32_t FakeWindowSystem::RegOpenKeyExW(uintptr_t root, const std::string& subKey, uint32_t access,
                                        RegKey* result) {
  State& s = *state_;
  s.Record("RegOpenKeyExW", {Dec(uint64_t{root}), subKey, Dec(access)});
  if (!result) return kErrorInvalidHandle;
  const auto path = s.RegistryPath(root, subKey);
  if (!path) return kErrorInvalidHandle;
  auto key = s.FindRegistryKey(*path);
  if (key == s.registry.end()) return ERROR_FILE_NOT_FOUND;
  const RegKey handle = s.nextRegKey;
  s.nextRegKey += 4;
  s.openKeys[handle] = State::OpenKey{key->first, access};
  *result = handle;
  return ERROR_SUCCESS;
}

int32_t FakeWindowSystem::RegSetValueExW(RegKey key, const std::string& valueName, uint32_t type,
                                         const std::string& data, uint32_t length) {
  State& s = *state_;
  s.Record("RegSetValueExW", {Dec(uint64_t{key}), valueName, Dec(type), data, Dec(length)});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeySetValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  // The length counts bytes of data; a terminating NUL within it is not part of the text.
  std::string text = data.substr(0, std::min<size_t>(length, data.size()));
  auto& values = stored->second;
  auto existing = std::find_if(values.begin(), values.end(),
                               [&](const auto& entry) { return SameText(entry.first, valueName); });
  if (existing != values.end()) {
    existing->second = std::move(text);
  } else {
    values[valueName] = std::move(text);
  }
  return ERROR_SUCCESS;
}

int32_t FakeWindowSystem::RegQueryValueExW(RegKey key, const std::string& valueName,
                                           std::string* data) {
  State& s = *state_;
  s.Record("RegQueryValueExW", {Dec(uint64_t{key}), valueName});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  for (const auto& [name, value] : stored->second) {
    if (SameText(name, valueName)) {
      if (data) *data = value;
      return ERROR_SUCCESS;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

int32_t FakeWindowSystem::RegDeleteValueW(RegKey key, const std::string& valueName) {
  State& s = *state_;
  s.Record("RegDeleteValueW", {Dec(uint64_t{key}), valueName});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeySetValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  auto& values = stored->second;
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (SameText(it->first, valueName)) {
      values.erase(it);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

int32_t FakeWindowSystem::RegCloseKey(RegKey key) {
  state_->Record("RegCloseKey", {Dec(uint64_t{key})});
  return state_->openKeys.erase(key) == 1 ? ERROR_SUCCESS : kErrorInvalidHandle;
}

}  // namespace vd::fake
