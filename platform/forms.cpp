#include "platform/forms.h"

#include <algorithm>
#include <cstdio>

#include "platform/runtime.h"
#include "platform/ui.h"

namespace platform {

namespace {
DrawOp MakeOp(DrawOp::Kind kind, double x1, double y1, double x2, double y2, double r,
              std::int32_t colour) {
    DrawOp op{};
    op.kind = kind;
    op.x1 = static_cast<float>(x1);
    op.y1 = static_cast<float>(y1);
    op.x2 = static_cast<float>(x2);
    op.y2 = static_cast<float>(y2);
    op.r = static_cast<float>(r);
    op.colour = colour;
    return op;
}

// Outer size of a sizable window around its client area, in twips.
constexpr int kBorderWidth = 120;
constexpr int kBorderHeight = 120 + 285;
}  // namespace

// ---------------------------------------------------------------- Control

Control::Control(Form& f, std::string n, ControlKind k, int left, int top, int width, int height)
    : form(f),
      name(std::move(n)),
      kind(k),
      Left(this, PropId::Geometry, left),
      Top(this, PropId::Geometry, top),
      Width(this, PropId::Geometry, width),
      Height(this, PropId::Geometry, height) {
    form.Register(this);
}

Control::~Control() { form.Unregister(this); }

void Control::Move(int left, int top, int width, int height) {
    Left.SetQuietly(left);
    Top.SetQuietly(top);
    Width.SetQuietly(width);
    Height.SetQuietly(height);
    Changed(PropId::Geometry);
}

void Control::SetFocus() { form.ui.backend.SetFocus(this, &form); }

std::string Control::Path() const { return form.name + "." + name; }

void Control::Changed(PropId id, int a, int b) {
    if (!form.IsUnloaded()) form.ui.backend.ControlChanged(*this, id, a, b);
}

void TextBox::Changed(PropId id, int a, int b) {
    if (id == PropId::Text) {
        SelStart.SetQuietly(static_cast<int>(Text().size()));
        SelLength.SetQuietly(0);
    } else if (id == PropId::Selection) {
        const int n = static_cast<int>(Text().size());
        SelStart.SetQuietly(std::clamp(SelStart(), 0, n));
        SelLength.SetQuietly(std::clamp(SelLength(), 0, n - SelStart()));
    }
    Control::Changed(id, a, b);
    if (id == PropId::Text && OnChange) OnChange();
}

void TextBox::SelectAll() {
    SelStart = 0;
    SelLength = static_cast<int>(Text().size());
}

void Label::Changed(PropId id, int a, int b) {
    Control::Changed(id, a, b);
    if ((id != PropId::Caption && id != PropId::Font) || !AutoSize) return;
    int w = 0, h = 0;
    form.ui.backend.MeasureText(*this, Caption, w, h);
    Width = w;
    Height = h;
}

void CheckBox::Changed(PropId id, int a, int b) {
    Control::Changed(id, a, b);
    if (id == PropId::Value && OnClick) OnClick();
}

void OptionButton::Changed(PropId id, int a, int b) {
    Control::Changed(id, a, b);
    if (id != PropId::Value || !Value) return;
    for (Control* c : form.Controls()) {
        if (c != this && c->kind == ControlKind::OptionButton && c->container == container)
            static_cast<OptionButton*>(c)->Value = false;
    }
    if (OnClick) OnClick();
}

// ------------------------------------------------------------ user input

void UserClick(Control& c) {
    if (!c.form.AcceptsInput()) return;
    switch (c.kind) {
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(c);
            box.Value = box.Value == 1 ? 0 : 1;   // raises Click
            break;
        }
        case ControlKind::OptionButton: UserSetValue(c, 1); break;
        default: c.Click(); break;
    }
}

void UserSetValue(Control& c, int value) {
    if (!c.form.AcceptsInput()) return;
    switch (c.kind) {
        case ControlKind::CheckBox: static_cast<CheckBox&>(c).Value = value; break;
        case ControlKind::OptionButton: {
            auto& opt = static_cast<OptionButton&>(c);
            if (value && opt.Value) opt.Click();
            else opt.Value = value != 0;   // selecting raises Click
            break;
        }
        case ControlKind::ComboBox:
        case ControlKind::ListBox: {
            auto& l = static_cast<ListControl&>(c);
            if (l.ListIndex == value) {
                if (value >= 0 && value < l.ListCount() && l.Text != l.List(value)) {
                    l.Text.SetQuietly(l.List(value));   // a pick is no Change
                    l.Control::Changed(PropId::Text, 0, 0);
                }
                l.Click();
            } else {
                l.ListIndex = value;   // sets Text, raises Click
            }
            break;
        }
        default: break;
    }
}

void UserClickCell(FlexGrid& g, int row, int col) {
    if (!g.form.AcceptsInput()) return;
    g.MouseRow = row;
    g.MouseCol = col;
    if (row >= g.FixedRows && col >= g.FixedCols) {
        g.Row = row;
        g.Col = col;
    }
    g.Click();
}

void UserDblClickCell(FlexGrid& g, int row, int col) {
    if (!g.form.AcceptsInput()) return;
    g.MouseRow = row;
    g.MouseCol = col;
    g.DblClick();
}

bool UserCanUse(const Control& c) {
    if (!c.Enabled || !c.Visible) return false;
    if (c.kind == ControlKind::Menu) {
        for (const Menu* m = static_cast<const Menu&>(c).parent; m; m = m->parent)
            if (!m->Enabled || !m->Visible) return false;
    }
    for (const Control* k = c.container; k; k = k->container)
        if (!k->Enabled) return false;
    return c.form.AcceptsInput();
}

bool UserEnterOrEscape(Form& form, Control* focused, int keyAscii) {
    if (!form.AcceptsInput() || (keyAscii != 13 && keyAscii != 27)) return false;
    if (keyAscii == 13 && focused && focused->kind == ControlKind::CommandButton) {
        UserClick(*focused);
        return true;
    }
    for (Control* k : form.Controls()) {
        if (k->kind != ControlKind::CommandButton || !k->Visible || !k->Enabled) continue;
        auto& b = static_cast<CommandButton&>(*k);
        if (keyAscii == 13 ? b.Default : b.Cancel) {
            UserClick(b);
            return true;
        }
    }
    return false;
}

int UserKeyPress(Control& c, int keyAscii) {
    if (!c.form.AcceptsInput()) return 0;
    if (c.OnKeyPress) c.OnKeyPress(keyAscii);
    const bool multiLine = c.kind == ControlKind::RichTextBox ||
                           (c.kind == ControlKind::TextBox && static_cast<TextBox&>(c).MultiLine);
    if (!(keyAscii == 13 && multiLine) && UserEnterOrEscape(c.form, &c, keyAscii)) return 0;
    return keyAscii;
}

bool UserClose(Form& form) { return form.AcceptsInput() && form.RequestClose(); }

// ------------------------------------------------------------ ListControl

void ListControl::AddItem(const std::string& item) {
    items_.push_back(item);
    Control::Changed(PropId::List);
}

void ListControl::Clear() {
    items_.clear();
    ListIndex = -1;
    Text = "";
    Control::Changed(PropId::List);
}

std::string ListControl::List(int index) const {
    if (index < 0 || index >= ListCount()) return "";
    return items_[static_cast<size_t>(index)];
}

void ListControl::Changed(PropId id, int a, int b) {
    Control::Changed(id, a, b);
    if (id == PropId::Text && !selecting_ && OnChange) OnChange();
    if (id == PropId::ListIndex) {
        selecting_ = true;
        if (ListIndex >= 0 && ListIndex < ListCount()) Text = items_[ListIndex];
        selecting_ = false;
        if (OnClick) OnClick();
    }
}

// --------------------------------------------------------------- FlexGrid

FlexGrid::FlexGrid(Form& f, std::string n, int l, int t, int w, int h, int rows, int cols)
    : Control(f, std::move(n), ControlKind::FlexGrid, l, t, w, h),
      Rows(this, PropId::GridShape, rows),
      Cols(this, PropId::GridShape, cols) {
    Reshape();
}

void FlexGrid::Reshape() {
    int rows = std::max(0, Rows());
    int cols = std::max(0, Cols());
    if (rows == shapeRows_ && cols == shapeCols_) return;
    std::vector<Cell> cells(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, shapeRows_); ++r)
        for (int c = 0; c < std::min(cols, shapeCols_); ++c)
            cells[static_cast<size_t>(r) * cols + c] =
                std::move(cells_[static_cast<size_t>(r) * shapeCols_ + c]);
    cells_ = std::move(cells);
    colWidths_.resize(static_cast<size_t>(cols), 960);
    shapeRows_ = rows;
    shapeCols_ = cols;
}

bool FlexGrid::InRange(int r, int c) const {
    return r >= 0 && c >= 0 && r < shapeRows_ && c < shapeCols_;
}

std::string FlexGrid::TextMatrix(int r, int c) const {
    return InRange(r, c) ? cells_[static_cast<size_t>(r) * shapeCols_ + c].text : std::string();
}

void FlexGrid::SetTextMatrix(int r, int c, const std::string& text) {
    if (!InRange(r, c)) return;
    cells_[static_cast<size_t>(r) * shapeCols_ + c].text = text;
    Control::Changed(PropId::GridCell, r, c);
}

int FlexGrid::ColWidth(int c) const {
    return c >= 0 && c < shapeCols_ ? colWidths_[static_cast<size_t>(c)] : 0;
}

void FlexGrid::SetColWidth(int c, int twips) {
    if (c < 0 || c >= shapeCols_) return;
    colWidths_[static_cast<size_t>(c)] = twips;
    Control::Changed(PropId::GridColWidth, c, 0);
}

void FlexGrid::CellRect(int& left, int& top, int& width, int& height) const {
    if (form.ui.backend.GridCellRect(*this, Row, Col, left, top, width, height)) return;
    left = top = 0;
    for (int c = 0; c < FixedCols && c < shapeCols_; ++c) left += ColWidth(c);
    for (int c = LeftCol; c < Col; ++c) left += ColWidth(c);
    for (int r = 0; r < FixedRows && r < shapeRows_; ++r) top += RowHeight(r);
    for (int r = TopRow; r < Row; ++r) top += RowHeight(r);
    width = ColWidth(Col);
    height = RowHeight(Row);
}

int FlexGrid::CellLeft() const {
    int l, t, w, h;
    CellRect(l, t, w, h);
    return l;
}
int FlexGrid::CellTop() const {
    int l, t, w, h;
    CellRect(l, t, w, h);
    return t;
}
int FlexGrid::CellWidth() const {
    int l, t, w, h;
    CellRect(l, t, w, h);
    return w;
}
int FlexGrid::CellHeight() const {
    int l, t, w, h;
    CellRect(l, t, w, h);
    return h;
}

std::int32_t FlexGrid::CellForeColor(int r, int c) const {
    return InRange(r, c) ? cells_[static_cast<size_t>(r) * shapeCols_ + c].fore : -1;
}
std::int32_t FlexGrid::CellBackColor(int r, int c) const {
    return InRange(r, c) ? cells_[static_cast<size_t>(r) * shapeCols_ + c].back : -1;
}
int FlexGrid::CellAlignment(int r, int c) const {
    return InRange(r, c) ? cells_[static_cast<size_t>(r) * shapeCols_ + c].align : 0;
}
bool FlexGrid::CellFontBold(int r, int c) const {
    return InRange(r, c) && cells_[static_cast<size_t>(r) * shapeCols_ + c].bold;
}

void FlexGrid::SetCellForeColor(int r, int c, std::int32_t colour) {
    if (!InRange(r, c)) return;
    cells_[static_cast<size_t>(r) * shapeCols_ + c].fore = colour;
    Control::Changed(PropId::GridCellStyle, r, c);
}
void FlexGrid::SetCellBackColor(int r, int c, std::int32_t colour) {
    if (!InRange(r, c)) return;
    cells_[static_cast<size_t>(r) * shapeCols_ + c].back = colour;
    Control::Changed(PropId::GridCellStyle, r, c);
}
void FlexGrid::SetCellAlignment(int r, int c, int alignment) {
    if (!InRange(r, c)) return;
    cells_[static_cast<size_t>(r) * shapeCols_ + c].align = alignment;
    Control::Changed(PropId::GridCellStyle, r, c);
}
void FlexGrid::SetCellFontBold(int r, int c, bool bold) {
    if (!InRange(r, c)) return;
    cells_[static_cast<size_t>(r) * shapeCols_ + c].bold = bold;
    Control::Changed(PropId::GridCellStyle, r, c);
}

void FlexGrid::Changed(PropId id, int a, int b) {
    if (id == PropId::GridShape) Reshape();
    Control::Changed(id, a, b);
}

// ------------------------------------------------------------ RichTextBox

RichTextBox::RichTextBox(Form& f, std::string n, int l, int t, int w, int h)
    : Control(f, std::move(n), ControlKind::RichTextBox, l, t, w, h) {
    FontName.SetQuietly("Courier New");
    FontSize.SetQuietly(9.75);
}

// -------------------------------------------------------------- StatusBar

StatusBar::StatusBar(Form& f, std::string n, int panels)
    : Control(f, std::move(n), ControlKind::StatusBar), panels_(static_cast<size_t>(panels)) {}

std::string StatusBar::Panel(int i) const {
    return i >= 1 && i <= PanelCount() ? panels_[static_cast<size_t>(i - 1)] : std::string();
}

void StatusBar::SetPanel(int i, const std::string& text) {
    if (i < 1 || i > PanelCount()) return;
    panels_[static_cast<size_t>(i - 1)] = text;
    Control::Changed(PropId::PanelText, i, 0);
}

// ------------------------------------------------------------------- Menu

Menu::Menu(Form& f, std::string n, std::string caption, Menu* p, std::string sc, bool visible)
    : Control(f, std::move(n), ControlKind::Menu),
      Caption(this, PropId::Caption, std::move(caption)),
      parent(p),
      shortcut(std::move(sc)) {
    Visible.SetQuietly(visible);
    if (parent) parent->children_.push_back(this);
}

// ------------------------------------------------------------- PictureBox

PictureBox::PictureBox(Form& f, std::string n, int l, int t, int w, int h)
    : Control(f, std::move(n), ControlKind::PictureBox, l, t, w, h), ScaleWidth(w), ScaleHeight(h) {}

void PictureBox::Scale(double x1, double y1, double x2, double y2) {
    ScaleLeft = x1;
    ScaleTop = y1;
    ScaleWidth = x2 - x1;
    ScaleHeight = y2 - y1;
}

std::int32_t PictureBox::Colour(std::int32_t c) const { return c >= 0 ? c : ForeColor() < 0 ? 0 : ForeColor(); }

void PictureBox::Add(DrawOp op) {
    op.drawStyle = static_cast<std::uint8_t>(DrawStyle);
    op.drawWidth = static_cast<std::uint16_t>(std::clamp(DrawWidth(), 0, 65535));
    op.fillStyle = static_cast<std::uint8_t>(FillStyle);
    op.fillColour = FillColor;
    ops_.push_back(op);
    Control::Changed(PropId::Canvas);
}

void PictureBox::Cls() {
    ops_.clear();
    // Fixed-line names stay; Print texts go with their operations.
    std::vector<std::string> names;
    for (const DrawOp& f : fixed_) names.push_back(TextOf(f));
    texts_ = std::move(names);
    for (std::size_t i = 0; i < fixed_.size(); ++i) fixed_[i].text = static_cast<std::uint32_t>(i + 1);
    ++clears_;
    CurrentX = ScaleLeft;
    CurrentY = ScaleTop;
    Control::Changed(PropId::Canvas);
}

void PictureBox::PSet(double x, double y, std::int32_t colour) {
    Add(MakeOp(DrawOp::PSet, x, y, x, y, 0, Colour(colour)));
    CurrentX = x;
    CurrentY = y;
}

void PictureBox::Line(double x1, double y1, double x2, double y2, std::int32_t colour, bool box,
                      bool filled) {
    DrawOp::Kind k = box ? (filled ? DrawOp::FilledBox : DrawOp::Box) : DrawOp::Line;
    Add(MakeOp(k, x1, y1, x2, y2, 0, Colour(colour)));
    CurrentX = x2;
    CurrentY = y2;
}

void PictureBox::LineTo(double x2, double y2, std::int32_t colour) {
    Line(CurrentX, CurrentY, x2, y2, colour);
}

void PictureBox::Circle(double x, double y, double r, std::int32_t colour) {
    Add(MakeOp(DrawOp::Circle, x, y, x, y, r, Colour(colour)));
    CurrentX = x;
    CurrentY = y;
}

void PictureBox::Print(const std::string& text) {
    DrawOp op = MakeOp(DrawOp::Text, CurrentX, CurrentY, CurrentX, CurrentY, 0, Colour(-1));
    texts_.push_back(text);
    op.text = static_cast<std::uint32_t>(texts_.size());
    Add(op);
}

void PictureBox::AddFixedLine(const std::string& lineName, double x1, double y1, double x2,
                              double y2, std::int32_t colour) {
    DrawOp op = MakeOp(DrawOp::Line, x1, y1, x2, y2, 0, colour);
    texts_.push_back(lineName);
    op.text = static_cast<std::uint32_t>(texts_.size());
    fixed_.push_back(op);
    Control::Changed(PropId::Canvas);
}

const std::string& PictureBox::TextOf(const DrawOp& op) const {
    static const std::string none;
    return op.text >= 1 && op.text <= texts_.size() ? texts_[op.text - 1] : none;
}

namespace {
std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

// A palette colour by its number ("q12"), any other by its BGR value.
std::string ColourText(std::int32_t c) {
    for (int n = 0; n < 16; ++n)
        if (QBColor(n) == c) return "q" + std::to_string(n);
    char buf[16];
    std::snprintf(buf, sizeof buf, "&H%06X", static_cast<unsigned>(c));
    return buf;
}
}  // namespace

std::string DisplayListText(const PictureBox& box) {
    std::string out;
    for (const DrawOp& op : box.FixedLines())
        out += "fixed " + box.TextOf(op) + " " + Num(op.x1) + " " + Num(op.y1) + " " + Num(op.x2) + " " +
               Num(op.y2) + " " + ColourText(op.colour) + "\n";
    for (const DrawOp& op : box.DisplayList()) {
        std::string pen = " " + ColourText(op.colour) + " style " + std::to_string(op.drawStyle);
        switch (op.kind) {
            case DrawOp::Cls: out += "cls\n"; break;
            case DrawOp::PSet: out += "pset " + Num(op.x1) + " " + Num(op.y1) + pen + "\n"; break;
            case DrawOp::Line:
            case DrawOp::Box:
            case DrawOp::FilledBox:
                out += std::string(op.kind == DrawOp::Line ? "line " : op.kind == DrawOp::Box ? "box " : "fbox ") +
                       Num(op.x1) + " " + Num(op.y1) + " " + Num(op.x2) + " " + Num(op.y2) + pen + "\n";
                break;
            case DrawOp::Circle:
                out += "circle " + Num(op.x1) + " " + Num(op.y1) + " r " + Num(op.r) + pen +
                       (op.fillStyle == 0 ? " fill " + ColourText(op.fillColour) : std::string()) + "\n";
                break;
            case DrawOp::Text: out += "text " + Num(op.x1) + " " + Num(op.y1) + " " + box.TextOf(op) + "\n"; break;
        }
    }
    return out;
}

// ----------------------------------------------------------- CommonDialog

bool CommonDialog::ShowOpen() { return form.ui.backend.FileDialog(*this, false); }
bool CommonDialog::ShowSave() { return form.ui.backend.FileDialog(*this, true); }

// ------------------------------------------------------------------- Form

Form::Form(Ui& u, std::string n, std::string caption, FormKind k, int clientWidth,
           int clientHeight)
    : ui(u),
      name(std::move(n)),
      kind(k),
      Caption(this, PropId::Caption, std::move(caption)),
      Width(this, PropId::Geometry, clientWidth + kBorderWidth),
      Height(this, PropId::Geometry, clientHeight + kBorderHeight) {}

Form::~Form() = default;

int Form::ScaleWidth() const { return std::max(0, Width() - kBorderWidth); }
int Form::ScaleHeight() const { return std::max(0, Height() - kBorderHeight); }

void Form::Register(Control* c) { controls_.push_back(c); }

void Form::Unregister(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

Control* Form::FirstInTabOrder() const {
    Control* best = nullptr;
    for (Control* c : controls_) {
        switch (c->kind) {
            case ControlKind::Label:
            case ControlKind::Frame:
            case ControlKind::Image:
            case ControlKind::StatusBar:
            case ControlKind::Menu:
            case ControlKind::CommonDialog: continue;
            default: break;
        }
        bool usable = c->Enabled && c->Visible;
        for (const Control* k = c->container; usable && k; k = k->container)
            usable = k->Enabled && k->Visible;
        if (usable && (!best || c->TabIndex < best->TabIndex)) best = c;
    }
    return best;
}

Control* Form::FindControl(std::string_view controlName) const {
    for (Control* c : controls_)
        if (c->name == controlName) return c;
    return nullptr;
}

std::vector<Menu*> Form::TopMenus() const {
    std::vector<Menu*> out;
    for (Control* c : controls_)
        if (c->kind == ControlKind::Menu && !static_cast<Menu*>(c)->parent)
            out.push_back(static_cast<Menu*>(c));
    return out;
}

void Form::Changed(PropId id, int a, int) {
    if (!unloaded_) ui.backend.FormChangedWith(*this, id, a);
}

void Form::LoadNow() {
    if (loadedFired_) return;
    loadedFired_ = true;
    ui.forms.Adopt(*this);
    ui.backend.FormLoaded(*this);
    Form_Load();
}

void Form::Show(int modal) {
    if (unloaded_) return;
    ui.forms.Adopt(*this);
    bool wasVisible = visible_;
    visible_ = true;
    if (!wasVisible) {
        ui.backend.FormShown(*this);
        if (Control* first = FirstInTabOrder()) ui.backend.SetFocus(first, this);
    }
    Form_Activate();
    if (modal) ui.backend.RunModal(*this);
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (!unloaded_) ui.backend.FormHidden(*this);
}

bool Form::Unload() { return UnloadWithMode(vbFormCode); }

bool Form::RequestClose() { return UnloadWithMode(vbFormControlMenu); }

bool Form::UnloadWithMode(int mode) {
    if (unloaded_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    visible_ = false;
    unloaded_ = true;
    ui.backend.FormUnloaded(*this);
    ui.forms.Retire(*this);
    return true;
}

void Form::SetFocus() { ui.backend.SetFocus(nullptr, this); }

void Form::ZOrder(int position) {
    if (!unloaded_) ui.backend.FormZOrder(*this, position == 1 ? 1 : 0);
}

void Form::Move(int left, int top, int width, int height) {
    Left.SetQuietly(left);
    Top.SetQuietly(top);
    if (width >= 0) Width.SetQuietly(width);
    if (height >= 0) Height.SetQuietly(height);
    Changed(PropId::Geometry);
}

void Form::Resize(int width, int height) {
    Width.SetQuietly(width);
    Height.SetQuietly(height);
    Form_Resize();
}

// -------------------------------------------------------------- FormTable

FormTable::~FormTable() { Clear(); }

void FormTable::Add(std::unique_ptr<Form> form) { live_.push_back(std::move(form)); }

void FormTable::OpenInputScope() {
    ++scopeSerial_;
    scopeOpen_ = true;
    InputChanged();
}

void FormTable::CloseInputScope() {
    if (!scopeOpen_) return;
    scopeOpen_ = false;
    InputChanged();
}

void FormTable::Adopt(Form& form) {
    if (!scopeOpen_ || form.scope_ == scopeSerial_) return;
    form.scope_ = scopeSerial_;
    InputChanged();
}

bool FormTable::InScope(const Form& form) const { return !scopeOpen_ || form.scope_ == scopeSerial_; }

Form* FormTable::MdiParent() const {
    for (const auto& f : live_)
        if (f->kind == FormKind::MdiParent) return f.get();
    return nullptr;
}

NoInput Form::WhyNoInput() const {
    if (!Enabled) return NoInput::Disabled;
    if (kind == FormKind::MdiParent) return NoInput::None;
    if (kind == FormKind::MdiChild)
        if (const Form* parent = ui.forms.MdiParent(); parent && !parent->Enabled) return NoInput::MainWindowDisabled;
    return ui.forms.InScope(*this) ? NoInput::None : NoInput::OtherTask;
}

Form* FormTable::Find(std::string_view name) const {
    for (const auto& f : live_)
        if (f->name == name) return f.get();
    return nullptr;
}

std::vector<Form*> FormTable::Loaded() const {
    std::vector<Form*> out;
    for (const auto& f : live_) out.push_back(f.get());
    return out;
}

void FormTable::Retire(Form& form) {
    for (auto it = live_.begin(); it != live_.end(); ++it) {
        if (it->get() == &form) {
            retired_.push_back(std::move(*it));
            live_.erase(it);
            break;
        }
    }
}

void FormTable::ReleaseUnloaded() { retired_.clear(); }

void FormTable::Clear() {
    retired_.clear();
    // Free in reverse load order; controls unregister from their own form only.
    while (!live_.empty()) live_.pop_back();
}

}  // namespace platform
