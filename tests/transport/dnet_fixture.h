#pragma once
#include "fieldbus_fixture.h"
