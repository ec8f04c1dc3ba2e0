// A Qt generic plugin the packaging test loads into the installed client (QT_QPA_GENERIC_PLUGINS):
// it waits for the first dialog the program shows (the login dialog), prints its title and ends
// the program, so the test sees how far an installed client gets without changing the program.
#include <QApplication>
#include <QDialog>
#include <QGenericPlugin>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kGiveUpMilliseconds = 60000;

class LoginDialogProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "LoginDialogProbe.json")
public:
    QObject* create(const QString&, const QString&) override {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer] {
            waited_ += kPollMilliseconds;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible() && qobject_cast<QDialog*>(window)) {
                    std::printf("dialog: %s\n", qPrintable(window->windowTitle()));
                    std::fflush(stdout);
                    std::_Exit(0);
                }
            }
            if (waited_ >= kGiveUpMilliseconds) {
                std::printf("no login dialog after %d ms\n", waited_);
                std::fflush(stdout);
                std::_Exit(3);
            }
            timer->start();
        });
        timer->setSingleShot(true);
        timer->start(kPollMilliseconds);
        return timer;
    }

private:
    static inline int waited_ = 0;
};

}  // namespace

#include "LoginDialogProbe.moc"
