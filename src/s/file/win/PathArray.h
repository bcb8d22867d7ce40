#pragma once
#include <string>
#include <vector>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/IPathArray.h"
#include "s/thread/Pool.h"

namespace s::file::win {

class PathArrayBase : public IPathArray {};

// An owned list of paths (see IPathArray), kept in an owning ArrayP. Batch operations work entry by entry and
// record each entry's success in its flag.
class PathArray final : public thread::PooledObject<PathArray, PathArrayBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_file_win_PathArray";

  PathArray();
  ~PathArray() override { releasePaths(); }

  void releasePaths() override { releasePathsFrom(0); }
  void releasePathsFrom(int index) override;
  int getCount() const override { return static_cast<int>(paths_.getCount()); }
  void insert(int index, IPath* path) override;
  void insertText(int index, std::u16string_view text) override;
  IPath* removeAt(int index) override;
  void sortAscending() override;
  void sortDescending() override;
  void groupByExtension() override;
  int find(const IPath* path) const override;
  int findText(std::u16string_view text) const override;
  std::u16string join() const override;
  bool getFlag(int index) const override;
  void setFlag(int index, bool flag) override;
  bool copyAll(std::u16string_view folder, bool overwrite) override;
  bool moveAll(std::u16string_view folder, bool overwrite) override;
  bool removeAll() override;
  bool recycleAll(bool confirm) override;
  void notifyUpdated() override;
  bool openAll() override;
  IPath* get(int index) const override;
  void push(IPath* path) override { insert(getCount(), path); }
  void pushText(std::u16string_view text) override { insertText(getCount(), text); }
  void reset() override { releasePaths(); }

 private:
  bool inRange(int index) const { return index >= 0 && index < getCount(); }
  IPath* at(size_t index) const { return static_cast<IPath*>(paths_.get(index)); }
  // Puts the entries (and their flags) in the order of indices.
  void reorder(const std::vector<size_t>& order);
  void sortBy(bool descending);

  // Owns the paths: entries that leave without being handed out are released.
  col::_array::ArrayP paths_;
  col::_array::ArrayU08 flags_;
};

}  // namespace s::file::win
