#include "s/image/gui/dialogs/pictorva/Dialog.h"

#include "s/gui/win/Box.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/TextField.h"
#include "s/gui/win/Window.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/app/SavedValues.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/lang/Localizer.h"
#include "s/str/Decimal.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

using app::SavedValues;
using str::decimal;
using namespace s::gui;
using namespace s::gui::win;

constexpr int32_t kTitleGroupText = 1105000;
constexpr int32_t kSizeGroupText = 1106000;
constexpr int32_t kWidthText = 1107000;
constexpr int32_t kHeightText = 1108000;
constexpr int32_t kRowHeightGroupText = 1109000;
constexpr char16_t kTileTitle[] = u"Thumbnail (Tile)";
constexpr char16_t kFlatTitle[] = u"Thumbnail (Flat)";
constexpr char16_t kAlbumTitle[] = u"Thumbnail (Album)";
constexpr int kChoiceCount = 3;

TextField* newField(std::u16string_view text, int width) {
  TextField* field = TextField::create();
  field->setText(text);
  field->setFixedWidth(width, false);
  return field;
}

}  // namespace

Dialog::Dialog() = default;

Dialog::~Dialog() { reset(); }

void Dialog::reset() {
  // The run first: it waits for its worker through the window's event relay, which
  // the base releases with the window.
  run_.reset();
  s::gui::dialogs::dragndrop::Dialog::reset();
  tileTitle_ = cellWidth_ = cellHeight_ = flatTitle_ = albumTitle_ = rowHeight_ = nullptr;
  groupTexts_.clear();
  labelTexts_.clear();
}

void Dialog::fillChoices(ComboBox& choices) {
  choices.addItem(text(kTileText));
  choices.addItem(text(kFlatText));
  choices.addItem(text(kAlbumText));
}

void Dialog::buildOptionsPages(Box& pages) {
  // A group box titled by text id around a column holding child.
  auto group = [this](int32_t titleId, IComponent* child) {
    GroupBox* box = GroupBox::create();
    box->setWidthPercent(100, false);
    Box* inner = Box::newBox(100, 100, 0, 0, 10, 5, 20, 3, IBox::kColumn);
    inner->add(child);
    box->setContent(inner);
    groupTexts_.emplace_back(box, titleId);
    return box;
  };
  auto label = [this](int32_t id) {
    Label* label = Label::create();
    labelTexts_.emplace_back(label, id);
    return label;
  };

  Box* tile = Box::newBox(100, -1, 0, 0, 0, 10, 10, 10, IBox::kColumn);
  tileTitle_ = newField(kTileTitle, 100);
  tile->add(group(kTitleGroupText, tileTitle_));
  Box* sizeRow = Box::newBox(100, -1, 0, 1, 0, 0, 0, 0, IBox::kRow);
  cellWidth_ = newField(decimal(SavedValues::readNumber(store(), SavedValues::kCellWidth)), 32);
  cellHeight_ = newField(decimal(SavedValues::readNumber(store(), SavedValues::kCellHeight)), 32);
  sizeRow->add(label(kWidthText));
  sizeRow->add(cellWidth_);
  sizeRow->add(Spacer::newSpacer(false, 10));
  sizeRow->add(label(kHeightText));
  sizeRow->add(cellHeight_);
  tile->add(group(kSizeGroupText, sizeRow));

  Box* flat = Box::newBox(100, -1, 0, 0, 0, 10, 10, 10, IBox::kColumn);
  flatTitle_ = newField(kFlatTitle, 100);
  flat->add(group(kTitleGroupText, flatTitle_));
  flat->setVisible(false, true);

  Box* album = Box::newBox(100, -1, 0, 0, 0, 10, 10, 10, IBox::kColumn);
  albumTitle_ = newField(kAlbumTitle, 100);
  album->add(group(kTitleGroupText, albumTitle_));
  Box* heightRow = Box::newBox(100, -1, 0, 1, 0, 0, 0, 0, IBox::kRow);
  rowHeight_ = newField(decimal(SavedValues::readNumber(store(), SavedValues::kRowHeight)), 32);
  heightRow->add(label(kHeightText));
  heightRow->add(rowHeight_);
  album->add(group(kRowHeightGroupText, heightRow));
  album->setVisible(false, true);

  pages.add(tile);
  pages.add(flat);
  pages.add(album);
  retextChoices(choices(), pages);
}

void Dialog::retextChoices(ComboBox& choices, Box&) {
  for (auto& [box, id] : groupTexts_) box->setTitle(text(id));
  for (auto& [label, id] : labelTexts_) label->setText(text(id));
  // The entries take the language's texts; the choice stays. Two languages may share
  // one entry's word (Spanish and Italian say "Mosaico"), so every entry is compared.
  const int selected = choices.getSelected();
  const int32_t ids[kChoiceCount] = {kTileText, kFlatText, kAlbumText};
  bool stale = false;
  for (int i = 0; i < kChoiceCount && i < choices.getItemCount(); ++i) stale |= choices.getItemText(i) != text(ids[i]);
  if (choices.getItemCount() == kChoiceCount && stale) {
    choices.removeAllItems();
    fillChoices(choices);
    choices.setSelected(selected);
  }
}

bool Dialog::apply(Setting& setting) {
  setting.reset();
  const int selected = choices().getSelected();
  if (selected == 0) {
    setting.style = Setting::kStyleTile;
    setting.title->assign(tileTitle_->getText());
    if (!cellWidth_->getText().empty()) setting.cellWidth = Setting::cellSizeFromText(cellWidth_->getText());
    if (!cellHeight_->getText().empty()) setting.cellHeight = Setting::cellSizeFromText(cellHeight_->getText());
    SavedValues::writeNumber(store(), SavedValues::kCellWidth, setting.cellWidth);
    SavedValues::writeNumber(store(), SavedValues::kCellHeight, setting.cellHeight);
  } else if (selected == 1) {
    setting.style = Setting::kStyleFlat;
    setting.title->assign(flatTitle_->getText());
  } else if (selected == 2) {
    setting.style = Setting::kStyleAlbum;
    setting.title->assign(albumTitle_->getText());
    if (!rowHeight_->getText().empty()) setting.rowHeight = Setting::cellSizeFromText(rowHeight_->getText());
    SavedValues::writeNumber(store(), SavedValues::kRowHeight, setting.rowHeight);
  }
  return true;
}

void Dialog::windowCreated() {
  GalleryRun::Hooks hooks;
  hooks.apply = [this](Setting& setting) { apply(setting); };
  hooks.showMessage = [this](std::u16string_view message) { window().showInformation(message); };
  hooks.languageText = [this](int id) { return text(id); };
  run_ = std::make_unique<GalleryRun>(&window().getJobEvents(), std::move(hooks));
}

bool Dialog::startJob(const std::vector<std::u16string>& paths) {
  return run_ && run_->start(paths) == GalleryRun::StartResult::kStarted;
}

bool Dialog::isJobRunning() const { return run_ && run_->isRunning(); }

bool Dialog::isJobCancelling() const { return run_ && run_->isCancelling(); }

void Dialog::cancelJob() {
  if (run_ && run_->isRunning()) run_->cancel();
}

void Dialog::finishJob() {
  if (run_) run_->finish();
}

void Dialog::waitForJob() {
  if (run_) run_->waitIdle();
}

}  // namespace s::image::gui::dialogs::pictorva
