// The version reader and the About box in an executable without version information.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/msgbox.h"
#include "info/about.h"
#include "info/versioninfo.h"
#include "platform/application.h"
#include "support/environment.h"

using namespace info;

namespace {

// This test executable carries no version resource.
TEST(ReadVersionInfo, WithoutVersionResourceRaisesTheSystemError) {
    try {
        ReadVersionInfo(platform::ExePath());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), SystemErrorText(ERROR_RESOURCE_DATA_NOT_FOUND));
        EXPECT_FALSE(std::string(e.what()).empty());
    }
    EXPECT_THROW(ReadVersionInfo("C:\\no\\such\\file.exe"), std::runtime_error);
}

// Created without version information, the About box shows the error once and keeps its
// design texts and size.
TEST(AboutBox, WithoutVersionInformation) {
    std::vector<forms::BoxCall> boxes;
    testsupport::EnvironmentScope env;
    env.forms.box = [&](const forms::BoxCall& c) {
        boxes.push_back(c);
        return IDOK;
    };
    env.Install();
    TFormAbout about;
    env.forms.box = nullptr;
    env.Install();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Error);
    EXPECT_EQ(boxes[0].text, SystemErrorText(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(about.Caption(), "About");
    EXPECT_EQ(about.Label6.Text(), "Label6");
    EXPECT_EQ(about.ClientWidth(), 274);
    EXPECT_EQ(about.ClientHeight(), 165);
}

}  // namespace
