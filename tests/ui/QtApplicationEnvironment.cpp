#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

// gtest_main makes no QApplication; every widget test of this folder shares this one.
class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        // CTest sets the platform; a test run by hand gets the same offscreen one.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }

    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "test_ui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
