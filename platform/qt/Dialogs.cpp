// Message box, input box and file dialog.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "platform/qt/Convert.h"
#include "platform/qt/FormView.h"
#include "platform/qt/QtBackend.h"

namespace platform::qt {

namespace {

// The nesting kept while a modal box runs; its close is noted for the next
// box (QtBackend::ModalOpening).
struct Nested {
    QtBackend& backend;
    Ui& ui;
    Nested(QtBackend& b, Ui& u) : backend(b), ui(u) { ui.EnterNested(); }
    ~Nested() {
        ui.LeaveNested();
        backend.ModalClosed();
    }
};

QString TitleOr(const std::string& title, const char* fallback) {
    return title.empty() ? QString::fromLatin1(fallback) : ToQt(title);
}

// A box sizes itself to its layout, so a strut in the layout keeps it as
// wide as its title.
void KeepTitleWhole(QDialog& dlg) {
    QLayout* layout = dlg.layout();
    if (!layout) return;
    const int room = layout->contentsMargins().left() + layout->contentsMargins().right();
    auto* strut = new QSpacerItem(std::max(0, TitleWidth(dlg, dlg.windowTitle()) - room), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed);
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addItem(strut, grid->rowCount(), 0, 1, grid->columnCount());
    else
        layout->addItem(strut);
}

QMessageBox::StandardButton ButtonOf(int answer) {
    switch (answer) {
        case vbCancel: return QMessageBox::Cancel;
        case vbAbort: return QMessageBox::Abort;
        case vbRetry: return QMessageBox::Retry;
        case vbIgnore: return QMessageBox::Ignore;
        case vbYes: return QMessageBox::Yes;
        case vbNo: return QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

// A file dialog that asks its overwrite question in the program's own
// message box, which is as wide as its title (Qt's own box is as wide as its
// short text); the question and its answers are Qt's.
class FileChooser : public QFileDialog {
public:
    FileChooser(QtBackend& b, QWidget* parent, const QString& title) : QFileDialog(parent, title), backend_(b) {}

protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (acceptMode() != AcceptSave || testOption(DontConfirmOverwrite) || files.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        const QFileInfo info(files.front());
        if (!info.exists() || info.isDir()) {
            QFileDialog::accept();
            return;
        }
        const QString question = tr("%1 already exists.\nDo you want to replace it?").arg(info.fileName());
        if (backend_.MsgBox(FromQt(question), vbYesNo + vbExclamation + vbDefaultButton2, FromQt(windowTitle())) !=
            vbYes)
            return;
        setOption(DontConfirmOverwrite, true);
        QFileDialog::accept();
        setOption(DontConfirmOverwrite, false);
    }

private:
    QtBackend& backend_;
};

}  // namespace

QStringList NameFilters(const std::string& filter) {
    QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList out;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed(), pattern = parts[i + 1].trimmed();
        if (desc.isEmpty() && pattern.isEmpty()) continue;
        QStringList globs = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& g : globs) {
            g = g.trimmed();
            if (g == QLatin1String("*.*")) g = QStringLiteral("*");
        }
        QString patterns = globs.isEmpty() ? QStringLiteral("*") : globs.join(QLatin1Char(' '));
        desc.remove(trailingPatterns);
        out << (desc.isEmpty() ? patterns : desc + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out;
}

void QtBackend::PlaceBox(QWidget& box, QWidget* parent) const {
    QWidget* owner = parent ? parent->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    // The box's frame as thick as its owner's, which is shown already.
    QMargins frame;
    if (owner) {
        const QRect outer = owner->frameGeometry(), inner = owner->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    if (box.isVisible()) {
        frame = QMargins(box.geometry().left() - box.frameGeometry().left(),
                         box.geometry().top() - box.frameGeometry().top(), 0, 0);
        frame.setRight(box.frameGeometry().width() - box.width() - frame.left());
        frame.setBottom(box.frameGeometry().height() - box.height() - frame.top());
    }
    QRect r(QPoint(), box.size().grownBy(frame));
    r.moveCenter(owner ? owner->frameGeometry().center() : room.center());

    std::vector<QRect> stops;
    for (Control* c : ui_->StopControls()) {
        QRect at;
        if (c->kind == ControlKind::Menu) {
            QAction* a = Action(static_cast<Menu&>(*c));
            QMainWindow* f = Frame();
            if (a && f && f->menuBar()->isVisible()) {
                at = f->menuBar()->actionGeometry(a);
                at.moveTopLeft(f->menuBar()->mapToGlobal(at.topLeft()));
            }
        } else if (QWidget* w = Widget(*c); w && w->isVisible()) {
            at = QRect(w->mapToGlobal(QPoint()), w->size());
        }
        if (at.isValid()) stops.push_back(at.adjusted(-4, -4, 4, 4));
    }
    const auto clear = [&](const QRect& x) {
        return std::none_of(stops.begin(), stops.end(), [&](const QRect& s) { return s.intersects(x); });
    };
    if (!clear(r)) {
        // The nearest place beside a stop control that covers none.
        const QPoint centre = r.center();
        std::optional<QRect> best;
        for (bool onScreen : {true, false}) {
            for (const QRect& s : stops)
                for (int side = 0; side < 4; ++side) {
                    QRect c = r;
                    if (side == 0) c.moveBottom(s.top() - 1);
                    else if (side == 1) c.moveTop(s.bottom() + 1);
                    else if (side == 2) c.moveRight(s.left() - 1);
                    else c.moveLeft(s.right() + 1);
                    if (!clear(c) || (onScreen && !room.contains(c))) continue;
                    if (!best || (c.center() - centre).manhattanLength() < (best->center() - centre).manhattanLength())
                        best = c;
                }
            if (best) break;
        }
        if (best) r = *best;
    }
    if (room.isValid() && room.contains(r) == false && clear(r)) {
        // Onto the screen, where that keeps it clear.
        QRect in = r;
        in.moveLeft(std::clamp(r.left(), room.left(), std::max(room.left(), room.right() - r.width() + 1)));
        in.moveTop(std::clamp(r.top(), room.top(), std::max(room.top(), room.bottom() - r.height() + 1)));
        if (clear(in)) r = in;
    }
    box.move(r.topLeft());
}

QWidget* QtBackend::DialogParent() const {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    if (!w) w = Frame();
    if (w && (InputBlocked(w) || !w->isVisible())) w = nullptr;
    return w;
}

int QtBackend::MsgBox(const std::string& prompt, int style, const std::string& title) {
    ModalOpening();
    QMessageBox box(DialogParent());
    box.setWindowTitle(TitleOr(title, "Tivelor"));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQtLines(prompt));
    switch (style & 0x70) {
        case 16: box.setIcon(QMessageBox::Critical); break;
        case 32: box.setIcon(QMessageBox::Question); break;
        case 48: box.setIcon(QMessageBox::Warning); break;
        case 64: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon);
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    for (int answer : MsgBoxAnswers(style)) choices.push_back({ButtonOf(answer), answer});
    std::vector<QPushButton*> buttons;
    for (const Choice& c : choices) buttons.push_back(box.addButton(c.button));
    size_t def = static_cast<size_t>((style >> 8) & 3);
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0]);
    int escapeAnswer = 0;
    for (const Choice& c : choices)
        if (c.answer == vbCancel) escapeAnswer = vbCancel;
    if (!escapeAnswer && choices.size() == 1) escapeAnswer = choices[0].answer;
    if (!escapeAnswer)
        for (const Choice& c : choices)
            if (c.answer == vbNo) escapeAnswer = vbNo;
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].answer == escapeAnswer) box.setEscapeButton(buttons[i]);
    KeepTitleWhole(box);
    QWidget* parent = box.parentWidget();
    box.adjustSize();
    PlaceBox(box, parent);
    QTimer::singleShot(0, &box, [this, &box, parent] { PlaceBox(box, parent); });   // at its shown size
    HandHeldKeysTo(&box);
    {
        Nested nested(*this, *ui_);
        box.exec();
    }
    for (size_t i = 0; i < choices.size(); ++i)
        if (box.clickedButton() == buttons[i]) return choices[i].answer;
    return escapeAnswer ? escapeAnswer : choices.front().answer;
}

std::string QtBackend::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText, std::optional<int> /*xPos*/,
                                std::optional<int> /*yPos*/) {
    ModalOpening();
    QWidget* parent = DialogParent();
    QInputDialog dlg(parent);
    dlg.setWindowTitle(TitleOr(title, "Tivelor"));
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setLabelText(ToQtLines(prompt));
    dlg.setTextValue(ToQt(defaultText));
    dlg.sizeHint();   // makes the box's layout, which Qt builds on demand
    KeepTitleWhole(dlg);
    // Where a message box opens: the caller's position is not taken.
    dlg.adjustSize();
    PlaceBox(dlg, parent);
    QTimer::singleShot(0, &dlg, [this, &dlg, parent] { PlaceBox(dlg, parent); });
    HandHeldKeysTo(&dlg);
    int result;
    {
        Nested nested(*this, *ui_);
        result = dlg.exec();
    }
    return result == QDialog::Accepted ? FromQt(dlg.textValue()) : std::string();
}

bool QtBackend::FileDialog(CommonDialog& cd, bool save) {
    ModalOpening();
    FileChooser dlg(*this, DialogParent(), TitleOr(cd.DialogTitle, save ? "Save As" : "Open"));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !(cd.Flags & cdlOFNOverwritePrompt)) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    QString name = ToQt(cd.FileName);
    QString folder = !cd.InitDir.empty() ? ToQt(cd.InitDir) : lastFolder_;
    if (name.contains(QLatin1Char('/'))) {
        QFileInfo info(name);
        folder = info.absolutePath();
        name = info.fileName();
    }
    if (!folder.isEmpty()) dlg.setDirectory(folder);
    QStringList filters = NameFilters(cd.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        int index = std::clamp(cd.FilterIndex, 1, static_cast<int>(filters.size())) - 1;
        dlg.selectNameFilter(filters[index]);
    }
    if (!name.isEmpty()) dlg.selectFile(name);
    HandHeldKeysTo(&dlg);
    int result;
    {
        Nested nested(*this, *ui_);
        result = dlg.exec();
    }
    if (result != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    QFileInfo chosen(dlg.selectedFiles().front());
    lastFolder_ = chosen.absolutePath();
    cd.FileName = FromQt(chosen.absoluteFilePath());
    cd.FileTitle = FromQt(chosen.fileName());
    if (!filters.isEmpty())
        cd.FilterIndex = std::max(1, static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1);
    return true;
}

}  // namespace platform::qt
