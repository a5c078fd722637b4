// One library session for the whole test program, as main() holds one for the whole run.

#include "imaging/imagick.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TImagickEnvironment : public testing::Environment {
public:
    void SetUp() override { session_ = std::make_unique<ImagickSession>(); }
    void TearDown() override { session_.reset(); }

private:
    std::unique_ptr<ImagickSession> session_;
};

testing::Environment* const kImagickEnvironment =
    testing::AddGlobalTestEnvironment(new TImagickEnvironment);

} // namespace
