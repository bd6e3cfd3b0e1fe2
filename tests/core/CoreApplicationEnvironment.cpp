#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The program runs App_Init under a Qt application; its single-instance server
// needs one (gtest_main makes none).
class CoreApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "test_core";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

}  // namespace
