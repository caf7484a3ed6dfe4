#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/environment.h"
#include "support/temp_folder.h"
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    // What the program keeps beside itself (settings, saved searches, the version file) goes
    // to a folder of this test program's own: test programs run at once share nothing.
    testsupport::TempFolder beside;
    platform::SetEnvironment({beside.path()});
#endif
    return RUN_ALL_TESTS();
}
