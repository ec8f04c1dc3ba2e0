#pragma once

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/platform/NonCopyable.h"

namespace tl::test {

// Keeps the program's QSettings in a fresh folder for the guard's lifetime, so a test neither
// reads nor changes the settings of the person running it; the usual folder afterwards.
class ScopedSettingsFolder : NonCopyable {
public:
    ScopedSettingsFolder() { use(folder_.path()); }
    ~ScopedSettingsFolder() {
        use(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

private:
    static void use(const QString& path) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    }
    QTemporaryDir folder_;
};

}  // namespace tl::test
