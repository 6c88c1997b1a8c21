// Controls that sit on a window: labels, single-line text fields, multi-line
// text areas and canvases that show a picture. Each is created for its window
// with Window::New, registered with Window::AddControl and found again with
// Window::ControlByName.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/object.h"

namespace tk {

class Window;
class Picture;
struct ControlImpl;

class RectControl : public Object {
  public:
    ~RectControl() override;

    // The control's default constructor step; a control is usable once New
    // has returned, so this does nothing more.
    void Constructor() {}

    std::string ClassName() const override;

    const std::string& Name() const { return name_; }

    // The control's box in its window, as its list placed it.
    virtual int Left() const;
    virtual int Top() const;
    virtual int Width() const;
    virtual int Height() const;

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetFocus();
    bool HasFocus() const;

    // MouseDown: (control, x, y) in the control's own coordinates; the result
    // says whether the handler handled the click.
    using MouseDownHandler = std::function<bool(RectControl&, std::int64_t, std::int64_t)>;
    void BindMouseDown(MouseDownHandler handler) { mouseDown_ = std::move(handler); }
    bool HasMouseDown() const { return static_cast<bool>(mouseDown_); }

  protected:
    explicit RectControl(std::unique_ptr<ControlImpl> impl);
    friend struct ControlProperties;
    friend struct ControlInternals;  // the toolkit's own access (controls_qt.h)
    friend class Window;             // which names it, and puts it in the tab order

    std::unique_ptr<ControlImpl> impl_;
    std::string name_;
    bool enabled_ = true;
    bool tabStop_ = true;
    int tabIndex_ = 0;
    MouseDownHandler mouseDown_;
};

class Label : public RectControl {
  public:
    explicit Label(tk::Window& window);
    std::string ClassName() const override { return "Label"; }
    void SetProperty(const plist::Entry& entry) override;
    std::string Text() const;
    void SetText(std::string_view text);
    int Left() const override { return left_; }
    int Top() const override { return top_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // An opaque label fills its box, and only its box, with its background.
    bool Transparent() const { return transparent_; }

  private:
    friend struct ControlProperties;
    // Places the label's widget for its box: a centred label's widget is wider
    // than the box about the same centre, so that a line a little wider than
    // the box is not broken where the text did not break it.
    void Refit();
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;  // the box the list gives
    bool transparent_ = true;
};

class TextField : public RectControl {
  public:
    explicit TextField(tk::Window& window);
    std::string ClassName() const override { return "TextField"; }
    void SetProperty(const plist::Entry& entry) override;

    std::string Text() const;
    // Sets the text the program wants shown, whole: the character limit bounds
    // only what the user types or pastes.
    void SetText(std::string_view text);
    bool ReadOnly() const;
    int MaximumCharactersAllowed() const { return limit_; }

    // KeyDown: (field, key text); true swallows the key. Raised for keys that
    // enter text, whatever modifiers they carry, for each character of text
    // composed with dead keys or an input method, and for Backspace, Tab,
    // Return and Escape; navigation keys, Delete and modifier shortcuts go
    // straight to the field and the menus. Pastes pass no filter.
    using KeyDownHandler = std::function<bool(TextField&, std::string_view)>;
    void BindKeyDown(KeyDownHandler handler) { keyDown_ = std::move(handler); }
    bool HasKeyDown() const { return static_cast<bool>(keyDown_); }

  private:
    friend struct ControlProperties;
    friend struct ControlInternals;
    int limit_ = 0;  // 0: no limit
    KeyDownHandler keyDown_;
};

class TextArea : public RectControl {
  public:
    explicit TextArea(tk::Window& window);
    std::string ClassName() const override { return "TextArea"; }
    // Line breaks are CR in the toolkit's texts.
    std::string Text() const;
    void SetText(std::string_view text);
    void SetProperty(const plist::Entry& entry) override;
};

class Canvas : public RectControl {
  public:
    explicit Canvas(tk::Window& window);
    std::string ClassName() const override { return "Canvas"; }
    // The picture drawn in the canvas; null for none.
    std::shared_ptr<Picture> Backdrop() const { return backdrop_; }
    void SetBackdrop(std::shared_ptr<Picture> picture);
    void SetProperty(const plist::Entry& entry) override;

  private:
    std::shared_ptr<Picture> backdrop_;
};

}  // namespace tk
