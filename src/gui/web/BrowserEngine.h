#pragma once

#include <QByteArray>

class QWebEngineProfile;

namespace tl {

// The browser engine's switches: those given, with what keeps its helper processes few and
// small added where not given already. The pages of the program share one renderer process;
// without the sandbox the renderer starts straight from the program, not from the two idle
// template processes the sandbox needs.
QByteArray browserEngineFlags(QByteArray given, bool sandboxDisabled);

// Puts those switches into the environment the engine reads them from. They take effect only
// before the engine starts, so this is called before the application object is made, after the
// sandbox has been settled.
void prepareBrowserEngine();

// The one profile every browser of the program shares: nothing kept on disk, and an HTTP cache
// in memory of bounded size. Its pages, cookies and cache live as long as the program.
QWebEngineProfile* browserProfile();

}  // namespace tl
