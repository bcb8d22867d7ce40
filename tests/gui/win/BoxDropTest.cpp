// File drops on boxes and group boxes as the native window hands them in: the path
// list, and who hears of it in which order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/GroupBox.h"
#include "s/thread/Owned.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;
using win::GroupBox;

std::vector<std::u16string> pathsOf(const str::strarray::StrArray& list) {
  std::vector<std::u16string> paths;
  for (size_t i = 0; i < list.count(); ++i) paths.emplace_back(list.textAt(i)->view());
  return paths;
}

// Notes the source and the paths it finds there when told of a drop.
class DropReader : public events::IEventListener {
 public:
  DropReader(std::vector<std::string>* order, std::string name) : order_(order), name_(std::move(name)) {}
  void onEvent(base::IObject* source, int eventType) override {
    order_->push_back(name_);
    sources.push_back(source);
    types.push_back(eventType);
    if (auto* box = dynamic_cast<Box*>(source)) paths.push_back(pathsOf(box->getDroppedFiles()));
    if (auto* group = dynamic_cast<GroupBox*>(source)) paths.push_back(pathsOf(group->getDroppedFiles()));
  }
  std::vector<base::IObject*> sources;
  std::vector<int> types;
  std::vector<std::vector<std::u16string>> paths;

 private:
  std::vector<std::string>* order_;
  std::string name_;
};

TEST(BoxDrops, EachDropReplacesTheListAndTellsEveryListenerInOrder) {
  Owned<Box> box(Box::create());
  std::vector<std::string> order;
  DropReader first(&order, "first"), second(&order, "second");
  box->addDropListener(&first);
  box->addDropListener(&second);
  box->addDropListener(&first);

  const std::vector<std::u16string> drop1 = {u"C:\\photos\\a b.jpg", u"C:\\photos\\#1.png", u"C:\\photos"};
  box->filesDropped(drop1);
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "first"}));
  ASSERT_EQ(first.paths.size(), 2u);
  EXPECT_EQ(first.paths[0], drop1);
  EXPECT_EQ(first.types, (std::vector<int>{Box::kEventFilesDropped, Box::kEventFilesDropped}));
  EXPECT_EQ(first.sources[0], static_cast<base::IObject*>(box.get()));

  const std::vector<std::u16string> drop2 = {u"D:\\写真.gif"};
  box->filesDropped(drop2);
  EXPECT_EQ(pathsOf(box->getDroppedFiles()), drop2);
  EXPECT_EQ(second.paths.back(), drop2);
}

TEST(BoxDrops, AGroupBoxPassesItsContentsDropsOnAsItsOwn) {
  Owned<GroupBox> group(GroupBox::create());
  Box* content = Box::create();
  std::vector<std::string> order;
  DropReader reader(&order, "group");
  group->addDropListener(&reader);

  // Accepting before the content exists, and switching off and on again, still makes
  // the group box hear each drop once.
  group->setAcceptFiles(true);
  group->setContent(content);
  EXPECT_TRUE(content->isAcceptingFiles());
  group->setAcceptFiles(false);
  EXPECT_FALSE(content->isAcceptingFiles());
  group->setAcceptFiles(true);
  EXPECT_TRUE(content->isAcceptingFiles());

  const std::vector<std::u16string> drop = {u"/home/u/a.jpg", u"/home/u/b.png"};
  content->filesDropped(drop);
  ASSERT_EQ(reader.sources.size(), 1u);
  EXPECT_EQ(reader.sources[0], static_cast<base::IObject*>(group.get()));
  EXPECT_EQ(reader.paths[0], drop);
  EXPECT_EQ(pathsOf(group->getDroppedFiles()), drop);

  // Switched off, the group box no longer passes drops on.
  group->setAcceptFiles(false);
  content->filesDropped(drop);
  EXPECT_EQ(reader.sources.size(), 1u);
}

TEST(BoxDrops, ResetForgetsTheDropState) {
  Owned<Box> box(Box::create());
  std::vector<std::string> order;
  DropReader reader(&order, "box");
  box->setAcceptFiles(true);
  box->addDropListener(&reader);
  box->filesDropped({u"a"});
  box->reset();
  EXPECT_FALSE(box->isAcceptingFiles());
  EXPECT_EQ(box->getDroppedFiles().count(), 0u);
  box->filesDropped({u"b"});
  EXPECT_EQ(order.size(), 1u);
}

}  // namespace
}  // namespace s::gui::testing
