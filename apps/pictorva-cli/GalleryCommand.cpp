#include "GalleryCommand.h"

#include "CommandLine.h"
#include "FileList.h"
#include "Options.h"
#include "Platform.h"
#include "s/image/gui/dialogs/pictorva/GalleryEvent.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

using s::image::gui::dialogs::pictorva::GalleryEvent;
using s::image::gui::dialogs::pictorva::GalleryRun;
using s::image::gui::dialogs::pictorva::Setting;
namespace pictorva = s::image::gui::dialogs::pictorva;

std::u16string decimal(uint32_t value) {
  s::str::strbuffer::StrBuffer out;
  out.appendUInt32(value);
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

// Shows the run's progress on standard error: one line per event, or one line that
// updates itself when standard error is a terminal.
class ProgressPrinter {
 public:
  ProgressPrinter() : terminal_(isTerminal(Stream::kErr)) {}

  void show(const GalleryEvent& event) {
    if (event.is(pictorva::kProcessStatusStart)) {
      line(u"Started");
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
        line(u"Done!");
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

  bool terminal_;
  bool lineOpen_ = false;  // the updating line has no line end yet
};

int runGallery(const Options& options) {
  s::thread::SyncRelay events;
  ProgressPrinter progress;
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
    }
  };
  hooks.showMessage = [](std::u16string_view message) {
    writeText(Stream::kErr, forConsole(std::u16string(message)) + u"\n");
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
      progress.note(u"Canceling..");
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
  return runGallery(options);
}

}  // namespace pictorva::cli
