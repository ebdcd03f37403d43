#include "platform/qt/FormView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/Canvas.h"
#include "platform/qt/Convert.h"
#include "platform/qt/QtBackend.h"

namespace platform::qt {

// A status bar's panels side by side. Where the bar has room for every text,
// each panel is as wide as its text and the room left is shared evenly;
// where it has not, the texts that fit an even share show whole and the
// others share what is left.
class PanelRow : public QWidget {
public:
    explicit PanelRow(QWidget* parent) : QWidget(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    std::vector<QLabel*> labels;

    QSize sizeHint() const override { return {0, labels.empty() ? 0 : labels.front()->sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    void Arrange() {
        const int n = static_cast<int>(labels.size());
        if (n == 0) return;
        constexpr int kGap = 2;
        std::vector<int> need(static_cast<size_t>(n)), width(static_cast<size_t>(n), -1);
        for (size_t i = 0; i < need.size(); ++i) need[i] = labels[i]->sizeHint().width();
        int left = std::max(0, this->width() - kGap * (n - 1)), open = n;
        for (bool more = true; more && open > 0;) {
            more = false;
            const int share = left / open;
            for (size_t i = 0; i < need.size(); ++i)
                if (width[i] < 0 && need[i] <= share) {
                    width[i] = need[i];
                    left -= need[i];
                    --open;
                    more = true;
                }
        }
        // The room left goes evenly to the panels still open, or to all.
        const int among = open > 0 ? open : n;
        int x = 0, k = 0;
        for (size_t i = 0; i < need.size(); ++i) {
            if (open > 0 && width[i] >= 0) {
                labels[i]->setGeometry(x, 0, width[i], height());
            } else {
                const int extra = left / among + (++k == among ? left % among : 0);
                labels[i]->setGeometry(x, 0, std::max(0, width[i]) + extra, height());
            }
            x += labels[i]->width() + kGap;
        }
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Arrange();
    }
};

namespace {

// Outer size of a window around its client area, in twips (Form's allowances).
constexpr int kBorderWidth = 120;
constexpr int kBorderHeight = 405;

struct Guard {
    int& n;
    explicit Guard(int& counter) : n(counter) { ++n; }
    ~Guard() { --n; }
};

int ShiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

int ButtonCode(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

Qt::Alignment GridAlignment(int align, const std::string& text) {
    if (align >= 1 && align <= 2) return Qt::AlignLeft | Qt::AlignVCenter;
    if (align >= 3 && align <= 5) return Qt::AlignHCenter | Qt::AlignVCenter;
    if (align >= 6 && align <= 8) return Qt::AlignRight | Qt::AlignVCenter;
    bool number = false;
    ToQt(text).trimmed().toDouble(&number);
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// Grid cells with the narrow text margins of the classic grid, so a column
// made for its heading shows all of it.
class GridCells : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* st = w ? w->style() : QApplication::style();
        st->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        const bool selected = opt.state & QStyle::State_Selected;
        p->save();
        p->setClipRect(opt.rect);
        p->setFont(opt.font);
        p->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(opt.rect.adjusted(2, 0, -2, 0), static_cast<int>(opt.displayAlignment) | Qt::TextSingleLine,
                    text);
        p->restore();
    }
};

bool HasCaption(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::CheckBox || k == ControlKind::OptionButton ||
           k == ControlKind::Frame || k == ControlKind::CommandButton;
}

// Whether a caption fits the control's rectangle when drawn in the font.
bool CaptionFits(const Control& c, const QWidget* w, const QFont& font) {
    const int width = std::max(0, Px(c.Width)), height = std::max(0, Px(c.Height));
    const QFontMetrics fm(font);
    switch (c.kind) {
        case ControlKind::Label: {
            QString text = LabelText(c.ShownText());
            if (text.trimmed().isEmpty()) return true;
            int flags = Qt::AlignLeft | Qt::AlignTop;
            if (static_cast<const Label&>(c).WordWrap) flags |= Qt::TextWordWrap;
            // Two pixels to spare: neighbours often overlap a label's last twips.
            const int room = std::max(1, width - 2);
            QRect r = fm.boundingRect(QRect(0, 0, room, 1 << 20), flags, text);
            return r.width() <= room && r.height() <= std::max(height, fm.height());
        }
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            QString text = WithoutMnemonic(ToQt(c.ShownText()));
            if (text.isEmpty()) return true;
            bool check = c.kind == ControlKind::CheckBox;
            QStyle* st = w->style();
            int box = st->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth,
                                      nullptr, w) +
                      st->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing,
                                      nullptr, w);
            return box + fm.horizontalAdvance(text) + 2 <= width;
        }
        case ControlKind::Frame: {
            QString text = WithoutMnemonic(ToQt(c.ShownText()));
            return text.isEmpty() || fm.horizontalAdvance(text) + 4 + 2 * fm.averageCharWidth() <= width;
        }
        case ControlKind::CommandButton: {
            QString text = WithoutMnemonic(ToQtLines(c.ShownText()));
            if (text.trimmed().isEmpty()) return true;
            int room = std::max(0, width - 8), rows = std::max(0, height - 4);
            QRect r = fm.boundingRect(QRect(0, 0, room, 1 << 20), Qt::AlignCenter | Qt::TextWordWrap, text);
            return r.width() <= room && r.height() <= std::max(rows, fm.height());
        }
        default: return true;
    }
}

// The control's font, stepped down by half points (not below 6.5 pt) until
// its caption fits the rectangle the layout gave it; the substitute sans
// fonts run wider than the one the layouts were made for.
QFont FittedFont(const Control& c, const QWidget* w) {
    QFont font = FontFor(c.FontName, c.FontSize, c.FontBold, c.FontItalic);
    if (!HasCaption(c.kind)) return font;
    constexpr double kFloor = 6.5;
    double size = font.pointSizeF();
    if (size <= 0) return font;
    while (size > kFloor && !CaptionFits(c, w, font)) {
        size = std::max(kFloor, size - 0.5);
        font.setPointSizeF(size);
    }
    return font;
}

// A menu's caption without its access key: a hidden or disabled menu must
// not take the key from the controls ("&&" stays a literal ampersand).
QString WithoutAccessKey(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) out += s[i++];
            else continue;
        }
        out += s[i];
    }
    return out;
}

// Positions in a text box: bytes of its text (CR LF line ends) against
// characters of the widget's text.
int WidgetPos(const std::string& text, int pos, bool lines) {
    std::string head = text.substr(0, static_cast<std::size_t>(std::clamp<int>(pos, 0, static_cast<int>(text.size()))));
    return static_cast<int>((lines ? ToQtLines(head) : ToQt(head)).size());
}
int ModelPos(const QString& text, int pos, bool lines) {
    QString head = text.left(pos);
    return static_cast<int>((lines ? FromQtLines(head) : FromQt(head)).size());
}

bool IsEditPane(const QWidget* w) {
    return qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QComboBox*>(w);
}

}  // namespace

// ---------------------------------------------------------------- windows

int TitleWidth(const QWidget& w, const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int bar = std::max(16, w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w));
    return QFontMetrics(font).horizontalAdvance(title) + 5 * bar;
}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    QString caption = opt.text;
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
    // Keep the caption off the button's edges (the fitted font assumes this room).
    QRect r = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this) & rect().adjusted(4, 2, -4, -2);
    if (isDown()) r.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this),
                              style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this));
    style()->drawItemText(&p, r, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(),
                          isEnabled(), caption, QPalette::ButtonText);
}

void CaptionFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const QString caption = WithoutMnemonic(title());
    const int top = caption.isEmpty() ? 0 : fm.height() / 2;
    const QRect box(0, top, width() - 1, height() - top - 1);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.translated(1, 1).adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (caption.isEmpty()) return;
    const int left = std::max(0, std::min(fm.averageCharWidth(), width() / 8));
    QRect text(left, 0, std::min(fm.horizontalAdvance(caption) + 4, std::max(0, width() - 2 * left)), fm.height());
    p.fillRect(text, palette().color(backgroundRole()));
    style()->drawItemText(&p, text, Qt::AlignCenter | Qt::TextSingleLine, palette(), isEnabled(), caption,
                          QPalette::WindowText);
}

namespace {
// The header that shows a grid's fixed row: exactly as high as a row, so the
// rows begin right under it.
class GridHeading : public QHeaderView {
public:
    explicit GridHeading(QTableView* table) : QHeaderView(Qt::Horizontal, table), table_(table) {}
    QSize sizeHint() const override {
        return {QHeaderView::sizeHint().width(), table_->verticalHeader()->defaultSectionSize()};
    }

private:
    QTableView* table_;
};
}  // namespace

GridTable::GridTable(QWidget* parent) : QTableWidget(parent) { setHorizontalHeader(new GridHeading(this)); }

void TopWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (view) view->UserClose();
}

void TopWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (view) view->UserMoved();
}

void TopWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && view) view->UserStateChanged(windowState());
}

void SubWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (view) view->UserClose();
}

void SubWindow::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    if (view) view->UserMoved();
}

// ------------------------------------------------------------------- view

FormView::FormView(QtBackend& b, Form& f, QMdiArea* mdiArea) : backend(b), form(&f), name(f.name) {
    body = new QWidget;
    bodyLayout_ = new QVBoxLayout(body);
    bodyLayout_->setContentsMargins(0, 0, 0, 0);
    bodyLayout_->setSpacing(0);
    if (f.kind == FormKind::MdiParent) {
        mdi = new QMdiArea(body);
        mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        // A child window opens in its own state, whatever the last active one was in.
        mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
        bodyLayout_->addWidget(mdi, 1);
    } else {
        client = new QWidget(body);
        bodyLayout_->addWidget(client, 1);
    }
    if (f.kind == FormKind::MdiChild && mdiArea) {
        sub = new SubWindow(*this);
        sub->setWidget(body);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        mdiArea->addSubWindow(sub);
        sub->hide();
        setParent(sub);
        connect(sub, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates, Qt::WindowStates now) { UserStateChanged(now); });
    } else {
        top = new TopWindow(*this);
        top->setCentralWidget(body);
        setParent(top);
    }
    body->installEventFilter(this);
    if (client) {
        client->installEventFilter(this);
        client->setMouseTracking(true);
    }
}

QWidget* FormView::Window() const {
    return sub ? static_cast<QWidget*>(sub) : static_cast<QWidget*>(top);
}

QWidget* FormView::WidgetOf(const Control& c) const {
    auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* FormView::ActionOf(const Menu& m) const {
    auto it = actions_.find(&m);
    return it == actions_.end() ? nullptr : it->second;
}

std::vector<QAction*> FormView::TopActions() const {
    std::vector<QAction*> out;
    for (Menu* m : topMenus_)
        if (QAction* a = ActionOf(*m)) out.push_back(a);
    return out;
}

bool FormView::Owns(const Control* c) const {
    if (!form) return false;
    const auto& all = form->Controls();
    return std::find(all.begin(), all.end(), c) != all.end();
}

template <class Fn>
void FormView::Deliver(Control* c, Fn&& fn) {
    if (!form || (c && (!Owns(c) || !form->AcceptsInput()))) return;
    backend.Deliver(std::function<void()>(std::forward<Fn>(fn)));
}

// ------------------------------------------------------------------ build

void FormView::Build() {
    for (Control* c : form->Controls()) Ensure(*c);
    for (Control* c : form->Controls())
        if (c->kind == ControlKind::Menu && !static_cast<Menu*>(c)->parent) {
            topMenus_.push_back(static_cast<Menu*>(c));
            BuildMenu(*static_cast<Menu*>(c));
        }
    if (top && !topMenus_.empty() && form->kind != FormKind::MdiParent)
        for (QAction* a : TopActions()) top->menuBar()->addAction(a);
    if (form->kind == FormKind::MdiParent) top->menuBar();
    // The bottom status bar carries the size grip of a top-level window.
    QStatusBar* last = nullptr;
    for (auto& [c, w] : widgets_)
        if (auto* s = qobject_cast<QStatusBar*>(w)) {
            s->setSizeGripEnabled(false);
            if (!last || bodyLayout_->indexOf(s) > bodyLayout_->indexOf(last)) last = s;
        }
    if (last && top) last->setSizeGripEnabled(true);
    SyncForm(PropId::Caption, 0);
    SyncForm(PropId::Colour, 0);
    ApplyGeometry();
}

QWidget* FormView::Ensure(Control& c) {
    if (QWidget* w = WidgetOf(c)) return w;
    if (c.kind == ControlKind::Menu || c.kind == ControlKind::CommonDialog) return nullptr;
    QWidget* parent = client ? client : body;
    if (c.container && c.container != &c)
        if (QWidget* p = Ensure(*c.container)) parent = p;
    QWidget* w = Create(c, parent);
    if (!w) return nullptr;
    widgets_[&c] = w;
    owners_[w] = &c;
    w->installEventFilter(this);
    SyncAll(c);
    return w;
}

QWidget* FormView::Create(Control& c, QWidget* parent) {
    Control* cp = &c;
    // A text pane's edits: the text follows quietly, then Change.
    auto watchPane = [this, cp](QPlainTextEdit* w, Prop<std::string>& text) {
        conns_.push_back(connect(w, &QPlainTextEdit::textChanged, this, [this, cp, w, &text] {
            if (syncing_) return;
            std::string now = FromQtLines(w->toPlainText());
            shown_[cp] = now;
            Deliver(cp, [cp, &text, now] {
                text.SetQuietly(now);
                if (cp->OnChange) cp->OnChange();
            });
        }));
    };
    switch (c.kind) {
        case ControlKind::CommandButton: {
            auto* w = new WrapButton(parent);
            w->setAutoDefault(false);
            conns_.push_back(connect(w, &QPushButton::clicked, this, [this, cp] {
                Deliver(cp, [cp] { UserClick(*cp); });
            }));
            return w;
        }
        case ControlKind::TextBox: {
            auto& tb = static_cast<TextBox&>(c);
            if (!tb.MultiLine) {
                auto* w = new QLineEdit(parent);
                if (tb.MaxLength > 0) w->setMaxLength(tb.MaxLength);
                conns_.push_back(connect(w, &QLineEdit::textEdited, this, [this, cp](const QString& t) {
                    Deliver(cp, [cp, t] {
                        auto& box = static_cast<TextBox&>(*cp);
                        box.Text.SetQuietly(FromQt(t));
                        if (box.OnChange) box.OnChange();
                    });
                }));
                auto selection = [this, cp, w] {
                    if (syncing_ || !Owns(cp)) return;
                    const QString t = w->text();
                    int start = w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
                    int end = w->hasSelectedText() ? w->selectionEnd() : start;
                    auto& box = static_cast<TextBox&>(*cp);
                    box.SelStart.SetQuietly(ModelPos(t, start, false));
                    box.SelLength.SetQuietly(ModelPos(t, end, false) - box.SelStart);
                };
                conns_.push_back(connect(w, &QLineEdit::selectionChanged, this, selection));
                conns_.push_back(connect(w, &QLineEdit::cursorPositionChanged, this, selection));
                return w;
            }
            auto* w = new QPlainTextEdit(parent);
            w->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            watchPane(w, tb.Text);
            auto selection = [this, cp, w] {
                if (syncing_ || !Owns(cp)) return;
                const QTextCursor cur = w->textCursor();
                const QString t = w->toPlainText();
                auto& box = static_cast<TextBox&>(*cp);
                box.SelStart.SetQuietly(ModelPos(t, cur.selectionStart(), true));
                box.SelLength.SetQuietly(ModelPos(t, cur.selectionEnd(), true) - box.SelStart);
            };
            conns_.push_back(connect(w, &QPlainTextEdit::cursorPositionChanged, this, selection));
            conns_.push_back(connect(w, &QPlainTextEdit::selectionChanged, this, selection));
            // Clicks land on the pane's viewport.
            owners_[w->viewport()] = cp;
            w->viewport()->installEventFilter(this);
            return w;
        }
        case ControlKind::RichTextBox: {
            auto* w = new QPlainTextEdit(parent);
            w->setLineWrapMode(QPlainTextEdit::NoWrap);
            w->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            watchPane(w, static_cast<RichTextBox&>(c).Text);
            return w;
        }
        case ControlKind::Label: {
            auto* w = new QLabel(parent);
            w->setTextFormat(Qt::PlainText);
            return w;
        }
        case ControlKind::Frame: return new CaptionFrame(parent);
        case ControlKind::Image: return new QLabel(parent);
        case ControlKind::CheckBox: {
            auto* w = new QCheckBox(parent);
            conns_.push_back(connect(w, &QCheckBox::clicked, this, [this, cp] {
                Deliver(cp, [cp] { UserClick(*cp); });
                if (Owns(cp)) SyncValue(*cp);
            }));
            return w;
        }
        case ControlKind::OptionButton: {
            auto* w = new QRadioButton(parent);
            w->setAutoExclusive(false);
            conns_.push_back(connect(w, &QRadioButton::clicked, this, [this, cp] {
                Deliver(cp, [cp] { UserClick(*cp); });
                if (Owns(cp)) SyncValue(*cp);
            }));
            return w;
        }
        case ControlKind::ComboBox: {
            auto* w = new QComboBox(parent);
            w->setEditable(true);
            w->setInsertPolicy(QComboBox::NoInsert);
            // What the user types stays as typed: no completion from the list.
            w->setCompleter(nullptr);
            w->setMaxVisibleItems(12);
            conns_.push_back(connect(w, &QComboBox::activated, this, [this, cp](int i) {
                Deliver(cp, [cp, i] { UserSetValue(*cp, i); });
                if (Owns(cp)) SyncList(static_cast<ListControl&>(*cp));
            }));
            conns_.push_back(connect(w->lineEdit(), &QLineEdit::textEdited, this, [this, cp](const QString& t) {
                Deliver(cp, [cp, t] {
                    auto& l = static_cast<ListControl&>(*cp);
                    l.Text.SetQuietly(FromQt(t));
                    if (l.OnChange) l.OnChange();
                });
            }));
            return w;
        }
        case ControlKind::ListBox: {
            auto* w = new QListWidget(parent);
            conns_.push_back(connect(w, &QListWidget::currentRowChanged, this, [this, cp](int i) {
                if (syncing_ || i < 0) return;
                Deliver(cp, [cp, i] { UserSetValue(*cp, i); });
                if (Owns(cp)) SyncList(static_cast<ListControl&>(*cp));
            }));
            conns_.push_back(connect(w, &QListWidget::itemDoubleClicked, this, [this, cp] {
                Deliver(cp, [cp] { cp->DblClick(); });
            }));
            return w;
        }
        case ControlKind::FlexGrid: {
            auto* w = new GridTable(parent);
            w->horizontalHeader()->hide();
            // A single fixed row is shown as the header, which stays in view.
            w->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            w->horizontalHeader()->setSectionsClickable(false);
            w->horizontalHeader()->setHighlightSections(false);
            w->horizontalHeader()->setMinimumSectionSize(1);
            w->horizontalHeader()->viewport()->setMouseTracking(true);
            w->horizontalHeader()->viewport()->installEventFilter(this);
            owners_[w->horizontalHeader()->viewport()] = cp;
            w->verticalHeader()->hide();
            w->setEditTriggers(QAbstractItemView::NoEditTriggers);
            w->setSelectionMode(QAbstractItemView::SingleSelection);
            w->setWordWrap(false);
            w->setItemDelegate(new GridCells(w));
            w->verticalHeader()->setMinimumSectionSize(1);
            w->horizontalHeader()->setMinimumSectionSize(1);
            w->viewport()->setMouseTracking(true);
            w->viewport()->installEventFilter(this);
            owners_[w->viewport()] = cp;
            auto click = [this, cp](int r, int col, bool dbl) { GridClick(*cp, r, col, dbl); };
            conns_.push_back(connect(w, &QTableWidget::cellClicked, this,
                                     [click](int r, int c) { click(r, c, false); }));
            conns_.push_back(connect(w, &QTableWidget::cellDoubleClicked, this,
                                     [click](int r, int c) { click(r, c, true); }));
            conns_.push_back(connect(w, &QTableWidget::currentCellChanged, this, [this, cp](int r, int c) {
                if (syncing_ || !Owns(cp)) return;
                auto& g = static_cast<FlexGrid&>(*cp);
                if (r >= g.FixedRows && c >= g.FixedCols) {
                    g.Row.SetQuietly(r);
                    g.Col.SetQuietly(c);
                }
            }));
            conns_.push_back(connect(w->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, cp](int v) {
                if (syncing_ || !Owns(cp)) return;
                auto& g = static_cast<FlexGrid&>(*cp);
                g.TopRow.SetQuietly(v + g.FixedRows);
            }));
            conns_.push_back(connect(w->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this, cp](int v) {
                if (syncing_ || !Owns(cp)) return;
                auto& g = static_cast<FlexGrid&>(*cp);
                g.LeftCol.SetQuietly(v + g.FixedCols);
            }));
            return w;
        }
        case ControlKind::StatusBar: {
            auto* w = new QStatusBar(body);
            bodyLayout_->addWidget(w);
            return w;
        }
        case ControlKind::PictureBox: {
            auto* w = new Canvas(static_cast<PictureBox&>(c), parent);
            w->onMouse = [this, cp](int kind, int button, int shift, double x, double y) {
                Deliver(cp, [cp, kind, button, shift, x, y] {
                    auto& h = kind == 0 ? cp->OnMouseDown : kind == 1 ? cp->OnMouseUp : cp->OnMouseMove;
                    if (h) h(button, shift, x, y);
                });
            };
            w->onClick = [this, cp] { Deliver(cp, [cp] { UserClick(*cp); }); };
            w->onDblClick = [this, cp] { Deliver(cp, [cp] { cp->DblClick(); }); };
            return w;
        }
        case ControlKind::Menu:
        case ControlKind::CommonDialog: return nullptr;
    }
    return nullptr;
}

void FormView::GridClick(Control& c, int r, int col, bool dbl) {
    Control* cp = &c;
    Deliver(cp, [cp, r, col, dbl] {
        auto& g = static_cast<FlexGrid&>(*cp);
        if (dbl) UserDblClickCell(g, r, col);
        else UserClickCell(g, r, col);
    });
    if (Owns(cp)) SyncGridCurrent(static_cast<FlexGrid&>(*cp));
}

QAction* FormView::BuildMenu(Menu& m) {
    Menu* mp = &m;
    QAction* act = nullptr;
    if (m.IsSeparator()) {
        act = new QAction(this);
        act->setSeparator(true);
    } else if (!m.Children().empty() || m.windowList) {
        auto* menu = new QMenu(ToQt(m.Caption), body);
        for (Menu* child : m.Children()) menu->addAction(BuildMenu(*child));
        act = menu->menuAction();
        conns_.push_back(connect(menu, &QMenu::aboutToShow, this, [this, mp, menu] {
            if (mp->OnClick) Deliver(mp, [mp] { UserClick(*mp); });
            if (Owns(mp) && mp->windowList) backend.FillWindowList(*menu);
        }));
    } else {
        act = new QAction(ToQt(m.Caption), this);
        if (!m.shortcut.empty()) act->setShortcut(QKeySequence(ToQt(m.shortcut)));
        conns_.push_back(connect(act, &QAction::triggered, this, [this, mp] {
            Deliver(mp, [mp] { UserClick(*mp); });
            if (Owns(mp)) SyncMenu(*mp);
        }));
    }
    actions_[&m] = act;
    owners_[act] = &m;
    SyncMenu(m);
    return act;
}

// ------------------------------------------------------------------- sync

void FormView::SyncMenu(const Menu& m) {
    QAction* act = ActionOf(m);
    if (!act) return;
    if (!m.IsSeparator()) {
        QString caption = ToQt(m.Caption);
        act->setText(m.Visible && m.Enabled ? caption : WithoutAccessKey(caption));
    }
    act->setEnabled(m.Enabled && m.form.AcceptsInput());
    act->setVisible(m.Visible);
    if (m.Checked || act->isCheckable()) {
        act->setCheckable(true);
        act->setChecked(m.Checked);
    }
}

void FormView::SyncAll(Control& c) {
    Guard g(syncing_);
    QWidget* w = WidgetOf(c);
    if (!w) return;
    Sync(c, PropId::Geometry, 0, 0);
    Sync(c, PropId::Font, 0, 0);
    Sync(c, PropId::Colour, 0, 0);
    Sync(c, PropId::ToolTip, 0, 0);
    Sync(c, PropId::Enabled, 0, 0);
    Sync(c, PropId::Caption, 0, 0);
    Sync(c, PropId::Locked, 0, 0);
    switch (c.kind) {
        case ControlKind::TextBox:
        case ControlKind::RichTextBox: SyncText(c); break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: SyncValue(c); break;
        case ControlKind::ComboBox:
        case ControlKind::ListBox: SyncList(static_cast<ListControl&>(c)); break;
        case ControlKind::FlexGrid: SyncGrid(static_cast<FlexGrid&>(c)); break;
        case ControlKind::StatusBar: SyncPanels(static_cast<StatusBar&>(c)); break;
        case ControlKind::Label: {
            auto& l = static_cast<Label&>(c);
            auto* q = static_cast<QLabel*>(w);
            q->setWordWrap(l.WordWrap);
            q->setAlignment((l.Alignment == 1 ? Qt::AlignRight : l.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignTop);
            break;
        }
        default: break;
    }
    if (!c.Visible) w->setVisible(false);
}

void FormView::Sync(Control& c, PropId prop, int a, int b) {
    if (c.kind == ControlKind::Menu) {
        SyncMenu(static_cast<Menu&>(c));
        return;
    }
    QWidget* w = WidgetOf(c);
    if (!w) {
        Ensure(c);   // a control added after the form loaded
        return;
    }
    Guard g(syncing_);
    switch (prop) {
        case PropId::Caption: {
            QString caption = ToQt(c.ShownText());
            if (auto* q = qobject_cast<QAbstractButton*>(w)) q->setText(caption);
            else if (auto* q = qobject_cast<QGroupBox*>(w)) q->setTitle(caption);
            else if (c.kind == ControlKind::Label)
                static_cast<QLabel*>(w)->setText(LabelText(c.ShownText()));
            if (HasCaption(c.kind))
                if (QFont f = FittedFont(c, w); f != w->font()) w->setFont(f);
            break;
        }
        case PropId::Text:
            if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListBox)
                SyncList(static_cast<ListControl&>(c));
            else SyncText(c);
            break;
        case PropId::Enabled: w->setEnabled(c.Enabled && form->AcceptsInput()); break;
        case PropId::Visible: w->setVisible(c.Visible); break;
        case PropId::Geometry:
            if (c.kind == ControlKind::StatusBar) break;
            w->setGeometry(Px(c.Left), Px(c.Top), std::max(0, Px(c.Width)), std::max(0, Px(c.Height)));
            if (HasCaption(c.kind))
                if (QFont f = FittedFont(c, w); f != w->font()) w->setFont(f);
            break;
        case PropId::ToolTip: w->setToolTip(ToQt(c.ToolTipText)); break;
        case PropId::Font:
            w->setFont(FittedFont(c, w));
            if (c.kind == ControlKind::FlexGrid) {
                auto* t = static_cast<QTableWidget*>(w);
                t->verticalHeader()->setDefaultSectionSize(std::max(Px(240), t->fontMetrics().height() + 2));
                t->horizontalHeader()->updateGeometry();
            }
            break;
        case PropId::Colour: SyncColours(c); break;
        case PropId::Value: SyncValue(c); break;
        case PropId::List:
        case PropId::ListIndex: SyncList(static_cast<ListControl&>(c)); break;
        case PropId::GridShape: SyncGrid(static_cast<FlexGrid&>(c)); break;
        case PropId::GridCell:
        case PropId::GridCellStyle: SyncCell(static_cast<FlexGrid&>(c), a, b); break;
        case PropId::GridColWidth:
            static_cast<QTableWidget*>(w)->setColumnWidth(a, Px(static_cast<FlexGrid&>(c).ColWidth(a)));
            break;
        case PropId::GridCurrent: SyncGridCurrent(static_cast<FlexGrid&>(c)); break;
        case PropId::PanelText: SyncPanels(static_cast<StatusBar&>(c)); break;
        case PropId::Canvas: w->update(); break;
        case PropId::Locked:
            if (auto* q = qobject_cast<QLineEdit*>(w)) q->setReadOnly(static_cast<TextBox&>(c).Locked);
            else if (auto* q = qobject_cast<QPlainTextEdit*>(w))
                q->setReadOnly(c.kind == ControlKind::TextBox ? static_cast<TextBox&>(c).Locked()
                                                               : static_cast<RichTextBox&>(c).Locked());
            break;
        case PropId::Selection: SyncSelection(c); break;
        case PropId::Checked:
        case PropId::RightMargin:
        case PropId::Arrange:
        case PropId::Other: break;
    }
}

void FormView::SyncText(Control& c) {
    QWidget* w = WidgetOf(c);
    const std::string& text = c.kind == ControlKind::TextBox ? static_cast<TextBox&>(c).Text()
                                                             : static_cast<RichTextBox&>(c).Text();
    Guard g(syncing_);
    if (auto* q = qobject_cast<QLineEdit*>(w)) {
        QString t = ToQt(text);
        if (q->text() != t) q->setText(t);
        if (c.kind == ControlKind::TextBox) SyncSelection(c);
        return;
    }
    auto* q = qobject_cast<QPlainTextEdit*>(w);
    if (!q) return;
    std::string& shown = shown_[&c];
    if (shown == text) return;
    QScrollBar* bar = q->verticalScrollBar();
    bool atEnd = bar->value() >= bar->maximum();
    if (!shown.empty() && text.size() > shown.size() && text.compare(0, shown.size(), shown) == 0 &&
        shown.back() != '\r') {
        // Appended text: add the tail only.
        QTextCursor cursor(q->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(ToQtLines(text.substr(shown.size())));
        if (atEnd) bar->setValue(bar->maximum());
    } else {
        q->setPlainText(ToQtLines(text));
    }
    shown = text;
}

void FormView::SyncSelection(Control& c) {
    if (c.kind != ControlKind::TextBox) return;
    auto& box = static_cast<TextBox&>(c);
    Guard g(syncing_);
    const std::string& text = box.Text();
    if (auto* q = qobject_cast<QLineEdit*>(WidgetOf(c))) {
        int start = WidgetPos(text, box.SelStart, false);
        int end = WidgetPos(text, box.SelStart + box.SelLength, false);
        if (end > start) q->setSelection(start, end - start);
        else q->setCursorPosition(start);
    } else if (auto* q = qobject_cast<QPlainTextEdit*>(WidgetOf(c))) {
        if (shown_[&c] != text) return;   // the text follows; its caret is placed then
        QTextCursor cur = q->textCursor();
        cur.setPosition(WidgetPos(text, box.SelStart, true));
        cur.setPosition(WidgetPos(text, box.SelStart + box.SelLength, true), QTextCursor::KeepAnchor);
        q->setTextCursor(cur);
    }
}

void FormView::SyncValue(Control& c) {
    Guard g(syncing_);
    if (c.kind == ControlKind::CheckBox) {
        auto* q = static_cast<QCheckBox*>(WidgetOf(c));
        int v = static_cast<CheckBox&>(c).Value;
        if (v == 2) q->setTristate(true);
        q->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    } else if (c.kind == ControlKind::OptionButton) {
        static_cast<QRadioButton*>(WidgetOf(c))->setChecked(static_cast<OptionButton&>(c).Value);
    }
}

void FormView::SyncList(ListControl& l) {
    Guard g(syncing_);
    QWidget* w = WidgetOf(l);
    QStringList items;
    for (const std::string& s : l.Items()) items << ToQt(s);
    if (auto* q = qobject_cast<QComboBox*>(w)) {
        QStringList now;
        for (int i = 0; i < q->count(); ++i) now << q->itemText(i);
        if (now != items) {
            q->clear();
            q->addItems(items);
        }
        if (q->currentIndex() != l.ListIndex) q->setCurrentIndex(l.ListIndex);
        if (q->currentText() != ToQt(l.Text)) q->setEditText(ToQt(l.Text));
    } else if (auto* q = qobject_cast<QListWidget*>(w)) {
        QStringList now;
        for (int i = 0; i < q->count(); ++i) now << q->item(i)->text();
        if (now != items) {
            q->clear();
            q->addItems(items);
        }
        if (q->currentRow() != l.ListIndex) q->setCurrentRow(l.ListIndex);
    }
}

void FormView::SyncGrid(FlexGrid& g) {
    auto* t = static_cast<GridTable*>(WidgetOf(g));
    Guard guard(syncing_);
    t->setRowCount(std::max(0, g.Rows()));
    t->setColumnCount(std::max(0, g.Cols()));
    const int frozen = g.FixedRows == 1 && g.Rows() >= 1 ? 1 : 0;
    if (t->frozenRows != frozen) {
        t->frozenRows = frozen;
        t->horizontalHeader()->setVisible(frozen);
        if (!frozen) t->setRowHidden(0, false);
    }
    if (frozen) t->setRowHidden(0, true);
    for (int c = 0; c < g.Cols(); ++c) t->setColumnWidth(c, Px(g.ColWidth(c)));
    for (int r = 0; r < g.Rows(); ++r)
        for (int c = 0; c < g.Cols(); ++c) SyncCell(g, r, c);
    int bars = g.ScrollBars;
    t->setHorizontalScrollBarPolicy(bars & 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(bars & 2 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    SyncGridCurrent(g);
}

void FormView::SyncCell(FlexGrid& g, int r, int c) {
    auto* t = static_cast<QTableWidget*>(WidgetOf(g));
    if (!g.InRange(r, c) || r >= t->rowCount() || c >= t->columnCount()) return;
    Guard guard(syncing_);
    QTableWidgetItem* item = t->item(r, c);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        t->setItem(r, c, item);
    }
    std::string text = g.TextMatrix(r, c);
    item->setText(ToQt(text));
    bool fixed = r < g.FixedRows || c < g.FixedCols;
    std::int32_t back = g.CellBackColor(r, c), fore = g.CellForeColor(r, c);
    if (back >= 0) item->setBackground(ToColor(back));
    else if (fixed) item->setBackground(t->palette().color(QPalette::Button));
    else item->setData(Qt::BackgroundRole, QVariant());
    if (fore >= 0) item->setForeground(ToColor(fore));
    else if (fixed) item->setForeground(QApplication::palette().color(QPalette::ButtonText));   // the grid's colour is for data cells
    else item->setData(Qt::ForegroundRole, QVariant());
    item->setTextAlignment(GridAlignment(g.CellAlignment(r, c), text));
    QFont font = t->font();
    font.setBold(g.CellFontBold(r, c));
    item->setFont(font);
    item->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (r == 0 && static_cast<GridTable*>(t)->frozenRows) {
        QTableWidgetItem* head = t->horizontalHeaderItem(c);
        if (!head) {
            head = new QTableWidgetItem;
            t->setHorizontalHeaderItem(c, head);
        }
        head->setText(item->text());
        head->setData(Qt::BackgroundRole, item->data(Qt::BackgroundRole));
        head->setData(Qt::ForegroundRole, item->data(Qt::ForegroundRole));
        head->setTextAlignment(Qt::Alignment(item->textAlignment()));
        head->setFont(item->font());
    }
}

void FormView::SyncGridCurrent(FlexGrid& g) {
    auto* t = static_cast<QTableWidget*>(WidgetOf(g));
    Guard guard(syncing_);
    if (g.InRange(g.Row, g.Col) && (t->currentRow() != g.Row || t->currentColumn() != g.Col))
        t->setCurrentCell(g.Row, g.Col);
    int topRow = std::max(0, g.TopRow - g.FixedRows), leftCol = std::max(0, g.LeftCol - g.FixedCols);
    if (t->verticalScrollBar()->value() != topRow) t->verticalScrollBar()->setValue(topRow);
    if (t->horizontalScrollBar()->value() != leftCol) t->horizontalScrollBar()->setValue(leftCol);
}

void FormView::SyncColours(Control& c) {
    QWidget* w = WidgetOf(c);
    QColor back = ToColor(c.BackColor), fore = ToColor(c.ForeColor);
    if (!back.isValid() && !fore.isValid()) {
        w->setPalette(QPalette());   // inherit
    } else {
        QPalette pal = QApplication::palette(w);
        bool pane = IsEditPane(w) || c.kind == ControlKind::FlexGrid;   // grid cells draw on Base with Text
        for (QPalette::ColorRole role : {pane ? QPalette::Base : QPalette::Window, QPalette::Button})
            if (back.isValid()) pal.setColor(role, back);
        // Text keeps the disabled group's grey.
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (QPalette::ColorRole role : {pane ? QPalette::Text : QPalette::WindowText, QPalette::ButtonText})
                if (fore.isValid()) pal.setColor(group, role, fore);
        w->setPalette(pal);
    }
    if (c.kind == ControlKind::Label || c.kind == ControlKind::Frame || c.kind == ControlKind::CheckBox ||
        c.kind == ControlKind::OptionButton)
        w->setAutoFillBackground(back.isValid());
    if (c.kind == ControlKind::FlexGrid) {
        // A style sheet takes the grid lines; the cells' text colour must be in it too.
        std::int32_t lines = static_cast<FlexGrid&>(c).GridColor;
        QString sheet;
        if (lines >= 0) sheet += QStringLiteral("gridline-color: %1; ").arg(ToColor(lines).name());
        if (fore.isValid()) sheet += QStringLiteral("color: %1; ").arg(fore.name());
        w->setStyleSheet(sheet.isEmpty() ? QString() : QStringLiteral("QTableView { %1}").arg(sheet));
    }
}

void FormView::SyncPanels(StatusBar& s) {
    auto* bar = static_cast<QStatusBar*>(WidgetOf(s));
    if (!bar || s.PanelCount() == 0) return;
    PanelRow*& row = panels_[&s];
    if (!row) {
        row = new PanelRow(bar);
        bar->addWidget(row, 1);
    }
    auto& labels = row->labels;
    bool changed = false;
    while (static_cast<int>(labels.size()) < s.PanelCount()) {
        changed = true;
        auto* l = new QLabel(row);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setTextFormat(Qt::PlainText);
        labels.push_back(l);
    }
    for (int i = 0; i < s.PanelCount(); ++i) {
        QString t = ToQt(s.Panel(i + 1));
        if (labels[i]->text() != t) {
            labels[i]->setText(t);
            changed = true;
        }
    }
    if (changed) {
        row->updateGeometry();
        row->Arrange();
    }
}

void FormView::SyncForm(PropId prop, int a) {
    if (!form) return;
    switch (prop) {
        case PropId::Caption:
            Window()->setWindowTitle(ToQt(form->Caption));
            if (top && top->width() < ClientWidth()) {
                Guard g(applying_);
                top->resize(ClientWidth(), top->height());
            }
            break;
        case PropId::Geometry: ApplyGeometry(); break;
        case PropId::Colour: {
            QWidget* w = client ? client : body;
            QPalette pal = w->palette();
            QColor back = ToColor(form->BackColor);
            pal.setColor(QPalette::Window, back.isValid() ? back : QApplication::palette(w).color(QPalette::Window));
            w->setPalette(pal);
            w->setAutoFillBackground(back.isValid());
            break;
        }
        case PropId::Other:
            if (client)
                client->setCursor(form->MousePointer == 7 ? Qt::SizeVerCursor : Qt::ArrowCursor);
            if (form->WindowState != appliedState_) ApplyWindowState();
            break;
        case PropId::Arrange:
            if (mdi) Arrange(a);
            break;
        default: break;   // Enabled: input is held back by the back end's gate
    }
}

// --------------------------------------------------------------- geometry

int FormView::ClientWidth() const {
    const int w = Px(form->ScaleWidth());
    // A window of its own is widened to show its whole caption; the controls
    // stay where the form puts them. (A child window's title is drawn within
    // the frame, which some captions outgrow.)
    return top ? std::max(w, TitleWidth(*top, ToQt(form->Caption))) : w;
}

void FormView::ApplyGeometry() {
    if (!form) return;
    Guard g(applying_);
    int w = ClientWidth(), h = Px(form->ScaleHeight());
    appliedPos_ = QPoint(Px(form->Left), Px(form->Top));
    if (sub) {
        QMargins m = sub->contentsMargins();
        sub->setGeometry(appliedPos_.x(), appliedPos_.y(), w + m.left() + m.right(), h + m.top() + m.bottom());
    } else {
        QWidget* bar = top->menuWidget();
        int barHeight = bar && !bar->isHidden() ? bar->sizeHint().height() : 0;
        top->resize(w, h + barHeight);
        if (form->Left != 0 || form->Top != 0) top->move(appliedPos_);
    }
}

void FormView::ApplyWindowState() {
    if (!form) return;
    appliedState_ = form->WindowState;
    if (!Window()->isVisible()) return;
    Guard g(applying_);
    QWidget* win = Window();
    if (appliedState_ == 1) win->showMinimized();
    else if (appliedState_ == 2) win->showMaximized();
    else win->showNormal();
}

void FormView::Remember() {
    if (userPlaced_ && Window()->isVisible()) backend.placements[name] = Window()->geometry();
}

void FormView::Restore(const QRect& r) {
    {
        Guard g(applying_);
        Window()->setGeometry(r);
        appliedPos_ = Window()->pos();
    }
    userPlaced_ = true;
    form->Left.SetQuietly(Twips(r.x()));
    form->Top.SetQuietly(Twips(r.y()));
    QSize size = body->size();
    if (sub) {
        QMargins m = sub->contentsMargins();
        size = QSize(r.width() - m.left() - m.right(), r.height() - m.top() - m.bottom());
    }
    if (size.width() != ClientWidth() || size.height() != Px(form->ScaleHeight()))
        form->Resize(Twips(size.width()) + kBorderWidth, Twips(size.height()) + kBorderHeight);
}

void FormView::BodyResized() {
    if (!form || applying_) return;
    QSize s = body->size();
    if (s.width() == ClientWidth() && s.height() == Px(form->ScaleHeight())) return;
    if (Window()->isVisible()) userPlaced_ = true;
    int w = Twips(s.width()) + kBorderWidth, h = Twips(s.height()) + kBorderHeight;
    Deliver(nullptr, [this, w, h] {
        if (form) form->Resize(w, h);
    });
}

void FormView::UserMoved() {
    if (!form || applying_ || !Window()->isVisible()) return;
    QPoint p = Window()->pos();
    if (p == appliedPos_) return;
    userPlaced_ = true;
    form->Left.SetQuietly(Twips(p.x()));
    form->Top.SetQuietly(Twips(p.y()));
}

void FormView::UserStateChanged(Qt::WindowStates state) {
    if (!form || applying_) return;
    int s = state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0;
    appliedState_ = s;
    form->WindowState.SetQuietly(s);
}

void FormView::Arrange(int how) {
    QList<QMdiSubWindow*> open, icons;
    for (QMdiSubWindow* s : mdi->subWindowList()) {
        if (!s->isVisible()) continue;
        (s->isMinimized() ? icons : open).push_back(s);
    }
    QRect area = mdi->viewport()->rect();
    if (how == 0 && !open.isEmpty()) {
        // Each window keeps its size; the active one comes last, on top.
        QMdiSubWindow* active = mdi->currentSubWindow();
        if (open.removeOne(active)) open.push_back(active);
        const int step = std::max(8, open.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr,
                                                                        open.front()));
        int x = 0, y = 0;
        for (QMdiSubWindow* s : open) {
            if (s->isMaximized()) s->showNormal();
            if (y > 0 && y + step > area.height()) x = y = 0;   // its title bar must show
            s->move(x, y);
            s->raise();
            x += step;
            y += step;
        }
        if (active && open.contains(active)) mdi->setActiveSubWindow(active);
    } else if ((how == 1 || how == 2) && !open.isEmpty()) {
        int n = static_cast<int>(open.size());
        for (int i = 0; i < n; ++i) {
            if (open[i]->isMaximized()) open[i]->showNormal();
            if (how == 1) {
                int h = area.height() / n;
                open[i]->setGeometry(0, i * h, area.width(), h);
            } else {
                int w = area.width() / n;
                open[i]->setGeometry(i * w, 0, w, area.height());
            }
        }
    }
    int x = 0;
    for (QMdiSubWindow* s : icons) {
        s->move(x, area.height() - s->height());
        x += s->width();
    }
}

// ------------------------------------------------------------ show, hide

void FormView::Show() {
    if (!form) return;
    auto placed = backend.placements.find(name);
    if (sub) {
        sub->show();
        if (form->WindowState == 0 && sub->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) {
            Guard g(applying_);
            sub->showNormal();
        }
        if (placed != backend.placements.end()) Restore(placed->second);
        else ApplyGeometry();   // the frame's margins are known once shown
        everShown_ = true;
        if (form->WindowState != 0) ApplyWindowState();
        if (sentBack_) {
            sub->lower();
            backend.RefreshMenuBar();
            return;
        }
        sub->raise();
        if (QMdiArea* area = sub->mdiArea()) {
            area->setActiveSubWindow(sub);
            // The area sizes its scroll bars to the windows shown; one placed
            // while hidden and shown where it was placed is not counted
            // until the area is resized.
            QResizeEvent resized(area->viewport()->size(), area->viewport()->size());
            QCoreApplication::sendEvent(area->viewport(), &resized);
        }
        backend.RefreshMenuBar();
        ApplyFocus();
        return;
    }
    if (placed != backend.placements.end()) Restore(placed->second);
    pendingShow = true;
    QTimer::singleShot(0, top, [this] {
        if (pendingShow) ShowNow(false);
    });
}

void FormView::ShowNow(bool modal) {
    pendingShow = false;
    if (!form || !form->Visible()) return;
    if (sub) return;
    // Windows opened over the frame belong to it: they stay above it, also
    // while it is disabled and the user clicks it (window managers keep a
    // dialog above the window it is transient for).
    if (QWidget* frame = backend.Frame(); frame && frame != top && top->parentWidget() != frame) {
        if (top->isVisible()) top->hide();
        top->setParent(frame, (top->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    }
    Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (top->windowModality() != modality) {
        if (top->isVisible()) top->hide();
        top->setWindowModality(modality);
    }
    if (!everShown_ && !userPlaced_ && form->Left == 0 && form->Top == 0) {
        QScreen* screen = QGuiApplication::primaryScreen();
        QWidget* frame = backend.Frame();
        QRect around = frame && frame != top && frame->isVisible() ? frame->geometry()
                       : screen ? screen->availableGeometry() : QRect();
        if (around.isValid()) {
            Guard g(applying_);
            top->move(around.center() - QPoint(top->width() / 2, top->height() / 2));
            appliedPos_ = top->pos();
        }
    }
    everShown_ = true;
    {
        Guard g(applying_);
        top->setAttribute(Qt::WA_ShowWithoutActivating, sentBack_ && !modal);
        if (form->WindowState == 1) top->showMinimized();
        else if (form->WindowState == 2) top->showMaximized();
        else top->show();
        appliedState_ = form->WindowState;
    }
    if (sentBack_ && !modal) {
        top->lower();
        pendingFormFocus_ = false;   // the keyboard stays where it is
        if (Control* c = pendingFocus_; c && Owns(c))
            if (QWidget* w = WidgetOf(*c)) w->setFocus(Qt::OtherFocusReason);
        pendingFocus_ = nullptr;
        return;
    }
    top->raise();
    top->activateWindow();
    ApplyFocus();
}

void FormView::ZOrder(int position) {
    sentBack_ = position == 1;
    QWidget* win = Window();
    if (!win->isVisible() || pendingShow) return;
    if (sentBack_) win->lower();
    else win->raise();
}

void FormView::Hide() {
    pendingShow = false;
    Remember();
    QWidget* win = Window();
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    const bool wasActive = area && area->currentSubWindow() == sub;
    win->hide();
    if (top) top->setWindowModality(Qt::NonModal);
    if (modalLoop) modalLoop->quit();
    if (wasActive) {
        // The child window active before it takes over, with its menus.
        const QList<QMdiSubWindow*> order = area->subWindowList(QMdiArea::ActivationHistoryOrder);
        for (auto it = order.rbegin(); it != order.rend(); ++it)
            if (*it != sub && (*it)->isVisible()) {
                area->setActiveSubWindow(*it);
                break;
            }
    }
    backend.RefreshMenuBar();
}

void FormView::Detach() {
    Hide();
    form = nullptr;
    for (const auto& c : conns_) disconnect(c);
    conns_.clear();
    for (auto& [c, w] : widgets_)
        if (auto* canvas = dynamic_cast<Canvas*>(w)) {
            canvas->Detach();
            canvas->onMouse = nullptr;
            canvas->onClick = canvas->onDblClick = nullptr;
        }
    widgets_.clear();
    actions_.clear();
    owners_.clear();
    panels_.clear();
    topMenus_.clear();
    pendingFocus_ = nullptr;
    if (sub && sub->mdiArea()) sub->mdiArea()->removeSubWindow(sub);
    // The back end deletes the window once no handler runs (QtBackend::Deliver).
    backend.RefreshMenuBar();
}

// ------------------------------------------------------------------ focus

void FormView::Focus(Control* control) {
    if (!form) return;
    pendingFocus_ = control;
    pendingFormFocus_ = true;
    if (!pendingShow && Window()->isVisible()) ApplyFocus();
}

void FormView::ApplyFocus() {
    if (!pendingFormFocus_ || !form) return;
    pendingFormFocus_ = false;
    Control* c = pendingFocus_;
    pendingFocus_ = nullptr;
    if (sub && sub->mdiArea()) {
        sub->mdiArea()->setActiveSubWindow(sub);
        sub->window()->activateWindow();
    } else if (top) {
        top->raise();
        top->activateWindow();
    }
    if (c && Owns(c)) {
        if (QWidget* w = WidgetOf(*c)) w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The window itself: the keyboard goes where it was in the window (the
    // active child window of a frame), else to the first control in tab order.
    FormView* target = this;
    if (mdi)
        if (auto* s = dynamic_cast<SubWindow*>(mdi->currentSubWindow()); s && s->view && s->view->form)
            target = s->view;
    QWidget* win = target->Window();
    QWidget* had = win->focusWidget();
    if (had && had != win && win->isAncestorOf(had) && had->isVisible() && had->isEnabled()) {
        had->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (Control* first = target->form ? target->form->FirstInTabOrder() : nullptr)
        if (QWidget* w = target->WidgetOf(*first)) w->setFocus(Qt::OtherFocusReason);
}

// ----------------------------------------------------------------- events

void FormView::SyncInput() {
    if (!form) return;
    Guard g(syncing_);
    const bool accepts = form->AcceptsInput();
    for (auto& [c, w] : widgets_) w->setEnabled(c->Enabled && accepts);
    for (auto& [c, act] : actions_) SyncMenu(*static_cast<const Menu*>(c));
}

void FormView::UserClose() {
    if (!form) return;
    if (!backend.FormAccepts(*this)) {
        backend.ActivateOwnedWindow();
        return;
    }
    Deliver(nullptr, [this] {
        if (form) platform::UserClose(*form);
    });
}

bool FormView::DefaultKeys(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    bool escape = key->key() == Qt::Key_Escape;
    if ((!enter && !escape) || key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
    Control* focused = nullptr;
    if (QWidget* f = QApplication::focusWidget(); f && client && client->isAncestorOf(f))
        if (const auto it = owners_.find(f); it != owners_.end()) focused = it->second;
    bool done = false;
    Deliver(nullptr, [this, focused, enter, &done] { done = UserEnterOrEscape(*form, focused, enter ? 13 : 27); });
    return done;
}

bool FormView::KeyPress(Control& c, QObject* watched, QEvent* event) {
    if (sendingKey_ || !c.OnKeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    int ascii = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) ascii = 13;
    else if (key->key() == Qt::Key_Backspace) ascii = 8;
    else if (key->key() == Qt::Key_Escape) ascii = 27;
    else if (key->text().size() == 1 && key->text()[0].unicode() < 256) ascii = key->text()[0].unicode();
    if (ascii == 0) return false;
    int k = ascii;
    Control* cp = &c;
    Deliver(cp, [cp, &k] {
        if (cp->OnKeyPress) cp->OnKeyPress(k);
    });
    if (k == 0) return true;
    if (k == ascii) return false;
    QKeyEvent replaced(QEvent::KeyPress, k == 13 ? int(Qt::Key_Return) : k == 8 ? int(Qt::Key_Backspace) : 0,
                       key->modifiers(), QString(QChar(k)));
    sendingKey_ = true;
    QCoreApplication::sendEvent(watched, &replaced);
    sendingKey_ = false;
    return true;
}

bool FormView::FormMouse(QEvent::Type type, QMouseEvent* m) {
    double x = Twips(m->position().toPoint().x()), y = Twips(m->position().toPoint().y());
    int shift = ShiftCode(m->modifiers());
    int button = type == QEvent::MouseMove ? ButtonCode(m->buttons()) : ButtonCode(m->button());
    Form* f = form;
    if (!f->AcceptsInput()) return false;
    auto handler = type == QEvent::MouseButtonPress ? &Form::OnMouseDown
                   : type == QEvent::MouseButtonRelease ? &Form::OnMouseUp
                                                        : &Form::OnMouseMove;
    if (f->*handler)
        backend.Deliver([f, handler, button, shift, x, y] {
            if (f->*handler) (f->*handler)(button, shift, x, y);
        });
    return false;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (!form) return false;
    QEvent::Type type = event->type();
    if (watched == body) {
        if (type == QEvent::Resize) BodyResized();
        return false;
    }
    if (watched == client) {
        if (type == QEvent::KeyPress) return DefaultKeys(event);
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            type == QEvent::MouseMove)
            return FormMouse(type, static_cast<QMouseEvent*>(event));
        return false;
    }
    auto it = owners_.find(watched);
    if (it == owners_.end()) return false;
    Control* c = it->second;
    switch (type) {
        case QEvent::FocusIn:
            if (c->OnGotFocus && watched == WidgetOf(*c)) Deliver(c, [c] { if (c->OnGotFocus) c->OnGotFocus(); });
            break;
        case QEvent::FocusOut:
            if (c->OnLostFocus && watched == WidgetOf(*c)) Deliver(c, [c] { if (c->OnLostFocus) c->OnLostFocus(); });
            break;
        case QEvent::KeyPress: return KeyPress(*c, watched, event);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            if (c->kind == ControlKind::PictureBox) break;
            auto* m = static_cast<QMouseEvent*>(event);
            double x = Twips(m->position().toPoint().x()), y = Twips(m->position().toPoint().y());
            bool heading = false;
            int headingCol = -1;
            if (c->kind == ControlKind::FlexGrid) {
                auto* t = static_cast<QTableWidget*>(WidgetOf(*c));
                QPoint p = m->position().toPoint();
                auto& g = static_cast<FlexGrid&>(*c);
                heading = watched == t->horizontalHeader()->viewport();
                int r = heading ? 0 : t->rowAt(p.y());
                int col = heading ? t->horizontalHeader()->logicalIndexAt(p.x()) : t->columnAt(p.x());
                if (r >= 0) g.MouseRow = r;
                if (col >= 0) g.MouseCol = col;
                if (heading) headingCol = col;
                QPoint inGrid = static_cast<QWidget*>(watched)->mapTo(t, p);
                x = Twips(inGrid.x());
                y = Twips(inGrid.y());
            }
            int shift = ShiftCode(m->modifiers());
            if (type == QEvent::MouseMove) {
                if (c->OnMouseMove) {
                    int button = ButtonCode(m->buttons());
                    Deliver(c, [c, button, shift, x, y] { if (c->OnMouseMove) c->OnMouseMove(button, shift, x, y); });
                }
                break;
            }
            int button = ButtonCode(m->button());
            if (type == QEvent::MouseButtonPress && c->OnMouseDown)
                Deliver(c, [c, button, shift, x, y] { if (c->OnMouseDown) c->OnMouseDown(button, shift, x, y); });
            if (type == QEvent::MouseButtonRelease && c->OnMouseUp)
                Deliver(c, [c, button, shift, x, y] { if (c->OnMouseUp) c->OnMouseUp(button, shift, x, y); });
            bool clickable = c->kind == ControlKind::Label || c->kind == ControlKind::Image ||
                             c->kind == ControlKind::Frame || c->kind == ControlKind::TextBox;
            if (heading) {   // the grid's fixed row, shown as its header
                const bool left = m->button() == Qt::LeftButton && headingCol >= 0;
                if (type == QEvent::MouseButtonRelease) {
                    if (left && !headingDblClick_) GridClick(*c, 0, headingCol, false);
                    headingDblClick_ = false;
                } else if (type == QEvent::MouseButtonDblClick) {
                    headingDblClick_ = true;
                    if (left) GridClick(*c, 0, headingCol, true);
                }
                return true;
            }
            if (clickable && type == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton)
                Deliver(c, [c] { UserClick(*c); });
            if (clickable && type == QEvent::MouseButtonDblClick) Deliver(c, [c] { c->DblClick(); });
            break;
        }
        default: break;
    }
    return false;
}

}  // namespace platform::qt
