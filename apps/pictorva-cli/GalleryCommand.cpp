#include "GalleryCommand.h"

#include "CommandLine.h"
#include "FileList.h"
#include "LanguagesCommand.h"
#include "Options.h"
#include "Platform.h"
#include "s/image/gui/dialogs/pictorva/GalleryEvent.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/image/gui/dialogs/pictorva/SavedValues.h"
#include "s/image/gui/dialogs/pictorva/StatusTexts.h"
#include "s/lang/LangPack.h"
#include "s/map/SaveDataStore.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

using s::image::gui::dialogs::pictorva::GalleryEvent;
using s::image::gui::dialogs::pictorva::GalleryRun;
using s::image::gui::dialogs::pictorva::Setting;
using s::image::gui::dialogs::pictorva::StatusTexts;
namespace pictorva = s::image::gui::dialogs::pictorva;

std::u16string decimal(int64_t value) {
  s::str::strbuffer::StrBuffer out;
  out.appendInt64(value);
  return std::u16string(out.view());
}

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
      : started(style != Setting::kStyleFlat ? pick(localizer, StatusTexts::kMakingThumbnails, u"Making thumbnails...")
                                             : pick(localizer, StatusTexts::kReadingSizes, u"Reading picture sizes...")),
        done(pick(localizer, StatusTexts::kDone, u"Done!")),
        ready(pick(localizer, StatusTexts::kReady, u"Ready")),
        canceling(pick(localizer, StatusTexts::kCanceling, u"Canceling..")) {}
  static std::u16string pick(s::lang::Localizer& localizer, int32_t id, std::u16string_view builtIn) {
    const std::u16string_view text = localizer.getText(id);
    return std::u16string(text.empty() ? builtIn : text);
  }
  std::u16string started, done, ready, canceling;
};

// Shows the run's progress on standard error: one line per event, or one line that
// updates itself when standard error is a terminal.
class ProgressPrinter {
 public:
  explicit ProgressPrinter(const ProgressTexts& texts) : texts_(texts), terminal_(isTerminal(Stream::kErr)) {}

  void show(const GalleryEvent& event) {
    if (event.is(pictorva::kProcessStatusStart)) {
      line(texts_.started);
    } else if (event.is(pictorva::kProcessStatusUpdate)) {
      std::u16string text = u"[";
      text += decimal(event.second + 1);
      text += u"/";
      text += decimal(event.first);
      text += u"] ";
      text += event.textView();
      line(text);
    } else if (event.is(pictorva::kProcessStatusEnd)) {
      if (event.first == pictorva::kEndFailed) {
        line(u"Failed:");
        note(forConsole(std::u16string(event.textView())));
      } else {
        // As the window's status bar does: "Done!", then "Ready".
        line(texts_.done);
        endLine();
        line(texts_.ready);
        endLine();
      }
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

  const ProgressTexts& texts_;
  bool terminal_;
  bool lineOpen_ = false;  // the updating line has no line end yet
};

// What the options leave open comes from the save-data store, as the window takes
// it: the style the "Create:" list shows, the Tile cell size and the Album row
// height. Never written here.
void takeStoredDefaults(Options& options) {
  using s::image::gui::dialogs::pictorva::SavedValues;
  if (options.styleGiven && options.widthGiven && options.heightGiven) return;
  s::thread::Owned<s::map::IMappedData> store = s::map::SaveDataStore::open();
  if (!options.styleGiven) {
    options.style = SavedValues::styleOf(SavedValues::readText(*store, SavedValues::kConvertTo));
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
  s::thread::SyncRelay events;
  const ProgressTexts texts(localizer, options.style);
  ProgressPrinter progress(texts);
  bool ended = false;
  bool failed = false;
  events.bindReceiver([&](const s::thread::RelayRecord& record) {
    const GalleryEvent event = GalleryEvent::fromRecord(record);
    progress.show(event);
    if (event.is(pictorva::kProcessStatusEnd)) {
      ended = true;
      failed = event.first == pictorva::kEndFailed;
    }
    return uintptr_t{0};
  });

  GalleryRun::Hooks hooks;
  hooks.apply = [&](Setting& setting) {
    setting.style = options.style;
    setting.title->assign(options.title);
    if (options.style == Setting::kStyleTile) {
      setting.cellWidth = Setting::cellSizeFromText(options.width);
      setting.cellHeight = Setting::cellSizeFromText(options.height);
    } else if (options.style == Setting::kStyleAlbum && !options.height.empty()) {
      setting.rowHeight = Setting::cellSizeFromText(options.height);
    }
  };
  hooks.showMessage = [](std::u16string_view message) {
    writeText(Stream::kErr, forConsole(std::u16string(message)) + u"\n");
  };
  hooks.languageText = [&](int id) { return std::u16string(localizer.getText(id)); };
  hooks.languageTag = [&] {
    s::lang::LangPack* pack = localizer.currentPack();
    return pack ? std::u16string(pack->tag().view()) : std::u16string(u"eng");
  };
  GalleryRun run(&events, hooks);
  run.setJobs(options.jobs);

  std::vector<std::u16string> files;
  for (const std::u16string& file : options.files) files.push_back(absolutePath(file));

  installInterruptHandler();
  switch (run.start(files)) {
    case GalleryRun::StartResult::kStarted:
      break;
    case GalleryRun::StartResult::kFolderRefused:
      return kExitFailed;
    default:
      writeText(Stream::kErr, u"pictorva-cli: the gallery could not be started\n");
      return kExitFailed;
  }

  bool cancelled = false;
  while (!ended) {
    events.waitAndPump(50);
    if (interruptPresses() > 0 && !cancelled) {
      cancelled = true;
      run.cancel();
      progress.note(texts.canceling);
    }
  }
  run.finish();
  run.waitIdle();
  events.close();
  writeText(Stream::kOut, run.pagePath() + u"\n");
  if (failed) return kExitFailed;
  return cancelled ? kExitInterrupted : kExitDone;
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
