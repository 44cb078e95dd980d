// Test main for GUI test executables: one QApplication with the program's style for the whole run.
// The program's data (the journal of past runs) and cache (the catalogues' indexes) go to a folder
// of the run's own, never to the folders of whoever runs the tests.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <string>

#include "toolkit/ToolkitStyle.h"

namespace
{
class ScratchDataFolder
{
  public:
    ScratchDataFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-test-data-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            folder_ = pattern;
        }
        // Without a folder of its own, a test must not reach the user's journal: a path that
        // cannot be created stands in.
        setenv("XDG_DATA_HOME", folder_.empty() ? "/proc/no-data-folder" : folder_.c_str(), 1);
        // Nor the indexes of the user's catalogues.
        setenv("XDG_CACHE_HOME", folder_.empty() ? "/proc/no-cache-folder" : folder_.c_str(), 1);
    }
    ~ScratchDataFolder()
    {
        std::error_code ignored;
        if (!folder_.empty()) {
            std::filesystem::remove_all(folder_, ignored);
        }
    }

  private:
    std::string folder_;
};
} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleMock(&argc, argv);
    // Listing the tests (CTest's discovery) needs no display.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    ScratchDataFolder data;
    QApplication app(argc, argv);
    ToolkitStyle::Install(); // the program's own style, as users see it
    return RUN_ALL_TESTS();
}
