// A Qt generic plugin that scripts/screenshots.sh loads into the real client
// (QT_QPA_GENERIC_PLUGINS=screenshotroad): it walks a member's road through the program the way a
// member would (typing into the fields, pressing the buttons, choosing the tabs) and saves a
// picture of the window at each stop. The road, the member and the folder come from the
// environment:
//   TRADELOOM_ROAD=seller|buyer|tour, TRADELOOM_ROAD_USER, TRADELOOM_ROAD_PASSWORD,
//   TRADELOOM_ROAD_SEARCH (buyer, tour: the quick-search words), TRADELOOM_ROAD_SHOTS (folder),
//   TRADELOOM_ROAD_MESSAGE (tour: a text of the member's messages),
//   TRADELOOM_ROAD_DONE (a file written when the road is walked).
// The seller and the tour stay running afterwards (the seller serving its listings); the buyer
// ends the program.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ids_app.h"
#include "ids_frame.h"
#include "ids_listings.h"
#include "ids_mylistings.h"
#include "ids_search.h"

namespace {

using namespace tl::res;

constexpr int kPollMilliseconds = 250;
constexpr int kStepTimeoutMilliseconds = 60000;
constexpr int kSettleMilliseconds = 1500;

// The navigation tabs, in the strip's order.
enum Tab { kHome = 0, kSearch = 1, kMyListings = 2, kAddItem = 4, kMessages = 6 };

QString setting(const char* name) {
    return qEnvironmentVariable(name);
}

// A step is polled until it reports done; it may act before it is done (actions that open a
// modal loop are queued, so the road goes on inside that loop).
struct Step {
    QString name;
    std::function<bool()> done;
};

QMainWindow* mainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(window); main && main->isVisible()) return main;
    return nullptr;
}

QDialog* visibleDialog() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// The visible control of that id and kind under root (ids repeat between panes).
template <class T>
T* control(QWidget* root, int id) {
    if (!root) return nullptr;
    for (T* found : root->findChildren<T*>(QStringLiteral("ctl_%1").arg(id)))
        if (found->isVisible()) return found;
    return nullptr;
}

QWebEngineView* visibleBrowser(QWidget* root) {
    if (!root) return nullptr;
    for (QWebEngineView* view : root->findChildren<QWebEngineView*>())
        if (view->isVisible()) return view;
    return nullptr;
}

void queueClick(QPushButton* button) {
    QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
}

class Road : public QObject {
public:
    Road() {
        const QString road = setting("TRADELOOM_ROAD");
        logIn(road == "buyer");
        if (road == "buyer")
            buyer();
        else if (road == "tour")
            tour();
        else
            seller();
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &Road::poll);
        timer_.start(kPollMilliseconds);
    }

private:
    void add(QString name, std::function<bool()> done) {
        steps_.push_back({std::move(name), std::move(done)});
    }

    // Waits a moment for the window to be painted.
    void settle() {
        add("settle", [this] { return waitedInStep_ >= kSettleMilliseconds; });
    }

    void shot(const QString& name, std::function<QWidget*()> window) {
        add("picture " + name, [name, window] {
            QWidget* shown = window();
            if (!shown) return false;
            const QPixmap picture = shown->screen()->grabWindow(shown->winId());
            const QString path = setting("TRADELOOM_ROAD_SHOTS") + "/" + name + ".png";
            if (!picture.save(path)) std::_Exit(4);
            std::printf("road: %s\n", qPrintable(path));
            std::fflush(stdout);
            return true;
        });
    }

    // Waits until the visible page has loaded with its pictures and holds the text.
    void pageShown(const QString& text = {}) {
        add("page " + text, [this, text] {
            QWidget* root = visibleDialog() ? nullptr : mainWindow();
            QWebEngineView* browser = visibleBrowser(root);
            if (!browser) return false;
            if (pageReady_ && *pageReady_) {
                pageReady_.reset();
                return true;
            }
            const QString script =
                "document.readyState === 'complete' && !!document.body && "
                "Array.from(document.images).every(i => i.complete) && "
                "document.body.innerText.includes(" +
                QString("'%1'").arg(text) + ")";
            browser->page()->runJavaScript(
                script, [this](const QVariant& ready) { pageReady_ = ready.toBool(); });
            return false;
        });
        settle();
    }

    void chooseTab(Tab tab) {
        add(QStringLiteral("tab %1").arg(tab), [tab] {
            auto* tabs = control<QTabBar>(mainWindow(), IDC_NAV_TABS);
            if (!tabs || visibleDialog()) return false;
            tabs->setCurrentIndex(tab);
            return true;
        });
    }

    void logIn(bool pictureOfTheDialog) {
        add("login dialog", [] {
            QDialog* login = visibleDialog();
            if (!login || login->windowTitle() != "Login") return false;
            control<QLineEdit>(login, IDC_LOGIN_USERNAME)->setText(setting("TRADELOOM_ROAD_USER"));
            control<QLineEdit>(login, IDC_LOGIN_PASSWORD)
                ->setText(setting("TRADELOOM_ROAD_PASSWORD"));
            return true;
        });
        if (pictureOfTheDialog) {
            settle();
            shot("login", [] { return visibleDialog(); });
        }
        add("log in", [] {
            QDialog* login = visibleDialog();
            if (!login) return false;
            queueClick(control<QPushButton>(login, IDOK));
            return true;
        });
        add("main window", [] {
            QMainWindow* main = mainWindow();
            if (!main || visibleDialog()) return false;
            main->setGeometry(0, 0, 1180, 820);
            return true;
        });
        pageShown();
    }

    void seller() {
        shot("home", mainWindow);
        // Straight from the home page: the messages keep the bar beside them (the home page's).
        chooseTab(kMessages);
        pageShown("Would you take");
        shot("message-centre", mainWindow);

        chooseTab(kMyListings);
        add("my listings", [] {
            auto* list = control<QTreeWidget>(mainWindow(), IDC_MYPROD_LIST);
            return list && list->topLevelItemCount() > 0;
        });
        settle();
        shot("my-listings", mainWindow);

        chooseTab(kAddItem);
        add("new-listing form", [] {
            QMainWindow* main = mainWindow();
            auto* title = control<QLineEdit>(main, IDC_ITEM_TITLE);
            if (!title) return false;
            title->setText("Mountain bike, 21 gears");
            if (auto* price = control<QLineEdit>(main, IDC_ITEM_PRICE)) price->setText("85.00");
            if (auto* description = control<QPlainTextEdit>(main, IDC_ITEM_DESCRIPTION))
                description->setPlainText("Aluminium frame, new tyres, ridden one summer.");
            return true;
        });
        settle();
        shot("new-listing", mainWindow);
        finish(false);
    }

    // Types the search words into the quick-search bar, searches and chooses the first result.
    void quickSearch() {
        add("quick search", [] {
            QMainWindow* main = mainWindow();
            auto* criteria = control<QLineEdit>(main, IDC_QS_CRITERIA);
            auto* search = control<QPushButton>(main, IDC_QS_SEARCH);
            if (!criteria || !search) return false;
            criteria->setText(setting("TRADELOOM_ROAD_SEARCH"));
            queueClick(search);
            return true;
        });
        add("search results", [] {
            auto* list = control<QTreeWidget>(mainWindow(), IDC_RESULT_LIST);
            if (!list || list->topLevelItemCount() == 0) return false;
            list->setCurrentItem(list->topLevelItem(0));
            return true;
        });
    }

    void buyer() {
        quickSearch();
        settle();
        shot("search-results", mainWindow);
        add("open the listing", [] {
            auto* list = control<QTreeWidget>(mainWindow(), IDC_RESULT_LIST);
            if (!list) return false;
            QTreeWidgetItem* row = list->topLevelItem(0);
            QMetaObject::invokeMethod(
                list, [list, row] { emit list->itemDoubleClicked(row, 0); }, Qt::QueuedConnection);
            return true;
        });
        pageShown(setting("TRADELOOM_ROAD_SEARCH").section(' ', -1));
        // The photos come below the listing's details: the picture shows them.
        add("scroll to the photos", [] {
            QWebEngineView* browser = visibleBrowser(mainWindow());
            if (!browser) return false;
            browser->page()->runJavaScript(
                "if (document.images.length) document.images[0].scrollIntoView({block: 'center'})");
            return true;
        });
        settle();
        shot("listing", mainWindow);
        finish(true);
    }

    // Every main screen once, taking no pictures (the client's memory is measured after it):
    // home, quick-search results, my listings, the new-listing form and the messages.
    void tour() {
        quickSearch();
        settle();
        chooseTab(kMyListings);
        add("my listings", [] { return control<QTreeWidget>(mainWindow(), IDC_MYPROD_LIST); });
        settle();
        chooseTab(kAddItem);
        add("new-listing form", [] { return control<QLineEdit>(mainWindow(), IDC_ITEM_TITLE); });
        settle();
        chooseTab(kMessages);
        pageShown(setting("TRADELOOM_ROAD_MESSAGE"));
        finish(false);
    }

    void finish(bool endProgram) {
        add("done", [endProgram] {
            QFile done(setting("TRADELOOM_ROAD_DONE"));
            if (done.open(QIODevice::WriteOnly)) done.write("done\n");
            done.close();
            if (endProgram) std::_Exit(0);
            return true;
        });
    }

    void poll() {
        if (next_ >= steps_.size()) return;
        waitedInStep_ += kPollMilliseconds;
        if (steps_[next_].done()) {
            ++next_;
            waitedInStep_ = 0;
        } else if (waitedInStep_ > kStepTimeoutMilliseconds) {
            std::printf("road: stuck at \"%s\"", qPrintable(steps_[next_].name));
            if (QDialog* dialog = visibleDialog())
                std::printf(" with the box \"%s\" open", qPrintable(dialog->windowTitle()));
            std::printf("\n");
            std::fflush(stdout);
            std::_Exit(3);
        }
        timer_.start(kPollMilliseconds);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waitedInStep_ = 0;
    std::optional<bool> pageReady_;
    QTimer timer_;
};

class ScreenshotRoad : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ScreenshotRoad.json")
public:
    QObject* create(const QString&, const QString&) override { return new Road; }
};

}  // namespace

#include "ScreenshotRoad.moc"
