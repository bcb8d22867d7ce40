#pragma once
// The behaviour both save-data stores share, run against each kind of store. A kind
// makes a fresh medium per test (a temporary XML file, a registry key of its own);
// open() gives a new store object on that medium, as a new start of the program would.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "s/map/IMappedData.h"
#include "s/thread/Owned.h"

namespace s::map::testing {

class StoreMedium {
 public:
  virtual ~StoreMedium() = default;
  virtual thread::Owned<IMappedData> open() = 0;
};

struct StoreKind {
  const char* name;
  std::unique_ptr<StoreMedium> (*makeMedium)();
};

class StoreContract : public ::testing::TestWithParam<StoreKind> {
 protected:
  void SetUp() override { medium_ = GetParam().makeMedium(); }
  thread::Owned<IMappedData> open() { return medium_->open(); }

 private:
  std::unique_ptr<StoreMedium> medium_;
};

inline std::string kindName(const ::testing::TestParamInfo<StoreKind>& info) { return info.param.name; }

}  // namespace s::map::testing
