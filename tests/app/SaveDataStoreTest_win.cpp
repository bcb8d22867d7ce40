#include "s/app/SaveDataStore.h"

#include <gtest/gtest.h>

#include "s/reg/MappedData.h"

namespace s::app {

namespace {

using map::IMappedData;
using thread::Owned;

TEST(SaveDataStore, TheDefaultStoreIsTheProgramsKey) {
  EXPECT_EQ(SaveDataStore::registryPath(), u"Software\\Tarn\\Tarn Pictorva\\SaveData");
  Owned<IMappedData> store = SaveDataStore::open(u"Pictorva Test Id");
  auto* registry = dynamic_cast<reg::MappedData*>(store.get());
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->root()->getFullPath(), u"HKEY_CURRENT_USER\\Software\\Tarn\\Pictorva Test Id\\SaveData");
  const std::u16string xml = SaveDataStore::xmlPath();
  EXPECT_EQ(xml.substr(xml.size() - 21), u"savedata\\SaveData.xml");
}

}  // namespace

}  // namespace s::app
