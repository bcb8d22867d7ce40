#pragma once
// Component: what every component of the toolkit shares — the geometry state and its
// protocol (positions, sizes, deferred geometry, visibility), the tree of children,
// the listener lists and the native window. Leaf components (labels, buttons, ...)
// use its size rule as it is; boxes (BoxBase) replace it with theirs.
//
// The leaf size rule. A leaf holds a content minimum and preferred size, measured from
// its content by the leaf class. Its minimum width is the fixed width when one is set,
// else the content minimum width; its preferred width is the fixed width when set,
// else, with a width percent p, the parent's content width × p ÷ 100 truncated toward
// zero, else the larger of the content minimum and preferred widths. Heights alike.
#include <string_view>
#include <vector>

#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/gui/Geometry.h"
#include "s/gui/IComponent.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {
class ICanvas;
struct PaintState;
}  // namespace s::gui::drawer

namespace s::gui {

class Component : public virtual IComponent, public base::IObject, public thread::IPoolable {
 public:
  // The platform control a component is backed by (see native/win/NativeFactory).
  enum class NativeKind { kBox, kLabel, kButton, kCheckBox, kComboBox, kTextField, kProgressBar };
  // The button-face colour of the system palette (0x00BBGGRR): the background a
  // component starts with.
  static constexpr unsigned kButtonFace = 0x00F0F0F0;

  Component();
  ~Component() override;

  // Components listen to nothing unless a class says otherwise.
  void onEvent(base::IObject*, int) override {}

  int getWidth() const override { return width_; }
  void setWidth(int width) override { setSize(width, height_); }
  int getHeight() const override { return height_; }
  void setHeight(int height) override { setSize(width_, height); }
  int getContentWidth() const override { return width_; }
  void setContentWidth(int width) override { setWidth(width); }
  int getContentHeight() const override { return height_; }
  void setContentHeight(int height) override { setHeight(height); }
  void setPosition(int x, int y) override;
  void setSize(int width, int height) override;
  void setBounds(int x, int y, int width, int height) override;
  void setOrigin(int originX, int originY) override;
  void moveOrigin(int dx, int dy) override { setOrigin(originX_ + dx, originY_ + dy); }
  int getMinWidth() const override;
  int getMinHeight() const override;
  int getPreferredWidth() const override;
  int getPreferredHeight() const override;
  bool isShown() const override { return visible_ && native_ != nullptr; }
  void setVisible(bool visible, bool recursive) override;
  bool isEnabled() const override { return enabled_; }
  void setEnabled(bool enabled) override;
  void centerInParent() override;
  void centerHorizontally() override;
  void centerVertically() override;
  IWindow* getWindow() const override { return window_; }
  IComponent* getParent() const override { return parent_; }
  void setParent(IComponent* parent) override;
  void add(IComponent* child) override;
  void remove(IComponent* child, bool recursive) override;
  void removeAll(bool recursive) override;
  bool isContainer() const override { return false; }
  void redraw() override;
  void offerSize(int width, int height) override;
  void relayout() override {}
  int getChildCount() const override { return static_cast<int>(children_.getCount()); }
  IComponent* getChild(int index) const override;
  const col::_array::ArrayP& getChildren() const override { return children_; }
  bool isDeferring() const override { return deferring_; }
  void beginDefer() override;
  void endDefer() override;
  int getX() const override { return x_; }
  int getY() const override { return y_; }
  bool isVisible() const override { return visible_; }
  native::NativeWindow* getNativeWindow() const override { return native_; }
  unsigned getEffectiveBackground() const override;
  const drawer::ISkin& getSkin() const override;
  void skinChanged() override;

  void reset() override;

  // The size rules of an axis: a fixed size clears the percent and the other way
  // round; negative values count as −1 (unset). With relayout and a native window the
  // change takes effect at once (see sizeRuleChanged).
  void setFixedWidth(int width, bool relayout);
  void setFixedHeight(int height, bool relayout);
  void setWidthPercent(int percent, bool relayout);
  void setHeightPercent(int percent, bool relayout);
  int getFixedWidth() const { return fixedWidth_; }
  int getFixedHeight() const { return fixedHeight_; }
  int getWidthPercent() const { return widthPercent_; }
  int getHeightPercent() const { return heightPercent_; }
  int getOriginX() const { return originX_; }
  int getOriginY() const { return originY_; }
  bool isPending() const { return pending_; }

  // The background; setting one makes the component opaque.
  void setBackgroundColour(unsigned colour);
  unsigned getBackgroundColour() const { return background_; }
  bool isTransparent() const { return transparent_; }

  // Listeners of the component's own events (a press, a changed selection, ...; each
  // class names its types).
  void addListener(events::IEventListener* listener) { listeners_.push_back(listener); }
  void addLayoutListener(events::IEventListener* listener) { layoutListeners_.push_back(listener); }
  void addGeometryListener(events::IEventListener* listener) { geometryListeners_.push_back(listener); }

  // Paints the component into area (its own rectangle at 0, 0) in the given state.
  // The default fills the effective background.
  virtual void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state);
  virtual NativeKind getNativeKind() const { return NativeKind::kBox; }

  // Makes native the root of this component's tree (the top-level window's native
  // window), then attaches the children's native windows to it. The component owns it.
  void attachRootWindow(native::NativeWindow* native);
  // Called by the native window when it is gone.
  void nativeWindowDestroyed() { native_ = nullptr; }
  // Called by a top-level native window that the platform resized: stores the new
  // size (the window has it already) and lays out.
  void nativeWindowResized(int width, int height);

 protected:
  // Hook after the native window was created and the stored geometry applied: a leaf
  // measures its content (see TextComponent); a box creates its children's windows.
  virtual void nativeWindowCreated();
  // A size rule changed: with relayout and a native window, the parent lays out again.
  virtual void sizeRuleChanged(bool relayout);
  // A leaf's content sizes; when they change and a native window exists, the parent
  // lays out again.
  void setContentSizes(int minWidth, int minHeight, int preferredWidth, int preferredHeight);
  // The measured extent of text in the native window's font; (0, 0) without one.
  Size measureText(std::u16string_view text) const;
  // Tells each listener of the list (this, eventType), in order.
  void notify(const std::vector<events::IEventListener*>& listeners, int eventType);
  // Tells the listeners of the component's own events.
  void fireEvent(int eventType) { notify(listeners_, eventType); }
  void refreshNative();
  void destroyNativeWindow();
  // The parent's content size, 0 without a parent.
  int parentContentWidth() const;
  int parentContentHeight() const;
  // Detaches and releases child without laying out.
  void dropChild(size_t index, bool recursive);

  int contentMinWidth_ = 0;
  int contentMinHeight_ = 0;
  int contentPreferredWidth_ = 0;
  int contentPreferredHeight_ = 0;
  int widthPercent_ = -1;
  int heightPercent_ = -1;
  int fixedWidth_ = -1;
  int fixedHeight_ = -1;
  col::_array::ArrayP children_;
  std::vector<events::IEventListener*> layoutListeners_;

 private:
  void applyGeometry(unsigned parts);
  void createNativeWindow(native::NativeWindow& parentWindow);
  void restoreFields();

  IWindow* window_ = nullptr;
  IComponent* parent_ = nullptr;
  native::NativeWindow* native_ = nullptr;
  bool visible_ = true;
  bool deferring_ = false;
  bool pending_ = false;
  bool enabled_ = true;
  int x_ = 0;
  int y_ = 0;
  int originX_ = 0;
  int originY_ = 0;
  int width_ = 0;
  int height_ = 0;
  unsigned background_ = kButtonFace;
  bool transparent_ = true;
  std::vector<events::IEventListener*> listeners_;
  std::vector<events::IEventListener*> geometryListeners_;
};

}  // namespace s::gui
