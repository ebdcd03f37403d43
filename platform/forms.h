// Forms and controls. A form is a class named after its window; its controls
// are members, registered under their names so that back ends and session
// scripts can find them. Properties notify the back end when they change.
// Positions and sizes are in twips.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class Ui;
class Form;

enum class PropId {
    Caption, Text, Enabled, Visible, Geometry, ToolTip, Value, List, ListIndex,
    GridShape, GridCell, GridCellStyle, GridColWidth, GridCurrent, PanelText,
    Font, Colour, Canvas, Checked, Locked, RightMargin, Arrange, Selection, Other
};

enum class ControlKind {
    CommandButton, TextBox, Label, Frame, CheckBox, OptionButton, ComboBox, ListBox,
    FlexGrid, RichTextBox, StatusBar, Menu, PictureBox, CommonDialog, Image
};

enum class FormKind { TopLevel, MdiParent, MdiChild };

class PropOwner {
public:
    virtual ~PropOwner() = default;
    virtual void Changed(PropId id, int a = 0, int b = 0) = 0;
};

// A property: reads like a value, and tells its owner when it is assigned a
// different value.
template <class T>
class Prop {
public:
    Prop(PropOwner* owner, PropId id, T init = T{}) : owner_(owner), id_(id), v_(std::move(init)) {}
    Prop(const Prop&) = delete;
    Prop& operator=(const Prop& other) { return *this = other.v_; }
    Prop& operator=(const T& v) {
        if (!(v_ == v)) {
            v_ = v;
            owner_->Changed(id_);
        }
        return *this;
    }
    operator const T&() const { return v_; }
    const T& operator()() const { return v_; }
    const T& get() const { return v_; }
    // Sets the value without telling the owner: for back ends that mirror
    // what the user did in a widget.
    void SetQuietly(const T& v) { v_ = v; }
    friend bool operator==(const Prop& p, const T& v) { return p.v_ == v; }
    friend bool operator!=(const Prop& p, const T& v) { return !(p.v_ == v); }

private:
    PropOwner* owner_;
    PropId id_;
    T v_;
};

class Control : public PropOwner {
public:
    Control(Form& form, std::string name, ControlKind kind, int left = 0, int top = 0,
            int width = 0, int height = 0);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form;
    const std::string name;
    const ControlKind kind;
    Control* container = nullptr;   // the frame it sits in, if any

    Prop<bool> Enabled{this, PropId::Enabled, true};
    Prop<bool> Visible{this, PropId::Visible, true};
    Prop<int> Left, Top, Width, Height;
    Prop<std::string> ToolTipText{this, PropId::ToolTip};
    Prop<std::string> FontName{this, PropId::Font, "MS Sans Serif"};
    Prop<double> FontSize{this, PropId::Font, 8.25};
    Prop<bool> FontBold{this, PropId::Font, false};
    Prop<bool> FontItalic{this, PropId::Font, false};
    Prop<std::int32_t> BackColor{this, PropId::Colour, -1};   // -1: the default
    Prop<std::int32_t> ForeColor{this, PropId::Colour, -1};
    int TabIndex = 0;
    // Stops a run: while it is shown and enabled, the user can stop the run
    // going on (Ui::StopControls).
    bool StopsRun = false;

    // Event handlers, wired by the form's constructor.
    std::function<void()> OnClick, OnDblClick, OnChange, OnGotFocus, OnLostFocus;
    std::function<void(int& keyAscii)> OnKeyPress;
    std::function<void(int button, int shift, double x, double y)> OnMouseDown, OnMouseUp,
        OnMouseMove;

    void Move(int left, int top, int width, int height);
    void SetFocus();
    std::string Path() const;   // "frmMenu.cmdQuit"

    // Raise an event from code, as the window system would.
    void Click() { if (OnClick) OnClick(); }
    void DblClick() { if (OnDblClick) OnDblClick(); }

    void Changed(PropId id, int a = 0, int b = 0) override;
    // The caption or text shown: what session scripts print and compare.
    virtual std::string ShownText() const { return ""; }
};

class CommandButton : public Control {
public:
    CommandButton(Form& f, std::string name, std::string caption, int l, int t, int w, int h)
        : Control(f, std::move(name), ControlKind::CommandButton, l, t, w, h),
          Caption(this, PropId::Caption, std::move(caption)) {}
    Prop<std::string> Caption;
    bool Default = false, Cancel = false;
    std::string ShownText() const override { return Caption; }
};

class Label : public Control {
public:
    Label(Form& f, std::string name, std::string caption, int l, int t, int w, int h)
        : Control(f, std::move(name), ControlKind::Label, l, t, w, h),
          Caption(this, PropId::Caption, std::move(caption)) {}
    Prop<std::string> Caption;
    int Alignment = 0;   // 0 left, 1 right, 2 centre
    bool WordWrap = true;
    // When set, a new caption or font sizes the label to its text
    // (Backend::MeasureText).
    bool AutoSize = false;
    void Changed(PropId id, int a, int b) override;
    std::string ShownText() const override { return Caption; }
};

class Frame : public Control {
public:
    Frame(Form& f, std::string name, std::string caption, int l, int t, int w, int h)
        : Control(f, std::move(name), ControlKind::Frame, l, t, w, h),
          Caption(this, PropId::Caption, std::move(caption)) {}
    Prop<std::string> Caption;
    std::string ShownText() const override { return Caption; }
};

// Setting Text, from code or by the user, raises Change. The selection is
// SelLength characters from SelStart (0 = before the first character); text
// set by code, or at design, leaves the caret at its end with nothing selected.
class TextBox : public Control {
public:
    TextBox(Form& f, std::string name, std::string text, int l, int t, int w, int h,
            bool multiLine = false)
        : Control(f, std::move(name), ControlKind::TextBox, l, t, w, h),
          Text(this, PropId::Text, std::move(text)), MultiLine(multiLine) {
        SelStart.SetQuietly(static_cast<int>(Text().size()));
    }
    Prop<std::string> Text;
    Prop<bool> Locked{this, PropId::Locked, false};
    Prop<int> SelStart{this, PropId::Selection, 0}, SelLength{this, PropId::Selection, 0};
    // Selects the whole text.
    void SelectAll();
    bool MultiLine;
    bool ScrollBars = false;
    int MaxLength = 0;
    void Changed(PropId id, int a, int b) override;
    std::string ShownText() const override { return Text; }
};

// Value 0 unchecked, 1 checked, 2 grayed; a change of Value raises Click.
class CheckBox : public Control {
public:
    CheckBox(Form& f, std::string name, std::string caption, int l, int t, int w, int h,
             int value = 0)
        : Control(f, std::move(name), ControlKind::CheckBox, l, t, w, h),
          Caption(this, PropId::Caption, std::move(caption)), Value(this, PropId::Value, value) {}
    Prop<std::string> Caption;
    Prop<int> Value;
    void Changed(PropId id, int a, int b) override;
    std::string ShownText() const override { return Caption; }
};

// Setting Value True clears the other option buttons of the same container
// and raises Click.
class OptionButton : public Control {
public:
    OptionButton(Form& f, std::string name, std::string caption, int l, int t, int w, int h,
                 bool value = false)
        : Control(f, std::move(name), ControlKind::OptionButton, l, t, w, h),
          Caption(this, PropId::Caption, std::move(caption)), Value(this, PropId::Value, value) {}
    Prop<std::string> Caption;
    Prop<bool> Value;
    void Changed(PropId id, int a, int b) override;
    std::string ShownText() const override { return Caption; }
};

// Combo and list boxes: items from 0; ListIndex -1 is no selection.
// A change of ListIndex raises Click; setting Text otherwise raises Change.
class ListControl : public Control {
public:
    ListControl(Form& f, std::string name, ControlKind kind, int l, int t, int w, int h)
        : Control(f, std::move(name), kind, l, t, w, h) {}
    Prop<int> ListIndex{this, PropId::ListIndex, -1};
    Prop<std::string> Text{this, PropId::Text};
    void AddItem(const std::string& item);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    std::string List(int index) const;
    const std::vector<std::string>& Items() const { return items_; }
    void Changed(PropId id, int a, int b) override;
    std::string ShownText() const override { return Text; }

private:
    std::vector<std::string> items_;
    bool selecting_ = false;
};

class ComboBox : public ListControl {
public:
    ComboBox(Form& f, std::string name, int l, int t, int w, int h)
        : ListControl(f, std::move(name), ControlKind::ComboBox, l, t, w, h) {}
};

class ListBox : public ListControl {
public:
    ListBox(Form& f, std::string name, int l, int t, int w, int h)
        : ListControl(f, std::move(name), ControlKind::ListBox, l, t, w, h) {}
};

// A grid of text cells with fixed rows and columns, per-cell colours and
// alignment, a current cell and the cell under the mouse.
class FlexGrid : public Control {
public:
    FlexGrid(Form& f, std::string name, int l, int t, int w, int h, int rows = 2, int cols = 2);
    Prop<int> Rows, Cols, FixedRows{this, PropId::GridShape, 1},
        FixedCols{this, PropId::GridShape, 1};
    Prop<int> Row{this, PropId::GridCurrent, 1}, Col{this, PropId::GridCurrent, 1};
    // First scrollable row and column in view.
    Prop<int> TopRow{this, PropId::GridCurrent, 1}, LeftCol{this, PropId::GridCurrent, 1};
    Prop<std::int32_t> GridColor{this, PropId::Colour, -1};
    int ScrollBars = 3;   // 0 none, 1 horizontal, 2 vertical, 3 both
    int MouseRow = 0, MouseCol = 0;   // set by the back end before a click

    std::string TextMatrix(int r, int c) const;
    void SetTextMatrix(int r, int c, const std::string& text);
    // The current cell (Row, Col).
    std::string Text() const { return TextMatrix(Row, Col); }
    void SetText(const std::string& text) { SetTextMatrix(Row, Col, text); }

    int ColWidth(int c) const;
    int RowHeight(int /*r*/) const { return 240; }
    // The current cell's rectangle in twips from the grid's corner, as the
    // grid shows it (scrolled by TopRow and LeftCol).
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;
    void SetColWidth(int c, int twips);
    std::int32_t CellForeColor(int r, int c) const;
    std::int32_t CellBackColor(int r, int c) const;
    int CellAlignment(int r, int c) const;   // 1 left, 4 centre, 7 right; 0 general
    bool CellFontBold(int r, int c) const;
    void SetCellForeColor(int r, int c, std::int32_t colour);
    void SetCellBackColor(int r, int c, std::int32_t colour);
    void SetCellAlignment(int r, int c, int alignment);
    void SetCellFontBold(int r, int c, bool bold);
    bool InRange(int r, int c) const;
    void Changed(PropId id, int a, int b) override;

private:
    struct Cell {
        std::string text;
        std::int32_t fore = -1, back = -1;
        int align = 0;
        bool bold = false;
    };
    void Reshape();
    void CellRect(int& left, int& top, int& width, int& height) const;
    int shapeRows_ = 0, shapeCols_ = 0;
    std::vector<Cell> cells_;
    std::vector<int> colWidths_;
};

// Text pane in a fixed-pitch font that does not wrap; editable by the user.
class RichTextBox : public Control {
public:
    RichTextBox(Form& f, std::string name, int l, int t, int w, int h);
    Prop<std::string> Text{this, PropId::Text};
    Prop<bool> Locked{this, PropId::Locked, false};
    Prop<int> RightMargin{this, PropId::RightMargin, 0};
    void Append(const std::string& text) { Text = Text() + text; }
    std::string ShownText() const override { return Text; }
};

class StatusBar : public Control {
public:
    StatusBar(Form& f, std::string name, int panels);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // Panels are numbered from 1; a number out of range is ignored.
    std::string Panel(int i) const;
    void SetPanel(int i, const std::string& text);

private:
    std::vector<std::string> panels_;
};

class Menu : public Control {
public:
    Menu(Form& f, std::string name, std::string caption, Menu* parent = nullptr,
         std::string shortcut = "", bool visible = true);
    Prop<std::string> Caption;
    Prop<bool> Checked{this, PropId::Checked, false};
    Menu* const parent;
    const std::string shortcut;   // "Ctrl+X"
    bool windowList = false;      // lists the open child windows
    bool IsSeparator() const { return Caption() == "-"; }
    const std::vector<Menu*>& Children() const { return children_; }
    std::string ShownText() const override { return Caption; }

private:
    std::vector<Menu*> children_;
};

// Drawing canvas with a display list. Coordinates are in the scale units
// (twips unless ScaleWidth and ScaleHeight are set), kept in single
// precision. An operation is small and holds no string: the text of a Print
// and the name of a fixed line are kept beside the list (see TextOf).
struct DrawOp {
    enum Kind : std::uint8_t { Cls, PSet, Line, Box, FilledBox, Circle, Text } kind = Cls;
    std::uint8_t drawStyle = 0;    // 0 solid, 1 dashed, 2 dotted
    std::uint8_t fillStyle = 1;    // 0 solid, 1 transparent
    std::uint16_t drawWidth = 1;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
    std::int32_t colour = 0;
    std::int32_t fillColour = 0;
    std::uint32_t text = 0;        // 1 + index of its text; 0 for none
};

class PictureBox : public Control {
public:
    PictureBox(Form& f, std::string name, int l, int t, int w, int h);
    Prop<int> DrawStyle{this, PropId::Other, 0};
    Prop<int> DrawWidth{this, PropId::Other, 1};
    Prop<int> FillStyle{this, PropId::Other, 1};
    Prop<std::int32_t> FillColor{this, PropId::Other, 0};
    double ScaleLeft = 0, ScaleTop = 0, ScaleWidth = 0, ScaleHeight = 0;
    double CurrentX = 0, CurrentY = 0;

    void Scale(double x1, double y1, double x2, double y2);
    void Cls();
    void PSet(double x, double y, std::int32_t colour = -1);
    void Line(double x1, double y1, double x2, double y2, std::int32_t colour = -1,
              bool box = false, bool filled = false);
    void LineTo(double x2, double y2, std::int32_t colour = -1);
    void Circle(double x, double y, double r, std::int32_t colour = -1);
    void Print(const std::string& text);
    const std::vector<DrawOp>& DisplayList() const { return ops_; }
    // Lines placed at design time (the axes): shown over the drawing and not
    // erased by Cls. The name is the line's text.
    void AddFixedLine(const std::string& lineName, double x1, double y1, double x2, double y2,
                      std::int32_t colour = 0);
    const std::vector<DrawOp>& FixedLines() const { return fixed_; }
    // The text of a Print in the display list, or the name of a fixed line.
    const std::string& TextOf(const DrawOp& op) const;
    // Counts the clears, so that a painter can tell a list that started again.
    std::uint64_t ClearCount() const { return clears_; }

private:
    void Add(DrawOp op);
    std::int32_t Colour(std::int32_t c) const;
    std::vector<DrawOp> ops_;
    std::vector<DrawOp> fixed_;
    std::vector<std::string> texts_;   // Print texts, then fixed-line names
    std::uint64_t clears_ = 0;
};

// The display list as text, one line per operation, fixed lines first: for
// golden files.
std::string DisplayListText(const PictureBox& box);

inline constexpr int cdlOFNOverwritePrompt = 2, cdlOFNHideReadOnly = 4,
                     cdlOFNPathMustExist = 2048, cdlOFNFileMustExist = 4096;

// File dialog. ShowOpen / ShowSave return false when the user cancels.
class CommonDialog : public Control {
public:
    CommonDialog(Form& f, std::string name)
        : Control(f, std::move(name), ControlKind::CommonDialog) {}
    std::string DialogTitle, Filter, FileName, FileTitle, InitDir;
    int FilterIndex = 1;
    int Flags = 0;
    bool CancelError = false;
    bool ShowOpen();
    bool ShowSave();
};

class Image : public Control {
public:
    Image(Form& f, std::string name, int l, int t, int w, int h)
        : Control(f, std::move(name), ControlKind::Image, l, t, w, h) {}
};

// Why a window takes no user input: it is disabled, it is a child window of
// a disabled main window, or another task is in charge (Form::AcceptsInput).
enum class NoInput { None, Disabled, MainWindowDisabled, OtherTask };

class Form : public PropOwner {
public:
    Form(Ui& ui, std::string name, std::string caption, FormKind kind, int clientWidth,
         int clientHeight);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Ui& ui;
    const std::string name;
    const FormKind kind;
    Prop<std::string> Caption;
    Prop<int> Left{this, PropId::Geometry, 0}, Top{this, PropId::Geometry, 0};
    Prop<int> Width, Height;
    Prop<bool> Enabled{this, PropId::Enabled, true};
    Prop<std::int32_t> BackColor{this, PropId::Colour, -1};
    Prop<int> WindowState{this, PropId::Other, 0};
    // Mouse cursor over the window: 0 default, 7 size north-south.
    Prop<int> MousePointer{this, PropId::Other, 0};

    // Mouse events on the window's own client area (not over a control).
    std::function<void(int button, int shift, double x, double y)> OnMouseDown, OnMouseUp,
        OnMouseMove;

    // Client area (inside the borders and the caption).
    int ScaleWidth() const;
    int ScaleHeight() const;

    // Show loads the form if needed; a modal show returns when the form is
    // hidden or unloaded. A form that comes into view gives the focus to its
    // first control in tab order.
    void Show(int modal = 0);
    void Hide();
    // Unload from code (also from inside the form's own handlers, which go on
    // running; the object lives until the outermost handler is done).
    // Returns false when Form_QueryUnload or Form_Unload cancelled.
    bool Unload();
    // The user closed the window (close box): same as Unload, mode 0.
    bool RequestClose();
    void SetFocus();
    // 0 brings the window to the front, 1 sends it behind the others; a
    // window sent back before it is shown opens behind them.
    void ZOrder(int position = 0);
    void Move(int left, int top, int width, int height);
    void Resize(int width, int height);   // the user resized: sets and raises Form_Resize

    bool Visible() const { return visible_; }
    bool IsUnloaded() const { return unloaded_; }
    // Whether the user's clicks, picks, keys and close box reach the window:
    // not while it is disabled, nor, for a child window, while the MDI
    // parent is; and while an input scope is open (FormTable), only the MDI
    // parent and the windows loaded or shown inside the scope take them.
    // Both back ends deliver the user's input by this one rule.
    bool AcceptsInput() const { return WhyNoInput() == NoInput::None; }
    // Which part of that rule keeps the input out.
    NoInput WhyNoInput() const;

    virtual void Form_Load() {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}

    const std::vector<Control*>& Controls() const { return controls_; }
    Control* FindControl(std::string_view controlName) const;
    std::vector<Menu*> TopMenus() const;

    // The control that takes the focus when the window is shown: the lowest
    // TabIndex (then the first declared) among the shown, enabled controls
    // that can hold the focus, inside enabled and shown frames. Null if none.
    Control* FirstInTabOrder() const;

    void Register(Control* c);
    void Unregister(Control* c);
    void Changed(PropId id, int a = 0, int b = 0) override;
    void LoadNow();   // called by FormTable right after construction

private:
    friend class FormTable;
    bool UnloadWithMode(int mode);
    std::vector<Control*> controls_;
    bool visible_ = false, unloaded_ = false, loading_ = false;
    bool loadedFired_ = false;
    std::uint64_t scope_ = 0;   // the input scope the window was last loaded or shown in
};

inline constexpr int vbFormControlMenu = 0, vbFormCode = 1;

// What a user's action does to a control, whichever back end saw it; back
// ends call these rather than set properties or raise events themselves.
// A click toggles a check box (a grayed one becomes checked), selects an
// option button (clearing the others of its container; Click either way)
// and raises Click on any other control.
void UserClick(Control& c);
// The user sets a check box's value (0, 1, 2), an option button (non-zero
// selects it, as a click does; 0 clears it without an event) or picks a
// list's item (Click, also when it was the selected one already).
void UserSetValue(Control& c, int value);
// A click on a grid cell: the cell under the mouse, which becomes the
// current cell unless it is fixed, then Click. A double-click follows a
// click: the cell under the mouse, then DblClick.
void UserClickCell(FlexGrid& g, int row, int col);
void UserDblClickCell(FlexGrid& g, int row, int col);
// Whether the user can use control c: it is enabled and visible, under
// enabled and visible menus, in enabled frames, in a window that takes
// input.
bool UserCanUse(const Control& c);
// The user presses a key on the control that has the focus: KeyPress first
// (which may change or drop it); then Enter on a command button clicks it,
// and Enter (outside a multi-line text box) or Escape clicks the window's
// default or cancel button. Returns the key left for the control to take
// (typed into a text box); 0 when none is left.
int UserKeyPress(Control& c, int keyAscii);
// Enter or Escape that no control took: Enter on the focused command button
// clicks it, else Enter or Escape clicks the window's default or cancel
// button. False when the key did nothing.
bool UserEnterOrEscape(Form& form, Control* focused, int keyAscii);
// The user closes a window by its close box (Form::RequestClose). A window
// that takes no input (AcceptsInput) stays: false, as when its unload
// handlers cancel the close.
bool UserClose(Form& form);

// The loaded forms, by name. A reference through Get loads the form (as a
// reference to an unloaded form does in the window system).
class FormTable {
public:
    FormTable() = default;
    FormTable(const FormTable&) = delete;
    FormTable& operator=(const FormTable&) = delete;
    ~FormTable();

    template <class T, class... Args>
    T& Get(Args&&... args) {
        if (Form* f = Find(T::kName)) return static_cast<T&>(*f);
        auto p = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *p;
        Add(std::move(p));
        ref.LoadNow();
        return ref;
    }
    Form* Find(std::string_view name) const;   // loaded forms only
    bool IsLoaded(std::string_view name) const { return Find(name) != nullptr; }
    std::vector<Form*> Loaded() const;          // in load order
    // Removes a form from the table; it is freed by ReleaseUnloaded.
    void Retire(Form& form);
    void ReleaseUnloaded();
    // Frees every form without running its unload handlers.
    void Clear();

    // An input scope: while it is open, only the MDI parent and the windows
    // loaded or shown since it opened (or adopted into it) take the user's
    // input; the others behave as disabled. Scopes do not nest.
    void OpenInputScope();
    void CloseInputScope();
    bool InputScopeOpen() const { return scopeOpen_; }
    void Adopt(Form& form);
    bool InScope(const Form& form) const;
    // The loaded MDI parent, or null.
    Form* MdiParent() const;
    // Called whenever a scope opens or closes or a window is adopted into
    // one (the Ui passes it on to its back end).
    std::function<void()> inputChanged;

private:
    void InputChanged() const {
        if (inputChanged) inputChanged();
    }
    void Add(std::unique_ptr<Form> form);
    std::vector<std::unique_ptr<Form>> live_;
    std::vector<std::unique_ptr<Form>> retired_;
    std::uint64_t scopeSerial_ = 0;
    bool scopeOpen_ = false;
};

}  // namespace platform
