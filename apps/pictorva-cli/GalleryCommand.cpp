#include "GalleryCommand.h"

#include <functional>

#include "CommandLine.h"
#include "FileList.h"
#include "LanguagesCommand.h"
#include "Options.h"
#include "Platform.h"
#include "s/app/SaveDataStore.h"
#include "s/app/SavedValues.h"
#include "s/image/gui/dialogs/pictorva/GalleryCore.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/lang/LangPack.h"
#include "s/lang/StatusTexts.h"
#include "s/str/Decimal.h"

namespace pictorva::cli {

namespace {

using s::image::gui::dialogs::pictorva::AlbumWords;
using s::image::gui::dialogs::pictorva::GalleryCore;
using s::image::gui::dialogs::pictorva::GalleryOutcome;
using s::image::gui::dialogs::pictorva::Setting;
using s::lang::StatusTexts;
using s::str::decimal;

// The helpers making small copies run at the normal priority: the command line is
// the job its user waits for.
constexpr int kHelperPriority = 0;

// Message texts end their lines in CR LF (they are made for message boxes); a console
// on Linux wants LF.
std::u16string forConsole(std::u16string text) {
#ifndef _WIN32
  for (size_t at; (at = text.find(u"\r\n")) != std::u16string::npos;) text.erase(at, 1);
#endif
  return text;
}

// The progress texts, in the language of the window's status bar; built-in English
// ones where the language pack has none.
struct ProgressTexts {
  ProgressTexts(s::lang::Localizer& localizer, int32_t style)
      : text([&localizer](int32_t id) { return pick(localizer, id); }),
        started(text(style != Setting::kStyleFlat ? StatusTexts::kMakingThumbnails : StatusTexts::kReadingSizes)),
        done(text(StatusTexts::kDone)),
        ready(text(StatusTexts::kReady)),
        canceling(text(StatusTexts::kCanceling)),
        failed(text(StatusTexts::kFailed)) {}
  static std::u16string pick(s::lang::Localizer& localizer, int32_t id) {
    const std::u16string_view text = localizer.getText(id);
    return std::u16string(text.empty() ? StatusTexts::english(id) : text);
  }
  std::function<std::u16string(int32_t id)> text;  // any text of the pack, or its English one
  std::u16string started, done, ready, canceling, failed;
};

// Shows the gallery's progress on standard error: one line per report, or one line
// that updates itself when standard error is a terminal.
class ConsoleProgress final : public s::image::gui::dialogs::pictorva::IGalleryProgress {
 public:
  explicit ConsoleProgress(const ProgressTexts& texts) : texts_(texts), terminal_(isTerminal(Stream::kErr)) {}

  void started() override { line(texts_.started); }

  void stepStarted(size_t total, size_t index, std::u16string_view fileName) override {
    noteCancel();
    std::u16string text = u"[";
    text += decimal(static_cast<int64_t>(index) + 1);
    text += u"/";
    text += decimal(static_cast<int64_t>(total));
    text += u"] ";
    text += fileName;
    line(text);
  }

  void ended(const GalleryOutcome& outcome) override {
    noteCancel();
    // Each picture that could not be read, with its reason, and how many they are.
    if (!outcome.unreadable.empty()) note(forConsole(outcome.unreadableText(texts_.text)));
    if (outcome.unreadCount() > 0) {
      note(StatusTexts::fill(texts_.text(StatusTexts::kUnreadableCount),
                             {decimal(static_cast<int64_t>(outcome.unreadCount())),
                              decimal(static_cast<int64_t>(outcome.pictures))}));
    }
    if (!outcome.failures.empty()) {
      line(texts_.failed);
      note(forConsole(outcome.failureText(texts_.text)));
    } else {
      // As the window's status bar does: "Done!", then "Ready".
      line(texts_.done);
      endLine();
      line(texts_.ready);
      endLine();
    }
  }

  // A text on lines of its own.
  void note(std::u16string_view text) {
    endLine();
    writeText(Stream::kErr, std::u16string(text) + u"\n");
  }

 private:
  void line(const std::u16string& text) {
    if (terminal_) {
      // Back to the start of the line and clear it.
      writeText(Stream::kErr, u"\r\x1b[K" + text);
      lineOpen_ = true;
    } else {
      writeText(Stream::kErr, text + u"\n");
    }
  }

  void endLine() {
    if (lineOpen_) writeText(Stream::kErr, u"\n");
    lineOpen_ = false;
  }

  // "Canceling..", once, at the first report after Ctrl-C.
  void noteCancel() {
    if (interruptPresses() == 0 || cancelNoted_) return;
    cancelNoted_ = true;
    note(texts_.canceling);
  }

  const ProgressTexts& texts_;
  bool terminal_;
  bool lineOpen_ = false;  // the updating line has no line end yet
  bool cancelNoted_ = false;
};

// What the options leave open comes from the save-data store, as the window takes
// it: the style the "Create:" list shows, the Tile cell size and the Album row
// height. Never written here.
void takeStoredDefaults(Options& options) {
  using s::app::SavedValues;
  if (options.styleGiven && options.widthGiven && options.heightGiven) return;
  s::thread::Owned<s::map::IMappedData> store = s::app::SaveDataStore::open();
  if (!options.styleGiven) {
    options.style = Setting::styleOf(SavedValues::readText(*store, SavedValues::kConvertTo));
    if (!options.titleGiven) options.title = defaultTitle(options.style);
  }
  if (options.style == Setting::kStyleAlbum) {
    if (!options.heightGiven) options.height = decimal(SavedValues::readNumber(*store, SavedValues::kRowHeight));
    return;
  }
  if (!options.widthGiven) options.width = decimal(SavedValues::readNumber(*store, SavedValues::kCellWidth));
  if (!options.heightGiven) options.height = decimal(SavedValues::readNumber(*store, SavedValues::kCellHeight));
}

int runGallery(const Options& options, s::lang::Localizer& localizer) {
  s::thread::Owned<Setting> setting(Setting::create());
  setting->style = options.style;
  setting->title->assign(options.title);
  if (options.style == Setting::kStyleTile) {
    setting->cellWidth = Setting::cellSizeFromText(options.width);
    setting->cellHeight = Setting::cellSizeFromText(options.height);
  } else if (options.style == Setting::kStyleAlbum && !options.height.empty()) {
    setting->rowHeight = Setting::cellSizeFromText(options.height);
  }
  std::vector<std::u16string> files;
  for (const std::u16string& file : options.files) files.push_back(absolutePath(file));
  std::u16string folder;
  if (!GalleryCore::outputFolderAccepts(files.front(), &folder)) {
    const std::u16string_view text = localizer.getText(GalleryCore::kTextOutputFolderRefused);
    writeText(Stream::kErr, forConsole(GalleryCore::outputFolderMessage(text, folder)) + u"\n");
    return kExitFailed;
  }

  // Lock-free, so the interrupt handler may set it; the core looks at it between files.
  static std::atomic<uint8_t> cancel{0};
  installInterruptHandler(&cancel);
  const ProgressTexts texts(localizer, options.style);
  ConsoleProgress progress(texts);
  GalleryCore core(kHelperPriority);
  core.setJobs(options.jobs);
  if (options.style == Setting::kStyleAlbum) {
    const s::lang::LangPack* pack = localizer.currentPack();
    core.setAlbumWords(AlbumWords::of(pack ? pack->tag().view() : u"eng",
                                      [&](int32_t id) { return std::u16string(localizer.getText(id)); }));
  }
  const GalleryOutcome outcome = core.make(*setting, files, progress, &cancel);
  writeText(Stream::kOut, outcome.pagePath + u"\n");
  // Something not written weighs more than a picture not read.
  if (!outcome.failures.empty()) return kExitFailed;
  if (outcome.cancelled) return kExitInterrupted;
  return outcome.unreadCount() > 0 ? kExitSomeUnread : kExitDone;
}

}  // namespace

int runGalleryCommand(const std::vector<std::u16string>& arguments) {
  Options options;
  std::u16string error;
  if (!parseOptions(arguments, &options, &error)) {
    writeText(Stream::kErr, u"pictorva-cli: " + error + u"\n" + widen(usageText()));
    return kExitUsage;
  }
  if (options.command == Options::Command::kHelp) {
    writeText(Stream::kOut, widen(usageText()));
    return kExitDone;
  }
  for (const std::u16string& list : options.fileLists) {
    if (!readFileList(list, &options.files)) {
      writeText(Stream::kErr, u"pictorva-cli: cannot read the file list \"" + list + u"\"\n");
      return kExitUsage;
    }
  }
  if (options.files.empty()) {
    writeText(Stream::kErr, u"pictorva-cli: no files given\n" + widen(usageText()));
    return kExitUsage;
  }
  s::thread::Owned<s::lang::Localizer> localizer = loadLanguages(options.language, &error);
  if (!localizer) {
    writeText(Stream::kErr, u"pictorva-cli: " + error + u"\n");
    return kExitUsage;
  }
  takeStoredDefaults(options);
  // A stored Album meets the options given with it only here.
  if (!checkAlbumOptions(options, &error)) {
    writeText(Stream::kErr, u"pictorva-cli: " + error + u"\n" + widen(usageText()));
    return kExitUsage;
  }
  return runGallery(options, *localizer);
}

}  // namespace pictorva::cli
