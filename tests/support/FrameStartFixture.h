#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/ScopedSettings.h"
#include "support/ScopedSettingsFolder.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {

// What a main frame needs to start as the program starts it: a program folder, a marketplace
// that names the current reference lists and answers every other request with `otherwise`,
// fresh session values and settings, and scripted boxes.
struct FrameStartFixture : ::testing::Test {
    TempProgramDirectory home;
    ScriptedHttpServer server;
    ScopedServerHost host{server.host()};
    ScopedSessionValues values;
    ScopedSettingsFolder settings;
    ScriptedUi ui;

    explicit FrameStartFixture(const std::string& otherwise) {
        server.reply("/tradeloom/currentwordlist.xml", "wordlist-1.xml");
        server.reply("/tradeloom/currentcategorylist.xml", "NewTLTree.xml");
        server.replyOtherwise(otherwise);
    }
};

}  // namespace tl::test
