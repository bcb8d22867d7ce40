#pragma once
// Dialog: a window built around a drop box. Files dropped on it start a job on a
// worker; the window shows the job's progress in its status bar. A "Create:" list
// chooses what the job makes, with an options page per entry, shown in the expanded
// view; the compact view shows the drop box alone. A right click or the view button
// switches between the views, each with a size of its own kept in the save data.
//
// The menus: View (keep on top, right-click switching, easy drag, close by a click of
// the mouse wheel), Language (one item per language pack) and About.
//
// Derived dialogs adjust it through the hooks below: sizes, the "Create:" entries and
// their pages, the apply hook, and the job itself (start, cancel, finish).
//
// Threads. buildAndRun() is called on the program's main thread: it makes the window
// (which runs on a thread of its own), builds its parts there, shows it and waits
// until it is closed. Everything else runs on the window's thread: events, drops, and
// the job's progress events, which the job's worker sends through the window's
// job-event relay and waits for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/base/IObject.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"

namespace s::app::win {
class AppWindow;
}
namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}
namespace s::gui {
class IComponent;
}
namespace s::gui::win {
class Box;
class Button;
class CheckBox;
class ComboBox;
class GroupBox;
class Label;
class MenuEx;
class ProgressBar;
class Spacer;
class Window;
}  // namespace s::gui::win

namespace s::gui::dialogs {
class About3;
}

namespace s::gui::dialogs::dragndrop {

class Dialog : public events::IEventListener, public base::IObject, public thread::IPoolable {
 public:
  // Menu command ids.
  enum Command {
    kCommandTranslate = 0,
    kCommandFirstLanguage = 2,  // + the language's index
    kCommandKeepOnTop = 100,
    kCommandRightClickTransform = 110,
    kCommandEasyDrag = 120,
    kCommandCloseByWheelClick = 125,
    kCommandVersionInformation = 10000,
    kCommandSoftwarePage = 10100,
    kCommandTellDevelopers = 10200,
    kCommandMoreSoftware = 10900,
  };

  Dialog();
  ~Dialog() override;
  void reset() override;

  // The window record gives the store, the localizer and the window's settings.
  void bind(app::win::AppWindow* record);
  // Builds the window, enters the stored view, shows the window and returns when it
  // has been closed (and any job has ended). files: handled as a drop once shown.
  void buildAndRun(const std::vector<std::u16string>& files = {});

  // Takes paths as files dropped on the window (the window's thread).
  void takeDrop(const std::vector<std::u16string>& paths);

  // Hands paths to the window of another running copy of the program, which takes
  // them as a drop (WM_COPYDATA of kCopyDataFiles: the paths, each ended by a zero,
  // in UTF-16). False when the window did not take them.
  static constexpr uintptr_t kCopyDataFiles = 0x50494354;  // "PICT"
  static bool sendFiles(void* otherWindow, const std::vector<std::u16string>& paths);

  void onEvent(base::IObject* source, int eventType) override;

  // For tests and the program: the window while it runs, and the view.
  win::Window* getWindow() const { return window_.get(); }
  bool isCompact() const { return compact_; }
  // Switches the view, storing the size of the view left (the window's thread).
  void switchView();

 protected:
  // --- Hooks ----------------------------------------------------------------------
  virtual int compactWidth() const { return 250; }
  virtual int compactHeight() const { return 250; }
  virtual int expandedWidth() const { return 450; }
  virtual int expandedHeight() const { return 450; }
  // Fills the "Create:" list (text ids are the derived dialog's).
  virtual void fillChoices(win::ComboBox& /*choices*/) {}
  // The options pages, one per entry, in a pile; the base has none.
  virtual void buildOptionsPages(win::Box& /*pages*/) {}
  // Sets the texts of the entries and pages again (the language changed).
  virtual void retextChoices(win::ComboBox& /*choices*/, win::Box& /*pages*/) {}
  virtual bool isViewSwitchingEnabled() const { return true; }
  virtual bool isCompactByDefault() const { return true; }
  virtual bool isDropAreaShown() const { return true; }
  virtual int dropAreaWidth() const { return 125; }
  virtual bool isChoiceRowShown() const { return true; }
  virtual int progressSpacerWidth() const { return 0; }
  virtual int cancelButtonWidth() const { return 0; }
  virtual int defaultChoiceIndex() const { return 0; }

  // The job: start it with the dropped paths (false: not started, the drop is
  // ignored), cancel it, and end it once its end event has been shown.
  virtual bool startJob(const std::vector<std::u16string>& /*paths*/) { return false; }
  virtual bool isJobRunning() const { return false; }
  virtual bool isJobCancelling() const { return false; }
  virtual void cancelJob() {}
  virtual void finishJob() {}
  // Waits until the job's worker is idle (the dialog is going away).
  virtual void waitForJob() {}
  // Called once the window exists, before anything is built (the job's relay).
  virtual void windowCreated() {}

  std::u16string text(int32_t id) const;
  map::IMappedData& store() const;
  win::Window& window() const { return *window_; }
  win::ComboBox& choices() const { return *choiceList_; }
  win::Box& pages() const { return *pages_; }
  lang::Localizer& localizer() const { return *localizer_; }
  app::win::AppWindow& record() const { return *record_; }

  // Progress display: the job's events, on the window's thread.
  void jobStarted();
  void jobProgress(uint32_t total, uint32_t index, std::u16string_view name);
  void jobEnded();
  void showStatus(std::u16string_view status);

 private:
  void build();
  void buildMenu();
  win::Box* buildDropArea();
  win::Box* buildControls();
  IComponent* buildStatusBar();
  void applyTexts();
  void enterCompact(bool storeSize);
  void enterExpanded(bool storeSize);
  // The window takes the stored size of the view shown.
  void applyViewSize();
  void layOutAtViewSize();
  void storeSize(bool compact);
  void choiceChanged();
  void menuCommand(int command);
  void languageChanged();
  void openAddress(int32_t textId);
  void relayedRecord();
  // The program icon (icon group 128 of the executable) as the window's icon; none
  // where there are no module icons.
  static void* loadProgramIcon();
  void installCopyDataReceiver();
  void removeCopyDataReceiver();

  app::win::AppWindow* record_ = nullptr;
  lang::Localizer* localizer_ = nullptr;
  thread::Owned<win::Window> window_;
  thread::Owned<win::MenuEx> menu_;
  thread::Owned<win::MenuEx> oldMenu_;
  thread::Owned<About3> about_;
  bool compact_ = true;
  bool rightClick_ = true;

  win::Box* strip_ = nullptr;
  win::Box* main_ = nullptr;
  win::Box* dropArea_ = nullptr;
  win::Box* checkColumn_ = nullptr;
  win::Spacer* upperSpacer_ = nullptr;
  win::Spacer* lowerSpacer_ = nullptr;
  win::CheckBox* keepOnTop_ = nullptr;
  win::GroupBox* dropBox_ = nullptr;
  win::Box* dropContent_ = nullptr;
  win::Box* topLine_ = nullptr;
  win::Label* dropHint_ = nullptr;
  win::Label* formatHint_ = nullptr;
  win::Box* controls_ = nullptr;
  win::Box* choiceRow_ = nullptr;
  win::Label* createLabel_ = nullptr;
  win::ComboBox* choiceList_ = nullptr;
  win::Box* pages_ = nullptr;
  win::Button* viewButton_ = nullptr;
  win::Label* statusLabel_ = nullptr;
  win::Label* secondaryLabel_ = nullptr;
  win::Box* linkGroup_ = nullptr;
  win::Label* makerLink_ = nullptr;
  win::Box* progressGroup_ = nullptr;
  win::ProgressBar* progressBar_ = nullptr;
  win::Button* cancelButton_ = nullptr;
  void* previousProcedure_ = nullptr;  // the window's, while files are received
};

}  // namespace s::gui::dialogs::dragndrop
