#include "gui/web/BrowserEngine.h"

#include <QWebEngineProfile>

namespace tl {
namespace {

constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kNoSandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";

// The marketplace pages are small: a few MiB of cache keep their style and pictures at hand.
constexpr int kHttpCacheBytes = 8 * 1024 * 1024;

void addUnlessGiven(QByteArray& flags, const QByteArray& name, const QByteArray& flag) {
    if (flags.contains(name)) return;
    if (!flags.isEmpty()) flags.append(' ');
    flags.append(flag);
}

}  // namespace

QByteArray browserEngineFlags(QByteArray given, bool sandboxDisabled) {
    addUnlessGiven(given, "--renderer-process-limit", "--renderer-process-limit=1");
    // The engine refuses to run without its template processes while the sandbox is on.
    if (sandboxDisabled || given.contains("--no-sandbox"))
        addUnlessGiven(given, "--no-zygote", "--no-zygote");
    return given;
}

void prepareBrowserEngine() {
    qputenv(kFlagsVariable, browserEngineFlags(qgetenv(kFlagsVariable),
                                               qEnvironmentVariableIsSet(kNoSandboxVariable)));
}

QWebEngineProfile* browserProfile() {
    static QWebEngineProfile* const profile = [] {
        QWebEngineProfile* shared = QWebEngineProfile::defaultProfile();
        shared->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        shared->setHttpCacheMaximumSize(kHttpCacheBytes);
        shared->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        return shared;
    }();
    return profile;
}

}  // namespace tl
