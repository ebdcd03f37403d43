// One loaded form on the screen: its window (a top-level main window or an
// MDI child), the widgets of its controls, its menus and status bars. Widget
// events reach the system through the back end's Deliver; property changes
// made by code come back through Sync and SyncForm.
#pragma once

#include <QEvent>
#include <QGroupBox>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/forms.h"

class QAction;
class QEventLoop;
class QLabel;
class QMdiArea;
class QMenu;
class QMouseEvent;
class QVBoxLayout;

namespace platform::qt {

class QtBackend;
class FormView;
class PanelRow;

// The width a window needs to show its whole title: the text in a bold
// title-bar font, with room for the title bar's icon and buttons. Message
// boxes, input boxes and forms are made at least this wide.
int TitleWidth(const QWidget& w, const QString& title);

// A command button whose caption wraps onto more lines when it must.
class WrapButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A frame whose caption sits on its top edge, leaving the inside free for
// the controls placed there.
class CaptionFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A flex grid. With frozenRows set, row 0 is hidden and shown instead as the
// header, which stays in view (hidden rows take no scroll steps).
class GridTable : public QTableWidget {
public:
    explicit GridTable(QWidget* parent);
    int frozenRows = 0;
};

class TopWindow : public QMainWindow {
public:
    explicit TopWindow(FormView& v) : view(&v) {}
    FormView* view;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
};

class SubWindow : public QMdiSubWindow {
public:
    explicit SubWindow(FormView& v) : view(&v) {}
    FormView* view;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
};

class FormView : public QObject {
public:
    // mdiArea: the frame's area for an MDI child; null shows it top-level.
    FormView(QtBackend& backend, Form& form, QMdiArea* mdiArea);

    QtBackend& backend;
    Form* form;                    // null once unloaded
    const std::string name;
    TopWindow* top = nullptr;      // the window, when top-level
    SubWindow* sub = nullptr;      // the window, when an MDI child
    QWidget* body = nullptr;       // client area and status bars
    QWidget* client = nullptr;     // where the controls sit
    QMdiArea* mdi = nullptr;       // an MDI parent's area
    QEventLoop* modalLoop = nullptr;
    bool pendingShow = false;
    std::uint64_t frontSerial = 0;   // when it was last shown or brought forward

    QWidget* Window() const;
    QWidget* WidgetOf(const Control& c) const;
    QAction* ActionOf(const Menu& m) const;
    std::vector<QAction*> TopActions() const;
    bool HasMenus() const { return !topMenus_.empty(); }
    bool Owns(const Control* c) const;

    void Build();
    void Show();
    void ShowNow(bool modal);
    void Hide();
    void Detach();
    void Focus(Control* control);
    void Sync(Control& c, PropId prop, int a, int b);
    void SyncForm(PropId prop, int a);
    // Controls and menu items show enabled only while the window takes input.
    void SyncInput();
    void Arrange(int how);
    void ZOrder(int position);

    // From the window.
    void UserClose();
    void UserMoved();
    void UserStateChanged(Qt::WindowStates state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool FormMouse(QEvent::Type type, QMouseEvent* event);

private:
    template <class Fn>
    void Deliver(Control* c, Fn&& fn);
    QWidget* Ensure(Control& c);
    QWidget* Create(Control& c, QWidget* parent);
    QAction* BuildMenu(Menu& m);
    void SyncAll(Control& c);
    void SyncMenu(const Menu& m);
    void SyncText(Control& c);
    void SyncValue(Control& c);
    void SyncSelection(Control& c);
    void SyncList(ListControl& l);
    void SyncGrid(FlexGrid& g);
    void SyncCell(FlexGrid& g, int r, int c);
    void SyncGridCurrent(FlexGrid& g);
    void GridClick(Control& grid, int row, int col, bool dbl);
    void SyncColours(Control& c);
    void SyncPanels(StatusBar& s);
    // The client area's width in pixels: the form's, or more for its caption.
    int ClientWidth() const;
    void ApplyGeometry();
    void ApplyWindowState();
    void ApplyFocus();
    void Remember();
    void Restore(const QRect& r);
    void BodyResized();
    bool KeyPress(Control& c, QObject* watched, QEvent* event);
    bool DefaultKeys(QEvent* event);

    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const Control*, QAction*> actions_;
    std::unordered_map<const QObject*, Control*> owners_;
    std::unordered_map<const Control*, PanelRow*> panels_;   // a status bar's panels
    std::unordered_map<const Control*, std::string> shown_;   // text last put in a text pane
    std::vector<Menu*> topMenus_;
    std::vector<QMetaObject::Connection> conns_;
    QVBoxLayout* bodyLayout_ = nullptr;
    int syncing_ = 0;              // widget changes made by code
    int applying_ = 0;             // geometry changes made by code
    int appliedState_ = 0;
    bool everShown_ = false, userPlaced_ = false, sendingKey_ = false, headingDblClick_ = false;
    bool sentBack_ = false;        // behind the other windows until brought forward
    Control* pendingFocus_ = nullptr;
    bool pendingFormFocus_ = false;
    QPoint appliedPos_;
};

}  // namespace platform::qt
