#pragma once
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

// The simulated nets run under an application, as in the program: it gives the
// program folder (applicationDirPath) and lets the QCanBus devices' worker threads
// run their event loops.
class SimNetApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            application_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "quelbrin";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};
