#pragma once
// The gallery window: the drop-box dialog making thumbnail galleries. Its "Create:"
// list offers the three gallery styles, Tile (with a page for the title and the cell
// size), Flat (a page for the title) and Album (the title and the row height); files
// dropped on it start a gallery run, the same run the command line makes.
#include <memory>
#include <string>
#include <vector>

#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/thread/Pool.h"

namespace s::gui::win {
class GroupBox;
class TextField;
}  // namespace s::gui::win

namespace s::image::gui::dialogs::pictorva {

class GalleryRun;
class Setting;

class Dialog final : public thread::PooledObject<Dialog, s::gui::dialogs::dragndrop::Dialog> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gui_dialogs_pictorva_Dialog";
  static constexpr int32_t kTileText = 1101000;
  static constexpr int32_t kFlatText = 1102000;
  static constexpr int32_t kAlbumText = 1103000;

  Dialog();
  ~Dialog() override;
  void reset() override;

  // The apply hook: fills setting from the chosen entry and its page; a Tile run
  // stores its cell size, an Album run its row height. Always agrees to start.
  bool apply(Setting& setting);

 protected:
  int expandedWidth() const override { return 470; }
  int expandedHeight() const override { return 400; }
  void fillChoices(s::gui::win::ComboBox& choices) override;
  void buildOptionsPages(s::gui::win::Box& pages) override;
  void retextChoices(s::gui::win::ComboBox& choices, s::gui::win::Box& pages) override;

  void windowCreated() override;
  bool startJob(const std::vector<std::u16string>& paths) override;
  bool isJobRunning() const override;
  bool isJobCancelling() const override;
  void cancelJob() override;
  void finishJob() override;
  void waitForJob() override;

 private:
  std::unique_ptr<GalleryRun> run_;
  s::gui::win::TextField* tileTitle_ = nullptr;
  s::gui::win::TextField* cellWidth_ = nullptr;
  s::gui::win::TextField* cellHeight_ = nullptr;
  s::gui::win::TextField* flatTitle_ = nullptr;
  s::gui::win::TextField* albumTitle_ = nullptr;
  s::gui::win::TextField* rowHeight_ = nullptr;
  // Texts of the pages that follow the language.
  std::vector<std::pair<s::gui::win::GroupBox*, int32_t>> groupTexts_;
  std::vector<std::pair<s::gui::win::Label*, int32_t>> labelTexts_;
};

}  // namespace s::image::gui::dialogs::pictorva
