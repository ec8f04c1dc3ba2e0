#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/listings/CProductXml.h"
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

    TempProgramDirectory home;
    ScriptedUi ui;
    ScriptedHttpServer server;
    ScopedServerHost host{server.host()};
};

}  // namespace tl::test
