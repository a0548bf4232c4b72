// The store suites over the in-memory fakes.

#include "fakes/fake_files.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_registry.h"
#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

class FakeStoreEnvironment final : public StoreEnvironment {
 public:
  platform::Registry& registry() override { return registry_; }
  platform::Profile& profile() override { return profile_; }
  platform::FileAccess& files() override { return files_; }
  settings::StoreLocation location() override { return {}; }
  std::optional<std::vector<std::uint8_t>> fileBytes(const std::u16string& path) override {
    return files_.bytes(path);
  }
  void writeFileBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override {
    files_.put(path, bytes);
  }
  void writeProtect(const std::u16string& path) override { files_.setReadOnly(path, true); }
  fakes::FakeRegistry* fakeRegistry() override { return &registry_; }

 private:
  fakes::FakeRegistry registry_;
  fakes::FakeFiles files_;
  fakes::FakeProfile profile_{files_};
};

const StoreBackend kFakes{"Fakes", [] { return std::make_unique<FakeStoreEnvironment>(); }};

}  // namespace

KIVORA_INSTANTIATE_STORE_SUITES(InMemory, kFakes);

}  // namespace kivora::test
