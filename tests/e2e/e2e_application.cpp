#include "sim/simnet_application.h"

[[maybe_unused]] static ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SimNetApplication);
