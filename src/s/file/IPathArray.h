#pragma once
// An ordered list of paths that owns them: releasing the array (or releasePaths)
// releases every path it holds. Per-entry flags record the outcome of the batch
// operations (set for each entry that succeeded).
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::file {

class IPath;

class IPathArray : public base::IObject, public thread::IPoolable {
 public:
  // Releases every held path and empties the list.
  virtual void releasePaths() = 0;
  // Releases the paths from index on.
  virtual void releasePathsFrom(int index) = 0;
  virtual int getCount() const = 0;
  // Takes ownership of path.
  virtual void insert(int index, IPath* path) = 0;
  virtual void insertText(int index, std::u16string_view text) = 0;
  // Removes the entry and hands it over to the caller.
  virtual IPath* removeAt(int index) = 0;
  // By full path; Windows ignores case.
  virtual void sortAscending() = 0;
  virtual void sortDescending() = 0;
  // Stable order by extension (ignoring case), so entries of one extension follow
  // each other in their previous order.
  virtual void groupByExtension() = 0;
  // Index of the first entry with the same full path, or -1.
  virtual int find(const IPath* path) const = 0;
  virtual int findText(std::u16string_view text) const = 0;
  // The full paths, each followed by a 0 character, and one more 0 at the end.
  virtual std::u16string join() const = 0;
  virtual bool getFlag(int index) const = 0;
  virtual void setFlag(int index, bool flag) = 0;
  // Batch operations into a folder; true when every entry succeeded.
  virtual bool copyAll(std::u16string_view folder, bool overwrite) = 0;
  virtual bool moveAll(std::u16string_view folder, bool overwrite) = 0;
  virtual bool removeAll() = 0;
  virtual bool recycleAll(bool confirm) = 0;
  virtual void notifyUpdated() = 0;
  // Opens every entry with its associated program (Windows only).
  virtual bool openAll() = 0;
  virtual IPath* get(int index) const = 0;
  virtual void push(IPath* path) = 0;
  virtual void pushText(std::u16string_view text) = 0;
};

}  // namespace s::file
