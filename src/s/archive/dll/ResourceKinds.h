#pragma once
// The kinds of resource types: the platform's standard types numbered in
// alphabetical order of their names (0 RT_ACCELERATOR ... 20 RT_VXD). A type number
// outside the table is its own kind.
namespace s::archive::dll {

class ResourceKinds {
 public:
  static int kindOfType(int typeNumber);
  static int typeOfKind(int kind);
};

}  // namespace s::archive::dll
