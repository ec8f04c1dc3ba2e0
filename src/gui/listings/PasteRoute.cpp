#include "gui/listings/PasteRoute.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <utility>

namespace tl {
namespace {

class PasteRoute : public QObject {
public:
    // menuContext: the translation context of the box's own menu, whose Paste is rerouted.
    PasteRoute(QWidget* box, std::function<QMenu*()> standardMenu, const char* menuContext,
               PasteCommand paste)
        : QObject(box),
          standardMenu_(std::move(standardMenu)),
          pasteCaption_(QCoreApplication::translate(menuContext, "&Paste")),
          paste_(std::move(paste)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) break;
                paste_(QClipboard::Clipboard);
                return true;
            case QEvent::ContextMenu:
                showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
                return true;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
                    !QGuiApplication::clipboard()->supportsSelection())
                    break;
                paste_(QClipboard::Selection);
                return true;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The box's own menu, its Paste (known by its caption, before any shortcut text) rerouted.
    void showMenu(const QPoint& at) {
        QMenu* menu = standardMenu_();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (QAction* action : menu->actions()) {
            if (action->text().section('\t', 0, 0) != pasteCaption_) continue;
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { paste_(QClipboard::Clipboard); });
        }
        menu->popup(at);
    }

    std::function<QMenu*()> standardMenu_;
    QString pasteCaption_;
    PasteCommand paste_;
};

}  // namespace

void routePastes(QLineEdit* box, PasteCommand paste) {
    box->installEventFilter(new PasteRoute(
        box, [box] { return box->createStandardContextMenu(); }, "QLineEdit", std::move(paste)));
}

void routePastes(QPlainTextEdit* box, PasteCommand paste) {
    auto* route = new PasteRoute(
        box, [box] { return box->createStandardContextMenu(); }, "QWidgetTextControl",
        std::move(paste));
    // Keys reach the box itself, the mouse and its context menu reach the box's viewport.
    box->installEventFilter(route);
    box->viewport()->installEventFilter(route);
}

}  // namespace tl
