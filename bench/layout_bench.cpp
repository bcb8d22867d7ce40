// One layout run of a tree of 1,001 components (a root, 10 rows, 90 boxes of all four
// layouts, 900 leaves: labels and spacers), on native windows kept in memory, so that
// the run includes the deferred moves it applies at its end.
#include <benchmark/benchmark.h>

#include <string>

#include "s/gui/native/MemoryWindow.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Spacer.h"
#include "s/thread/Owned.h"

namespace {

using s::gui::IBox;
using s::gui::win::Box;
using s::gui::win::Label;
using s::gui::win::Spacer;

constexpr int kRows = 10;
constexpr int kBoxesPerRow = 9;
constexpr int kLeavesPerBox = 10;

s::thread::Owned<Box> buildTree() {
  s::thread::Owned<Box> root(Box::create());
  root->attachRootWindow(new s::gui::native::MemoryWindow(*root, nullptr));
  root->setSize(1600, 1200);
  root->setVerticalGap(4);
  for (int r = 0; r < kRows; ++r) {
    Box* row = Box::newBox(100, -1, 0, 1, 4, 0, 2, 2, IBox::kRow);
    for (int b = 0; b < kBoxesPerRow; ++b) {
      Box* box = Box::newBox(-1, -1, b % 3, b % 3, 3, 3, 1, 1, b % 4);
      for (int l = 0; l < kLeavesPerBox; ++l) {
        if (l % 2 == 0) {
          Label* label = Label::create();
          label->setText(std::u16string(static_cast<size_t>(l + 2), u'x'));
          box->add(label);
        } else {
          Spacer* spacer = Spacer::newSpacer(l % 4 == 1, 4 + l);
          box->add(spacer);
        }
      }
      row->add(box);
    }
    root->add(row);
  }
  root->layout();
  return root;
}

void layoutRun(benchmark::State& state) {
  s::thread::Owned<Box> root = buildTree();
  for (auto _ : state) root->layout();
  state.SetItemsProcessed(state.iterations() * (1 + kRows * (1 + kBoxesPerRow * (1 + kLeavesPerBox))));
}
BENCHMARK(layoutRun)->Unit(benchmark::kMicrosecond);

}  // namespace
