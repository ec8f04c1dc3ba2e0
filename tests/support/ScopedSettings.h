#pragma once

#include <stdlib.h>
#include <sys/resource.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/peer/ListingServerStart.h"
#include "core/peer/ListingServerState.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/NonCopyable.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/ServerHost.h"
#include "core/platform/Ui.h"
#include "core/session/PendingSearch.h"
#include "core/session/Session.h"
#include "gui/search/ListingOpening.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"

namespace tl::test {

// Guards for process-wide settings a test changes: each puts the setting back when it goes out
// of scope, so a failing assertion cannot leak the change into later tests.

// Points requests at a host for the guard's lifetime; the built-in default afterwards.
class ScopedServerHost {
public:
    explicit ScopedServerHost(const std::string& host) { setServerHost(host); }
    ~ScopedServerHost() { setServerHost(""); }
    void set(const std::string& host) { setServerHost(host); }
    ScopedServerHost(const ScopedServerHost&) = delete;
    ScopedServerHost& operator=(const ScopedServerHost&) = delete;
};

// Sets the request time-outs for the guard's lifetime; the earlier ones come back after.
class ScopedRequestTimeouts {
public:
    explicit ScopedRequestTimeouts(const RequestTimeouts& timeouts) : old_(requestTimeouts()) {
        setRequestTimeouts(timeouts);
    }
    ~ScopedRequestTimeouts() { setRequestTimeouts(old_); }
    ScopedRequestTimeouts(const ScopedRequestTimeouts&) = delete;
    ScopedRequestTimeouts& operator=(const ScopedRequestTimeouts&) = delete;

private:
    RequestTimeouts old_;
};

// Installs a UI seam for the guard's lifetime; the built-in one afterwards.
class ScopedUi {
public:
    explicit ScopedUi(Ui& seam) { setUi(&seam); }
    ~ScopedUi() { setUi(nullptr); }
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;
};

// Points the program at a directory for the guard's lifetime; the default one afterwards.
class ScopedProgramDirectory {
public:
    explicit ScopedProgramDirectory(const std::string& path) { setProgramDirectory(path); }
    ~ScopedProgramDirectory() { setProgramDirectory(""); }
    ScopedProgramDirectory(const ScopedProgramDirectory&) = delete;
    ScopedProgramDirectory& operator=(const ScopedProgramDirectory&) = delete;
};

// Sets (or, with nullopt, removes) an environment variable; its earlier value comes back after.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = ::getenv(name_.c_str())) old_ = old;
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Stands in for the main window while it lives: hands every view switch to the function and
// ignores the other requests; no navigator afterwards.
class ScopedViewSwitcher : public Navigator, NonCopyable {
public:
    explicit ScopedViewSwitcher(std::function<void(View)> switcher)
        : switcher_(std::move(switcher)) {
        setNavigator(this);
    }
    ~ScopedViewSwitcher() { setNavigator(nullptr); }

    void SwitchView(View view) override { switcher_(view); }
    void Back() override {}
    void setNavigationTab(Tab) override {}
    void showPane(Pane) override {}
    void printWebPages() override {}

private:
    std::function<void(View)> switcher_;
};

// A view switch as a log line: "view " and the view's number.
inline std::string viewLine(View view) {
    return "view " + std::to_string(static_cast<int>(view));
}

// Starts the test with empty session values, no list selection and an empty pending search, and
// puts back the ones from before when it ends.
class ScopedSessionValues : NonCopyable {
public:
    ScopedSessionValues()
        : session_(std::exchange(session(), {})),
          selection_(std::exchange(listSelection(), {})),
          pending_(std::exchange(pendingSearch(), {})) {}
    ~ScopedSessionValues() {
        session() = session_;
        listSelection() = selection_;
        pendingSearch() = pending_;
    }

private:
    Session session_;
    ListSelection selection_;
    PendingSearch pending_;
};

// Plugs a listing download and a contact dialog into the search screens for the guard's
// lifetime; none afterwards.
class ScopedItemActions : NonCopyable {
public:
    ScopedItemActions(ListingDownload download, ContactDialog contact) {
        setListingDownload(std::move(download));
        setContactDialog(std::move(contact));
    }
    ~ScopedItemActions() {
        setListingDownload({});
        setContactDialog({});
    }
};

// Starts listing servers as set for the guard's lifetime; as before afterwards.
class ScopedListingServerSetup : NonCopyable {
public:
    explicit ScopedListingServerSetup(const ListingServerSetup& setup)
        : old_(listingServerSetup()) {
        setListingServerSetup(setup);
    }
    ~ScopedListingServerSetup() { setListingServerSetup(old_); }

private:
    ListingServerSetup old_;
};

// Starts the test with the program's listing server state as before any server started, and
// leaves it so.
class ScopedListingServerState : NonCopyable {
public:
    ScopedListingServerState() { listingServerState().reset(); }
    ~ScopedListingServerState() { listingServerState().reset(); }
};

// Raises the soft limit on open files as far as the hard limit allows, for tests that hold many
// connections; the earlier limit comes back after.
class ScopedOpenFileLimit : NonCopyable {
public:
    ScopedOpenFileLimit() {
        ::getrlimit(RLIMIT_NOFILE, &old_);
        rlimit raised = old_;
        raised.rlim_cur = raised.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &raised);
    }
    ~ScopedOpenFileLimit() { ::setrlimit(RLIMIT_NOFILE, &old_); }
    // The soft limit in force.
    static rlim_t current() {
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        return limit.rlim_cur;
    }

private:
    rlimit old_{};
};

}  // namespace tl::test
