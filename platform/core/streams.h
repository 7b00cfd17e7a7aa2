#pragma once
// Placeholder: filled by its own change.
#include "platform/core/components.h"
