#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {

using Boxes = std::vector<ScriptedUi::Box>;

// A program directory of its own, scripted boxes and a scripted marketplace server.
class ListingTest : public ::testing::Test {
protected:
    // What every listing file the program builds starts with.
    std::string styleSheetInstruction() const {
        return R"(<?xml-stylesheet type="text/xsl" href="http://)" + server.host() +
               R"(/tradeloom/product.xsl"?>)";
    }

    // The plain text of a document the program stored; a file lying plain on disk fails.
    std::string storedText(const std::string& relative) const {
        std::string bytes = home.read(relative);
        EXPECT_FALSE(bytes.starts_with("<")) << relative << " lies plain on disk";
        scrambleBytes(bytes);
        return bytes;
    }

    TempProgramDirectory home;
    ScriptedUi ui;
    ScriptedHttpServer server;
    ScopedServerHost host{server.host()};
};

}  // namespace tl::test
